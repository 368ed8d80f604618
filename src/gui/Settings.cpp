#include "Settings.h"

namespace kt41::gui {

std::unique_ptr<QSettings> OpenUserSettings() {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                kSettingsOrganization, kSettingsApplication);
    settings->setFallbacksEnabled(false);
    return settings;
}

std::unique_ptr<QSettings> OpenMachineSettings() {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                                kSettingsOrganization, kSettingsApplication);
    settings->setFallbacksEnabled(false);
    return settings;
}

QString GroupPath(const QString& keyPath) {
    QString path = keyPath;
    if (path.startsWith('\\') || path.startsWith('/')) {
        path.remove(0, 1);
    }
    path.replace('\\', '/');
    return path;
}

bool GroupExists(QSettings& settings, const QString& path) {
    settings.beginGroup(GroupPath(path));
    const bool exists = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
    settings.endGroup();
    return exists;
}

} // namespace kt41::gui
