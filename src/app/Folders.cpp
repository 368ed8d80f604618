#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kt41::app {

namespace {

QString Existing(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return EnsureFolder(path) ? QDir::toNativeSeparators(path) : QString();
}

QString Join(const QString& base, const QString& relative) {
    return QDir::toNativeSeparators(QDir(base).filePath(relative));
}

bool HoldsDeliveredFiles(const QString& folder) {
    const QDir dir(folder);
    return !folder.isEmpty() && dir.exists(kTemplateSubfolder) && dir.exists(kConfigSubfolder);
}

} // namespace

QString GetSpecialFolder(int identifier) {
    QString path;
    if (identifier == kFolderPersonal || identifier == kFolderDocuments) {
        path = Existing(QStandardPaths::DocumentsLocation);
    } else if (identifier != kFolderAppData) {
        return {};
    }
    if (path.isEmpty()) {
        path = Existing(QStandardPaths::GenericDataLocation);
    }
    if (path.isEmpty()) {
        path = QDir::toNativeSeparators(QDir::homePath());
    }
    return path;
}

bool EnsureFolder(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).isDir()) {
        return true;
    }
    return QDir().mkpath(path);
}

bool CopyFileIfMissing(const QString& source, const QString& target) {
    if (QFileInfo::exists(target)) {
        return true;
    }
    return QFileInfo(source).isFile() && QFile::copy(source, target);
}

QString ProgramFolder() {
    const QString current = QDir::currentPath();
    if (HoldsDeliveredFiles(current)) {
        return QDir::toNativeSeparators(current);
    }
    // Installed beside bin/; the build tree has a link to data/ in that place.
    const QString installed = QCoreApplication::applicationDirPath() + "/../share/kt41-config";
    if (HoldsDeliveredFiles(installed)) {
        return QDir::toNativeSeparators(QDir(installed).absolutePath());
    }
    return QDir::toNativeSeparators(current);
}

QString ProductFolder(int identifier) {
    return Join(GetSpecialFolder(identifier), "Orvald/Конфигурация KT-41");
}

QString DefaultArchiveFolder() {
    return Join(ProductFolder(kFolderPersonal), "Архивы");
}

QString TemplateFolder() {
    return Join(ProductFolder(kFolderDocuments), kTemplateSubfolder) + QDir::separator();
}

QString DefaultConfigFolder() {
    return Join(ProductFolder(kFolderPersonal), kConfigSubfolder);
}

QString RescueFolder() {
    return Join(ProductFolder(kFolderDocuments), kConfigSubfolder);
}

} // namespace kt41::app
