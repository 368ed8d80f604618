#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kt41::device {

class TKT41;

// Valve drive commands of the manual state.
namespace valve {
inline constexpr std::uint8_t Stop = 0;
inline constexpr std::uint8_t Open = 1;
inline constexpr std::uint8_t Close = 2;
} // namespace valve

// The rules of the manual-control page over the model's manual state, without
// the widgets. The page shows what this class decides:
//  - a contour's drive controls (and, for contours 1 and 2, its pump group)
//    take input exactly while the contour is in manual mode in the model;
//  - a drive direction chosen on the page waits as a request for the next
//    tick; an open or close request stays pending, so it is sent again at
//    every tick while its button is down, and a stop is sent once;
//  - slider movements only mark the outputs as moved; the next tick writes
//    both outputs once, and the model writes nothing when neither changed;
//  - mode and pump switches are written at once; what they return is the
//    value in force afterwards (the model undoes a refused switch).
// Contours and pumps are 1..4, outputs 1..2; other numbers change nothing.
class ManualControl {
public:
    static constexpr int kContours = 4;
    static constexpr int kPumps = 4;
    static constexpr int kOutputs = 2;
    // Output current in tenths of mA.
    static constexpr int kOutputMin = 40;
    static constexpr int kOutputMax = 200;

    explicit ManualControl(TKT41& model);

    // Showing the page: reads the manual state from the controller (a failed
    // read leaves the model's reset values) and forgets every drive request.
    bool ReadState();
    void ClearDriveRequests();

    // The manual-mode box of a contour was set or cleared: writes the mode
    // through and returns the mode in force. A contour that is not in manual
    // mode afterwards gets a stop request.
    bool ChangeManualMode(int contour, bool on);
    bool ManualMode(int contour) const;
    // The contour whose manual mode enables pump 1..4: contour 1 for pumps 1
    // and 2, contour 2 for pumps 3 and 4.
    static int ContourOfPump(int pump);

    // The command a contour's button pair asks for: close while "<<" is
    // down, open while ">>" is down, stop when both are up.
    static std::uint8_t DriveCommand(bool closeDown, bool openDown);
    // Records the command for the next tick.
    void RequestDrive(int contour, std::uint8_t command);
    std::uint8_t ValveRequest(int contour) const;
    bool ValvePending(int contour) const;

    // A pump's radio pair: writes the switch through and returns the switch
    // in force.
    bool ChangePumpSwitch(int pump, bool on);
    bool PumpSwitch(int pump) const;

    // A slider moved (by the user or by the page setting it).
    void AnalogOutMoved() { analogOutDirty_ = true; }
    bool AnalogOutDirty() const { return analogOutDirty_; }

    // One tick of the page's timer: when a slider moved since the last tick,
    // both outputs get the sliders' positions (written when they differ from
    // the model); then every pending drive request is sent, and a request
    // that leaves the contour's command at stop is done.
    void Tick(int output1, int output2);

private:
    static bool ValidContour(int contour) { return contour >= 1 && contour <= kContours; }

    TKT41& model_;
    bool analogOutDirty_ = false;
    std::array<bool, kContours> valvePending_{};
    std::array<std::uint8_t, kContours> valveRequest_{};
};

// The log line written when the connection closes or the program ends while
// contours are in manual mode on the controller (as far as the model knows):
// "Контур 2 остается в ручном режиме." or "Контуры 1, 3 остаются в ручном
// режиме.". Empty when every contour is in automatic mode.
std::string ManualModeLeftText(const TKT41& model);

} // namespace kt41::device
