// Файл / Сравнить с файлом..., Сравнить с прибором: the pages' configuration
// against a file or the controller, in the comparison window.
#include "TForm_Main.h"
#include "config_file/ConfigComparison.h"
#include "config_file/ConfigFile.h"
#include "device/ProgressCodes.h"
#include "device/ProgressTexts.h"
#include "dialogs/TForm_Compare.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"
#include "gui/GridEditing.h"
#include "gui/Prompt.h"
#include "gui/WindowPlacement.h"

#include <QFileInfo>

namespace kt41::app {

namespace {

const QString kPortBusy = "Последовательный порт занят другим приложением ...    ";

} // namespace

void TForm_Main::ShowComparison(const device::TKT41& other, const QString& heading,
                                const QString& source) {
    const config_file::TComparison comparison =
        config_file::CompareConfigurations(Model(), other, gui::DecimalSeparator());
    if (Form_Compare == nullptr) {
        Form_Compare = new dialogs::TForm_Compare(this);
    }
    Form_Compare->ShowComparison(comparison, heading, source);
    LogMessage(comparison.SameSettings()
                   ? "Сравнение настройки: нет различий."
                   : QString("Сравнение настройки: различий %1.").arg(comparison.Settings.size()));
    gui::CenterWindow(*Form_Compare, this);
    Form_Compare->show();
    Form_Compare->raise();
}

void TForm_Main::Compare_FileExecute() {
    gui::FileRequest request = FileOpen1BeforeExecute();
    request.Caption = "Сравнить с файлом";
    const auto path = gui::CurrentPrompt().OpenFile(request);
    if (!path) {
        return;
    }
    device::TKT41 file(*driver_);
    file.NotifyWindow = this; // the reader's format messages
    if (!config_file::LoadFromFile(file, path->toStdString())) {
        LogMessage("Файл для сравнения не загружен ...");
        return;
    }
    ShowComparison(file, "В файле", "Файл: " + QFileInfo(*path).fileName());
}

void TForm_Main::Compare_DeviceExecute() {
    if (!ComPort1.Connected()) {
        return;
    }
    const gui::BlockingOperation busy;
    // A model of its own: the pages and the model behind them stay as they are.
    device::TKT41 controller(*driver_);
    controller.AttachPort(&ComPort1, this);
    controller.Address = Model().Address;
    bool read = false;
    try {
        read = controller.ReadConfiguration();
    } catch (const driver::SerialPortError& error) {
        gui::ShowErrorBox(this, kPortBusy);
        LogMessage(QString::fromStdString(device::PortFaultText(error.Fault(), error.Port())));
    }
    PostProgress(device::progress::IdleAfter, 0);
    if (read) {
        ShowComparison(controller, "В приборе",
                       QString("Прибор с адресом %1").arg(int(controller.Address)));
    }
}

} // namespace kt41::app
