#include "ProductInfo.h"

namespace kt41::gui {

std::optional<ProgramVersion> CompiledVersion() {
#if defined(KT41_VERSION_MAJOR) && defined(KT41_VERSION_MINOR)
    ProgramVersion version;
    version.Major = KT41_VERSION_MAJOR + 0;
    version.Minor = KT41_VERSION_MINOR + 0;
    version.Release = KT41_VERSION_PATCH + 0;
    version.Build = KT41_VERSION_TWEAK + 0;
    return version;
#else
    return std::nullopt;
#endif
}

QString CaptionVersionText(const std::optional<ProgramVersion>& version) {
    const ProgramVersion numbers = version.value_or(ProgramVersion{});
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
