#include "app/StartUp.h"
#include "app/Program.h"
#include "device/Calibration.h"
#include "gui/GeneralError.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

#include <stdexcept>

namespace kt41::app {
namespace {

using testing::GuiTest;

class StartUpTest : public GuiTest {};

// Throws from inside Qt's event delivery.
class Thrower : public QObject {
public:
    int Handled = 0;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::runtime_error("Cell does not contain a float value");
        }
        if (event->type() == QEvent::User + 1) {
            ++Handled;
            return true;
        }
        return QObject::event(event);
    }
};

TEST_F(StartUpTest, AnErrorLeavingAnEventHandlerIsShownAndTheProgramGoesOn) {
    Thrower receiver;
    QEvent boom(QEvent::User);
    QApplication::sendEvent(&receiver, &boom);

    const auto messages = Prompt.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Ошибка");
    EXPECT_EQ(messages[0].Text, "Cell does not contain a float value");
    EXPECT_EQ(messages[0].Icon, gui::PromptIcon::Error);
    EXPECT_TRUE(messages[0].Topmost);

    QEvent next(QEvent::Type(QEvent::User + 1));
    QApplication::sendEvent(&receiver, &next);
    EXPECT_EQ(receiver.Handled, 1);
}

TEST_F(StartUpTest, ARegistryErrorDuringCreationIsShownAndStartUpGoesOn) {
    auto machine = MachineSettings();
    machine->setValue("Install Data/Table_Contur/Col0", 100);
    machine->sync();
    // The user's settings cannot be written: installing the defaults fails.
    const QString userFile = UserSettings()->fileName();
    QFile::remove(userFile);
    QDir().mkpath(userFile);

    auto program = StartProgram();
    QDir(userFile).removeRecursively();

    const auto messages = Prompt.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Failed to create key Table_Contur");
    ASSERT_NE(program->Main().Form_Config, nullptr);
    EXPECT_FALSE(program->Main().Menu_Calibr->menuAction()->isVisible());
}

TEST_F(StartUpTest, DialogsBelongToTheMainWindow) {
    auto program = StartProgram();
    TForm_Main& main = program->Main();
    ASSERT_NE(main.Form_Config, nullptr);
    EXPECT_EQ(main.Form_Config->parentWidget(), &main);
    EXPECT_TRUE(main.Form_Config->isWindow());
    EXPECT_FALSE(main.Form_Config->isVisible());
    EXPECT_EQ(main.Form_Config->windowTitle(), "Настройка");
}

TEST_F(StartUpTest, DemoStartsASimulatedControllerOnTheFirstAndSelectedPort) {
    ProgramStart start = PrepareProgram({"--demo", "-C"});
    ASSERT_NE(start.Demo, nullptr);
    const QString demoPort = start.Demo->PortName();
    EXPECT_EQ(start.Windows.CommandLine, QStringList{"-C"});
    ProgramWindows windows(std::move(start.Windows));
    TForm_Main& main = windows.Main();

    auto* ports = main.Form_Config->findChild<QComboBox*>("ComComboBox1");
    ASSERT_GT(ports->count(), 0);
    EXPECT_EQ(ports->itemText(0), demoPort);
    EXPECT_EQ(ports->currentText(), demoPort);
    EXPECT_EQ(main.ComPort1.PortName, demoPort.toStdString());
    EXPECT_TRUE(main.Menu_Calibr->menuAction()->isVisible()) << "--demo is not the first option";

    // The simulated controller answers whatever address is asked for.
    std::array<std::uint8_t, 2> version{};
    EXPECT_TRUE(main.Model().ConnectDevice(17, version));
    EXPECT_TRUE(main.Model().ReadConfiguration());
    EXPECT_TRUE(main.Memo1->toPlainText().endsWith("Чтение настройки ... Ok."));
    EXPECT_TRUE(Prompt.History.empty());

    // A confirmed calibration prompt connects its resistor: the converter code
    // settles to it.
    PlayDemoReferences(start.Demo.get(), main);
    ASSERT_TRUE(main.ReferenceConfirmed);
    main.ReferenceConfirmed(device::TermReference(0, 2));
    std::uint16_t term = 0;
    std::uint16_t press = 0;
    for (int read = 0; read < 6; ++read) {
        ASSERT_TRUE(main.Model().ReadAdcCodes(term, press));
    }
    EXPECT_NEAR(term, 28950, 12);
}

TEST_F(StartUpTest, WithoutDemoThePortListIsTheMachinesOwn) {
    ProgramStart start = PrepareProgram({"-c"});
    EXPECT_EQ(start.Demo, nullptr);
    EXPECT_TRUE(start.Windows.Config.PreferredPort.isEmpty());
    EXPECT_EQ(start.Windows.CommandLine, QStringList{"-c"});
    EXPECT_NE(start.Windows.Driver, nullptr);
}

} // namespace
} // namespace kt41::app
