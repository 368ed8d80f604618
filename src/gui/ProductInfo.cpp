#include "ProductInfo.h"

namespace kt41::gui {

std::optional<ProgramVersion> CompiledVersion() {
    return version::Current();
}

QString CaptionVersionText(const std::optional<ProgramVersion>& version) {
    const ProgramVersion numbers = version.value_or(ProgramVersion{0, 0, 0, 0});
    return QString("%1.%2").arg(numbers.Major).arg(numbers.Minor);
}

QString VersionLine(const std::optional<ProgramVersion>& version) {
    if (!version) {
        return {};
    }
    return QString::asprintf("Version %d.%d  Release %d Build %d", version->Major, version->Minor,
                             version->Release, version->Build);
}

QString HomePageUrl() {
    return QStringLiteral(KT41_HOME_PAGE);
}

QString SupportMail() {
    return QStringLiteral(KT41_SUPPORT_MAIL);
}

} // namespace kt41::gui
