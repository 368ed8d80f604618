#include "RegistryTree.h"

#include "Settings.h"

namespace kt41::gui {

namespace {

QString Arg(const char* format, const QString& path) {
    return QString(format).arg(path);
}

} // namespace

void CopyRegistryTree(QSettings& source, const QString& sourcePath, QSettings& destination,
                      const QString& destinationPath) {
    const QString from = GroupPath(sourcePath);
    const QString to = GroupPath(destinationPath);
    if (!destination.isWritable()) {
        throw RegistryError(Arg("Failed to create key %1", to));
    }
    if (!GroupExists(source, from)) {
        throw RegistryError(Arg("Failed to create key %1", from));
    }
    if (source.status() != QSettings::NoError) {
        throw RegistryError(Arg("Failed to get data for '%1'", from));
    }
    // allKeys() walks the subkeys too ("Sub/Name"), so one pass copies the tree.
    source.beginGroup(from);
    const QStringList names = source.allKeys();
    for (const QString& name : names) {
        const QVariant value = source.value(name);
        if (!value.isValid()) {
            source.endGroup();
            throw RegistryError(Arg("Failed to get data for '%1'", name));
        }
        destination.setValue(to.isEmpty() ? name : to + "/" + name, value);
    }
    source.endGroup();
    destination.sync();
    if (destination.status() != QSettings::NoError) {
        throw RegistryError(Arg("Failed to set data for '%1'", names.value(0, to)));
    }
}

void CopyDefaultColumnWidths(const QString& section) {
    auto user = OpenUserSettings();
    if (GroupExists(*user, section)) {
        return;
    }
    auto machine = OpenMachineSettings();
    const QString defaults = kInstallDataKey + "/" + section;
    if (GroupExists(*machine, defaults)) {
        CopyRegistryTree(*machine, defaults, *user, section);
    }
}

} // namespace kt41::gui
