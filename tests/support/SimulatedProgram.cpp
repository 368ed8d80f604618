#include "SimulatedProgram.h"

#include "app/StartUp.h"
#include "app/TForm_Main.h"
#include "dialogs/TNew_DeviceForm.h"
#include "driver/ModbusDriver.h"
#include "simulator/PtyServer.h"
#include "simulator/TcpServer.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace kt41::testing {

using namespace std::chrono_literals;

// Counts the Show events of the window it watches.
class SimulatedProgram::ShowCounter : public QObject {
public:
    int Count = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++Count;
        }
        return QObject::eventFilter(watched, event);
    }
};

QStringList LogTexts(app::TForm_Main& main) {
    static const QRegularExpression stamp(
        "^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}  ");
    const QString log = main.Memo1->toPlainText();
    QStringList texts;
    for (const QString& line : log.isEmpty() ? QStringList{} : log.split('\n')) {
        const auto match = stamp.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        texts << line.mid(match.capturedLength());
    }
    return texts;
}

driver::LineTimeouts SimulatedProgram::ShortTimeouts() {
    return {100ms, 20ms, 100ms, 50ms};
}

SimulatedProgram::SimulatedProgram(Options options) : Controller(options.Controller) {
    if (options.Transport == Line::Pty) {
        Pty = std::make_unique<sim::PtyServer>(Controller);
    } else {
        Tcp = std::make_unique<sim::TcpServer>(Controller);
    }
    const QString line = PortName();
    auto driver = std::make_unique<driver::ModbusDriver>();
    driver->SetTimeouts(ShortTimeouts());

    app::ProgramWindows::Options windows;
    windows.Driver = std::move(driver);
    windows.CommandLine = options.CommandLine;
    const QStringList ports = options.Ports.value_or(QStringList{line});
    windows.Config.ListPorts = [ports] { return ports; };
    if (ports.contains(line)) {
        windows.Config.PreferredPort = line;
    }
    Windows = std::make_unique<app::ProgramWindows>(std::move(windows));

    showCounter_ = std::make_unique<ShowCounter>();
    AddressDialog().installEventFilter(showCounter_.get());
    dialogWatch_.setInterval(1);
    QObject::connect(&dialogWatch_, &QTimer::timeout, [this] { AnswerIfShown(); });
}

SimulatedProgram::~SimulatedProgram() {
    dialogWatch_.stop();
    Windows.reset(); // the port closes before the line goes
}

int SimulatedProgram::AddressDialogShown() const {
    return showCounter_->Count;
}

app::TForm_Main& SimulatedProgram::Main() {
    return Windows->Main();
}

dialogs::TNew_DeviceForm& SimulatedProgram::AddressDialog() {
    return *Main().New_DeviceForm;
}

QString SimulatedProgram::PortName() const {
    return QString::fromStdString(Pty ? Pty->SlavePath() : Tcp->PortName());
}

void SimulatedProgram::WhenAddressDialogShows(
    std::function<void(dialogs::TNew_DeviceForm&)> answer) {
    // The dialog runs its own event loop; the answer comes from inside it.
    pendingAnswer_ = std::move(answer);
    dialogWatch_.start();
}

void SimulatedProgram::AnswerIfShown() {
    dialogs::TNew_DeviceForm& dialog = AddressDialog();
    if (!pendingAnswer_ || !dialog.isVisible()) {
        return;
    }
    dialogWatch_.stop();
    auto answer = std::move(pendingAnswer_);
    pendingAnswer_ = nullptr;
    answer(dialog);
}

void SimulatedProgram::AnswerAddressDialog(const QString& typed) {
    WhenAddressDialogShows([typed](dialogs::TNew_DeviceForm& dialog) {
        if (!typed.isEmpty()) {
            dialog.MaskEdit1->selectAll();
            QTest::keyClicks(dialog.MaskEdit1, typed);
        }
        QTest::keyClick(dialog.MaskEdit1, Qt::Key_Return);
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1) << "Enter moves the focus on to Есть";
        QTest::keyClick(dialog.Button1, Qt::Key_Return);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the address dialog refused "
                          << dialog.MaskEdit1->displayText().toStdString();
            dialog.reject();
        }
    });
}

void SimulatedProgram::CancelAddressDialog() {
    WhenAddressDialogShows([](dialogs::TNew_DeviceForm& dialog) {
        QTest::keyClick(dialog.MaskEdit1, Qt::Key_Escape);
    });
}

void SimulatedProgram::Unplug() {
    Pty.reset();
    Tcp.reset();
}

} // namespace kt41::testing
