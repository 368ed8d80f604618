#include "app/Folders.h"
#include "app/StartUp.h"
#include "app/TForm_Config.h"
#include "support/FakeControllerDriver.h"
#include "support/GuiTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace kt41::app {
namespace {

using testing::GuiTest;

// The controls of the settings dialog, found by name.
struct ConfigControls {
    explicit ConfigControls(TForm_Config& d)
        : Dialog(d), Port(d.findChild<QComboBox*>("ComComboBox1")),
          Dtr(d.findChild<QComboBox*>("ComboBox_DTR")),
          Rts(d.findChild<QComboBox*>("ComboBox_RTS")),
          Count(d.findChild<QSpinBox*>("SpinEdit_AmountMeasure")),
          ConfigFolder(d.findChild<QLineEdit*>("Edit_SavePath")),
          ArchiveFolder(d.findChild<QLineEdit*>("Edit_SavePathArx")),
          ZeroNumID(d.findChild<QCheckBox*>("CheckBox_ZeroNumID")),
          ReadConfig(d.findChild<QCheckBox*>("CheckBox_ReadConfig")),
          Ok(d.findChild<QPushButton*>("Button1")), Cancel(d.findChild<QPushButton*>("Button2")),
          Apply(d.findChild<QPushButton*>("Button3")) {}

    TForm_Config& Dialog;
    QComboBox* Port;
    QComboBox* Dtr;
    QComboBox* Rts;
    QSpinBox* Count;
    QLineEdit* ConfigFolder;
    QLineEdit* ArchiveFolder;
    QCheckBox* ZeroNumID;
    QCheckBox* ReadConfig;
    QPushButton* Ok;
    QPushButton* Cancel;
    QPushButton* Apply;
};

class SettingsDialogTest : public GuiTest {
protected:
    static const QStringList& EightValues() {
        static const QStringList names{"ComPort",   "DTR",        "RTS",       "Savepath_Arx",
                                       "Save_path", "ReadConfig", "ZeroNumID", "amount_measure"};
        return names;
    }
    static QString Native(const QString& path) { return QDir::toNativeSeparators(path); }
    QString Product() const { return Documents() + "/Orvald/Конфигурация KT-41"; }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QFile::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(SettingsDialogTest, FirstStartShowsDefaultsPreparesFoldersAndStoresNothing) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    ConfigControls c(*main.Form_Config);

    EXPECT_EQ(c.ConfigFolder->text(), Native(Product() + "/CNF"));
    EXPECT_EQ(c.ArchiveFolder->text(), Native(Product() + "/Архивы"));
    EXPECT_EQ(c.Dtr->currentText(), "Нет");
    EXPECT_EQ(c.Rts->currentText(), "Нет");
    EXPECT_FALSE(c.ZeroNumID->isChecked());
    EXPECT_FALSE(c.ReadConfig->isChecked());
    EXPECT_EQ(c.Count->value(), 16);
    EXPECT_EQ(c.Port->currentIndex(), -1);
    EXPECT_EQ(main.ComPort1.PortName, "");

    EXPECT_EQ(main.Settings.ConfigFolder, c.ConfigFolder->text());
    EXPECT_EQ(main.Settings.ArchiveFolder, c.ArchiveFolder->text());
    EXPECT_TRUE(main.Settings.PortsPresent);
    EXPECT_EQ(main.Settings.AmountMeasure, 16);

    EXPECT_TRUE(QDir(Product() + "/Архивы").exists());
    EXPECT_TRUE(QDir(Product() + "/CNF").exists());
    const QString copiedTemplate = Product() + "/Шаблоны_Архива/Архив KT-41.xltx";
    const QString copiedRescue = Product() + "/CNF/R50_№ Rescue.c50";
    EXPECT_EQ(Contents(copiedTemplate),
              Contents(ProgramDir() + "/Шаблоны_Архива/Шаблон Orvald.xltx"));
    EXPECT_EQ(Contents(copiedRescue), Contents(ProgramDir() + "/CNF/R50_№ Rescue.c50"));
    EXPECT_FALSE(Contents(copiedRescue).isEmpty());

    auto settings = UserSettings();
    for (const QString& name : EightValues()) {
        EXPECT_FALSE(settings->contains(name)) << name.toStdString();
    }
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(SettingsDialogTest, FirstRunCopiesNeverOverwriteAndMissingSourcesAreSkipped) {
    const QString copiedRescue = Product() + "/CNF/R50_№ Rescue.c50";
    QDir().mkpath(Product() + "/CNF");
    {
        QFile mine(copiedRescue);
        ASSERT_TRUE(mine.open(QFile::WriteOnly));
        mine.write("mine");
    }
    QFile::remove(ProgramDir() + "/Шаблоны_Архива/Шаблон Orvald.xltx");

    auto program = StartProgram();

    EXPECT_EQ(Contents(copiedRescue), "mine");
    EXPECT_TRUE(QDir(Product() + "/Шаблоны_Архива").exists());
    EXPECT_FALSE(QFile::exists(Product() + "/Шаблоны_Архива/Архив KT-41.xltx"));
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(SettingsDialogTest, OkStoresEverythingButLeavesPortAndFoldersUntilNextStart) {
    UserSettings()->setValue("ComPort", "COM1");
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    ConfigControls c(*main.Form_Config);
    ASSERT_EQ(main.ComPort1.PortName, "COM1");
    const QString folderBefore = main.Settings.ConfigFolder;

    c.Port->setCurrentText("COM3");
    c.Dtr->setCurrentText("Да");
    c.ConfigFolder->setText("/typed/cnf");
    c.ZeroNumID->setChecked(true);
    c.Count->setValue(40);
    main.Form_Config->Button1Click();

    auto settings = UserSettings();
    EXPECT_EQ(settings->value("ComPort").toString(), "COM3");
    EXPECT_EQ(settings->value("DTR").toString(), "Да");
    EXPECT_EQ(settings->value("RTS").toString(), "Нет");
    EXPECT_EQ(settings->value("Save_path").toString(), "/typed/cnf");
    EXPECT_EQ(settings->value("Savepath_Arx").toString(), c.ArchiveFolder->text());
    EXPECT_EQ(settings->value("ZeroNumID").toInt(), 1);
    EXPECT_EQ(settings->value("ReadConfig").toInt(), 0);
    EXPECT_EQ(settings->value("amount_measure").toInt(), 40);
    EXPECT_FALSE(QDir("/typed/cnf").exists()); // stored as typed, not created

    EXPECT_EQ(main.ComPort1.PortName, "COM1");
    EXPECT_FALSE(main.ComPort1.Dtr);
    EXPECT_EQ(main.Settings.ConfigFolder, folderBefore);
    EXPECT_TRUE(main.Settings.ZeroNumID);
    EXPECT_EQ(main.Settings.AmountMeasure, 40);

    // The next start takes the stored port, but DTR waits for Применить.
    program.reset();
    program = StartProgram();
    TForm_Main& again = program->Main();
    ConfigControls d(*again.Form_Config);
    EXPECT_EQ(again.ComPort1.PortName, "COM3");
    EXPECT_EQ(d.Dtr->currentText(), "Да");
    EXPECT_FALSE(again.ComPort1.Dtr);
    EXPECT_EQ(again.Settings.ConfigFolder, "/typed/cnf");
    EXPECT_TRUE(d.ZeroNumID->isChecked());
}

TEST_F(SettingsDialogTest, ApplySetsPortAndFoldersAndStoresAndCancelUndoesNothingAfterIt) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    ConfigControls c(*main.Form_Config);

    EXPECT_FALSE(c.Apply->isEnabled());
    c.ArchiveFolder->setText("/typed/arx");
    EXPECT_FALSE(c.Apply->isEnabled()) << "typing in a folder field enables nothing";
    c.Port->setCurrentText("COM3");
    c.Dtr->setCurrentText("Да");
    c.Rts->setCurrentText("Да");
    EXPECT_TRUE(c.Apply->isEnabled());
    EXPECT_TRUE(c.Ok->isEnabled());

    main.Form_Config->Button3Click();
    EXPECT_EQ(main.ComPort1.PortName, "COM3");
    EXPECT_TRUE(main.ComPort1.Dtr);
    EXPECT_TRUE(main.ComPort1.Rts);
    EXPECT_EQ(main.Settings.ArchiveFolder, "/typed/arx");
    EXPECT_EQ(UserSettings()->value("Savepath_Arx").toString(), "/typed/arx");
    EXPECT_EQ(UserSettings()->value("ComPort").toString(), "COM3");
    EXPECT_FALSE(c.Apply->isEnabled());

    main.Form_Config->Button2Click();
    EXPECT_EQ(c.Port->currentText(), "COM3");
    EXPECT_EQ(c.ArchiveFolder->text(), "/typed/arx");
    EXPECT_EQ(main.ComPort1.PortName, "COM3");
    EXPECT_EQ(UserSettings()->value("DTR").toString(), "Да");
}

TEST_F(SettingsDialogTest, CancelShowsStoredValuesAgainAndGivesThePortTheStoredName) {
    UserSettings()->setValue("ComPort", "COM1");
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    ConfigControls c(*main.Form_Config);

    c.Port->setCurrentText("COM3");
    c.ReadConfig->setChecked(true);
    c.Count->setValue(77);
    main.ComPort1.PortName = "changed elsewhere";
    main.Form_Config->reject(); // Esc or the close button: the same as Отмена

    EXPECT_EQ(c.Port->currentText(), "COM1");
    EXPECT_FALSE(c.ReadConfig->isChecked());
    EXPECT_EQ(c.Count->value(), 16);
    EXPECT_EQ(main.ComPort1.PortName, "COM1");
    EXPECT_FALSE(c.Apply->isEnabled());
    EXPECT_FALSE(UserSettings()->contains("ReadConfig"));
}

TEST_F(SettingsDialogTest, MeasurementCountIsBroughtIntoItsRange) {
    const struct {
        QVariant Stored;
        int Shown;
    } cases[] = {{500, 100}, {3, 16}, {40, 40}, {QVariant(), 16}, {"junk", 16}};
    for (const auto& row : cases) {
        if (row.Stored.isValid()) {
            UserSettings()->setValue("amount_measure", row.Stored);
        } else {
            UserSettings()->remove("amount_measure");
        }
        auto program = StartProgram();
        ConfigControls c(*program->Main().Form_Config);
        EXPECT_EQ(c.Count->value(), row.Shown) << row.Stored.toString().toStdString();
        EXPECT_EQ(program->Main().Settings.AmountMeasure, row.Shown);
    }
}

TEST_F(SettingsDialogTest, AnEmptiedFolderStaysEmptyAtTheNextStart) {
    auto program = StartProgram();
    ConfigControls c(*program->Main().Form_Config);
    c.ArchiveFolder->clear();
    program->Main().Form_Config->Button1Click();
    QDir(Documents()).removeRecursively();

    program = StartProgram();
    ConfigControls d(*program->Main().Form_Config);
    EXPECT_EQ(d.ArchiveFolder->text(), "");
    EXPECT_EQ(program->Main().Settings.ArchiveFolder, "");
    EXPECT_FALSE(QDir(Product() + "/Архивы").exists()) << "no first-run steps for a stored value";
    EXPECT_FALSE(QDir(Product() + "/CNF").exists()) << "Save_path was stored too";
}

TEST_F(SettingsDialogTest, PortsThatAreGoneOrMissingSelectNothing) {
    UserSettings()->setValue("ComPort", "COM9");
    auto program = StartProgram({}, {"COM1", "COM3"});
    ConfigControls c(*program->Main().Form_Config);
    EXPECT_EQ(c.Port->currentIndex(), -1);
    EXPECT_EQ(program->Main().ComPort1.PortName, "");
    EXPECT_TRUE(program->Main().Settings.PortsPresent);

    program = StartProgram({}, {});
    EXPECT_EQ(program->Main().ComPort1.PortName, "");
    EXPECT_FALSE(program->Main().Settings.PortsPresent);
}

TEST_F(SettingsDialogTest, PortListIsReadAgainWhenItDropsDown) {
    UserSettings()->setValue("ComPort", "COM3");
    QStringList present{"COM1", "COM3"};
    ProgramWindows::Options options;
    options.Driver = std::make_unique<testing::FakeControllerDriver>();
    options.Config.ListPorts = [&present] {
        if (present.contains("broken")) {
            throw std::runtime_error("port service failed");
        }
        return present;
    };
    ProgramWindows program(std::move(options));
    ConfigControls c(*program.Main().Form_Config);

    present = {"COM2", "COM3", "COM4"};
    program.Main().Form_Config->ComComboBox1DropDown();
    EXPECT_EQ(c.Port->count(), 3);
    EXPECT_EQ(c.Port->currentText(), "COM3");
    EXPECT_FALSE(c.Apply->isEnabled());

    present = {"broken"};
    program.Main().Form_Config->ComComboBox1DropDown();
    EXPECT_EQ(c.Port->count(), 0);
    EXPECT_FALSE(program.Main().Settings.PortsPresent);
    EXPECT_TRUE(Prompt.History.empty());
}

TEST_F(SettingsDialogTest, PreferredPortIsSelectedWhateverIsStored) {
    UserSettings()->setValue("ComPort", "COM1");
    ProgramWindows::Options options;
    options.Driver = std::make_unique<testing::FakeControllerDriver>();
    options.Config.ListPorts = [] { return QStringList{"/dev/pts/7", "COM1"}; };
    options.Config.PreferredPort = "/dev/pts/7";
    ProgramWindows program(std::move(options));
    EXPECT_EQ(program.Main().ComPort1.PortName, "/dev/pts/7");
}

TEST_F(SettingsDialogTest, BrowseStartsAtTheFieldAndTakesTheChosenFolder) {
    auto program = StartProgram();
    ConfigControls c(*program->Main().Form_Config);
    const QString before = c.ConfigFolder->text();

    Prompt.FolderAnswers = {std::nullopt, QString("/chosen")};
    program->Main().Form_Config->BrowseConfigFolder();
    EXPECT_EQ(c.ConfigFolder->text(), before);
    EXPECT_FALSE(c.Apply->isEnabled());
    program->Main().Form_Config->BrowseConfigFolder();
    EXPECT_EQ(c.ConfigFolder->text(), "/chosen");
    EXPECT_TRUE(c.Apply->isEnabled());

    ASSERT_EQ(Prompt.History.size(), 2u);
    EXPECT_EQ(Prompt.History[0].Folder.StartFolder, before);
    EXPECT_EQ(Prompt.History[0].Folder.Owner, program->Main().Form_Config);
}

TEST_F(SettingsDialogTest, TypedPortNamesAreTakenAndOnlyGatewaysListedAgain) {
    const struct {
        const char* Typed;
        bool ListedAfterRestart;
    } cases[] = {{"tcp://10.0.0.5:502", true}, {"/dev/pts/9", false}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Typed);
        UserSettings()->clear();
        auto program = StartProgram({}, {});
        TForm_Main& main = program->Main();
        ConfigControls c(*main.Form_Config);
        ASSERT_FALSE(main.Settings.PortsPresent);

        c.Port->setEditText(row.Typed);
        EXPECT_TRUE(c.Apply->isEnabled()) << "typing is a change of the port list";
        c.Apply->click();
        EXPECT_EQ(main.ComPort1.PortName, row.Typed);
        EXPECT_TRUE(main.Settings.PortsPresent);
        EXPECT_EQ(c.Port->findText(row.Typed), c.Port->currentIndex());
        EXPECT_EQ(UserSettings()->value("ComPort").toString(), row.Typed);

        program = StartProgram({}, {});
        ConfigControls again(*program->Main().Form_Config);
        EXPECT_EQ(again.Port->findText(row.Typed) >= 0, row.ListedAfterRestart);
        EXPECT_EQ(program->Main().Settings.PortsPresent, row.ListedAfterRestart);
        EXPECT_EQ(program->Main().ComPort1.PortName, row.ListedAfterRestart ? row.Typed : "");
    }
}

TEST_F(SettingsDialogTest, LineSpeedAndBackupAreStoredAndTheSpeedGoesWithThePort) {
    {
        auto program = StartProgram();
        TForm_Main& main = program->Main();
        auto* speed = main.Form_Config->findChild<QComboBox*>("ComboBox_Speed");
        auto* backup = main.Form_Config->findChild<QCheckBox*>("CheckBox_Backup");
        ASSERT_NE(speed, nullptr);
        ASSERT_NE(backup, nullptr);
        EXPECT_EQ(speed->currentText(), "9600");
        EXPECT_EQ(backup->text(), "Сохранять копию настройки прибора перед записью");
        EXPECT_TRUE(backup->isChecked());
        EXPECT_TRUE(main.Settings.BackupBeforeWrite);
        EXPECT_EQ(main.ComPort1.BaudRate, 9600u);

        speed->setCurrentText("19200");
        backup->setChecked(false);
        EXPECT_TRUE(main.Form_Config->findChild<QPushButton*>("Button3")->isEnabled());
        main.Form_Config->Button3Click();
        EXPECT_EQ(main.ComPort1.BaudRate, 19200u);
        EXPECT_FALSE(main.Settings.BackupBeforeWrite);
        EXPECT_EQ(UserSettings()->value("BaudRate").toInt(), 19200);
        EXPECT_EQ(UserSettings()->value("BackupBeforeWrite").toInt(), 0);
    }
    // The next start opens the line at the stored speed.
    auto program = StartProgram();
    EXPECT_EQ(program->Main().ComPort1.BaudRate, 19200u);
    EXPECT_FALSE(program->Main().Settings.BackupBeforeWrite);
}

} // namespace
} // namespace kt41::app
