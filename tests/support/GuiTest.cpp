#include "GuiTest.h"

#include "app/Application.h"
#include "app/StartUp.h"
#include "gui/Settings.h"
#include "support/FakeControllerDriver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kt41::testing {

namespace {

QTemporaryDir& Root() {
    static QTemporaryDir root;
    return root;
}

void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir()) {
            CopyTree(entry.filePath(), target);
        } else {
            QFile::copy(entry.filePath(), target);
        }
    }
}

void ClearSettings(std::unique_ptr<QSettings> settings) {
    settings->clear();
    settings->sync();
}

} // namespace

QString GuiTest::TempRoot() {
    return Root().path();
}

void GuiTest::SetUpTestSuite() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    const QString root = TempRoot();
    const QString home = root + "/home";
    QDir().mkpath(home);
    QDir().mkpath(root + "/runtime");
    QFile::setPermissions(root + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + "/settings/user");
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, root + "/settings/system");
    static int argc = 1;
    static char name[] = "kt41-gui-tests";
    static char* argv[] = {name, nullptr};
    new app::Application(argc, argv); // lives for the whole test process
}

void GuiTest::SetUp() {
    ClearSettings(UserSettings());
    ClearSettings(MachineSettings());
    QDir(Home()).removeRecursively();
    QDir().mkpath(Home());
    static int count = 0;
    programDir_ = TempRoot() + "/program" + QString::number(++count);
    CopyTree(QStringLiteral(KT41_SOURCE_DATA_DIR), programDir_);
    QDir::setCurrent(programDir_);
}

void GuiTest::TearDown() {
    QDir::setCurrent(TempRoot());
    QDir(programDir_).removeRecursively();
}

QString GuiTest::Home() const {
    return TempRoot() + "/home";
}

QString GuiTest::Documents() const {
    return Home() + "/Documents";
}

std::unique_ptr<QSettings> GuiTest::UserSettings() {
    return gui::OpenUserSettings();
}

std::unique_ptr<QSettings> GuiTest::MachineSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                       gui::kSettingsOrganization, gui::kSettingsApplication);
}

std::unique_ptr<app::ProgramWindows> GuiTest::StartProgram(const QStringList& commandLine,
                                                           const QStringList& ports) {
    app::ProgramWindows::Options options;
    options.Driver = std::make_unique<FakeControllerDriver>();
    options.CommandLine = commandLine;
    options.Config.ListPorts = [ports] { return ports; };
    return std::make_unique<app::ProgramWindows>(std::move(options));
}

} // namespace kt41::testing
