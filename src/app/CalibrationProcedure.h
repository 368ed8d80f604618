#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace kt41::device {
struct CalibrationReference;
}

namespace kt41::app {

class TForm_Main;

// The two calibration procedures of the main window, each one modal sequence
// over the thermometer-type window, the prompt window and the converter-code
// monitor: for each of two reference points a prompt to connect the source,
// then the monitor's samples, averaged. The two means, made integers, are
// stored in the model and written to the controller. A cancel anywhere ends
// the procedure without changing the model or the controller; a failed write
// keeps the new values in the model.
class CalibrationProcedure {
public:
    explicit CalibrationProcedure(TForm_Main& main) : main_(main) {}

    // Calibr_TermExecute: type, -20 °C, 120 °C.
    void Temperature();
    // Calibr_PressExecute: 4 mA, 20 mA.
    void Pressure();

private:
    // The index chosen in the thermometer-type window; nothing on cancel.
    std::optional<int> ChooseThermometerType();
    // Shows a prompt; true when the engineer continued. The reference is then
    // reported through TForm_Main::ReferenceConfirmed.
    bool Prompt(const std::vector<std::string>& lines,
                const device::CalibrationReference& reference);
    // The mean code of one point on a channel; nothing when the monitor was
    // cancelled or a read failed. A caption is set for the first point only.
    std::optional<double> Measure(int point, int channel, const QString& caption);
    // Progress 49 is posted by the caller; writes the calibration block and
    // posts 19 with the outcome.
    void Write();

    TForm_Main& main_;
};

} // namespace kt41::app
