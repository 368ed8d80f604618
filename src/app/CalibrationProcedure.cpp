#include "CalibrationProcedure.h"

#include "TForm_Main.h"
#include "device/Calibration.h"
#include "device/CodeMonitor.h"
#include "device/ProgressCodes.h"
#include "dialogs/TForm_Dialog.h"
#include "dialogs/TForm_KodiCalibr.h"
#include "dialogs/TForm_Sel.h"
#include "driver/SerialPortError.h"
#include "gui/BlockingOperation.h"
#include "gui/Prompt.h"
#include "gui/WindowPlacement.h"

namespace kt41::app {

namespace {

namespace progress = device::progress;
using device::CodeMonitor;

const QString kTypeCaption = "Выбор типа термометра";
const QString kTermCaption = "Калиб-ка термометра";
const QString kPressCaption = "Калиб-ка давления";
const QString kFaultyCaption = "Неисправность канала температуры …";
const QString kFaultyText =
    "    Неисправен канал температуры, дальнейшая калибровка канала     \r\n"
    "температуры не возможна!!!\r\n\r\n"
    "   Проверьте подключение сопротивлений  или отремонтируйте регулятор.";

// Posts the closing idle code however the procedure ends.
class IdleAtEnd {
public:
    explicit IdleAtEnd(TForm_Main& main) : main_(main) {}
    ~IdleAtEnd() { main_.PostProgress(progress::IdleAfter, 0); }
    IdleAtEnd(const IdleAtEnd&) = delete;
    IdleAtEnd& operator=(const IdleAtEnd&) = delete;

private:
    TForm_Main& main_;
};

} // namespace

void CalibrationProcedure::Temperature() {
    main_.PostProgress(progress::TermCalibrationStart, 0);
    const IdleAtEnd idle(main_);
    const std::optional<int> type = ChooseThermometerType();
    if (!type) {
        return;
    }
    if (!Prompt(device::TermPromptLines(*type, 1), device::TermReference(*type, 1))) {
        return;
    }
    const std::optional<double> m1 = Measure(1, CodeMonitor::Temperature, kTermCaption);
    if (!m1) {
        return;
    }
    if (!device::FirstTermPointUsable(*m1)) {
        gui::MessageRequest box;
        box.Caption = kFaultyCaption;
        box.Text = kFaultyText;
        box.Icon = gui::PromptIcon::Warning;
        box.Topmost = true;
        box.Owner = &main_;
        gui::CurrentPrompt().Message(box);
        return;
    }
    if (!Prompt(device::TermPromptLines(*type, 2), device::TermReference(*type, 2))) {
        return;
    }
    const std::optional<double> m2 = Measure(2, CodeMonitor::Temperature, {});
    if (!m2) {
        return;
    }
    main_.PostProgress(progress::WriteCalibrationStart, 0);
    device::TKT41& model = main_.Model();
    model.SetTermCalibration(device::CalibrationValue(*m1), device::CalibrationValue(*m2));
    model.CalibrTemperatureAndPressure.Type_T = std::uint8_t(*type);
    Write();
    // The inputs page shows the thermometer type whatever the write's outcome.
    if (pages::MainWindowPage* inputs = main_.PageStepsAt(TForm_Main::kPageInputs)) {
        inputs->ShowModel();
    }
}

void CalibrationProcedure::Pressure() {
    main_.PostProgress(progress::PressCalibrationStart, 0);
    const IdleAtEnd idle(main_);
    if (!Prompt(device::PressPromptLines(1), device::PressReference(1))) {
        return;
    }
    const std::optional<double> p1 = Measure(1, CodeMonitor::Pressure, kPressCaption);
    if (!p1 || !Prompt(device::PressPromptLines(2), device::PressReference(2))) {
        return;
    }
    const std::optional<double> p2 = Measure(2, CodeMonitor::Pressure, {});
    if (!p2) {
        return;
    }
    main_.PostProgress(progress::WriteCalibrationStart, 0);
    main_.Model().SetPressCalibration(device::CalibrationValue(*p1), device::CalibrationValue(*p2));
    Write();
}

std::optional<int> CalibrationProcedure::ChooseThermometerType() {
    dialogs::TForm_Sel* window = main_.Form_Sel;
    if (window == nullptr) {
        return std::nullopt;
    }
    QStringList choices;
    for (const std::string& text : device::ThermometerChoiceTexts()) {
        choices << QString::fromStdString(text);
    }
    window->setWindowTitle(kTypeCaption);
    window->PrepareChoices(choices, main_.Model().CalibrTemperatureAndPressure.Type_T);
    gui::CenterWindow(*window, &main_);
    window->exec();
    if (!window->Accepted()) {
        return std::nullopt;
    }
    return window->ChosenIndex();
}

bool CalibrationProcedure::Prompt(const std::vector<std::string>& lines,
                                  const device::CalibrationReference& reference) {
    dialogs::TForm_Dialog* window = main_.Form_Dialog;
    if (window == nullptr) {
        return false;
    }
    window->SetLines(lines);
    gui::CenterWindow(*window, &main_);
    if (window->exec() != dialogs::TForm_Dialog::kModalResultOk) {
        return false;
    }
    if (main_.ReferenceConfirmed) {
        main_.ReferenceConfirmed(reference);
    }
    return true;
}

std::optional<double> CalibrationProcedure::Measure(int point, int channel,
                                                    const QString& caption) {
    dialogs::TForm_KodiCalibr* window = main_.Form_KodiCalibr;
    if (window == nullptr) {
        return std::nullopt;
    }
    gui::CenterWindow(*window, &main_);
    if (!caption.isEmpty()) {
        window->setWindowTitle(caption);
    }
    window->PointNumber = point;
    window->Channel = channel;
    if (window->exec() != dialogs::TForm_KodiCalibr::kModalResultOk) {
        return std::nullopt;
    }
    return device::MeanCode(window->Monitor.Samples());
}

void CalibrationProcedure::Write() {
    const gui::BlockingOperation busy;
    bool ok = false;
    try {
        ok = main_.Model().WriteCalibration();
    } catch (const driver::SerialPortError& error) {
        ShowPortError(main_, error);
    }
    main_.PostProgress(progress::WriteCalibrationDone, device::OutcomeParam(ok));
}

} // namespace kt41::app
