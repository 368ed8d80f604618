#pragma once

#include "BlockCodec.h"
#include "ConfigWriteProgress.h"
#include "Options.h"
#include "Records.h"
#include "driver/Kt41Driver.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kt41::device {

// The in-memory image of one KT-41 controller and every operation that moves it
// to and from the controller. Exactly one instance exists in the program; pages
// and dialogs read and change it directly. Numbers of contours (1..4),
// thermometer inputs (1..6), 4-20 mA inputs (1..4), pumps (1..4) and analog
// outputs (1..2) are 1-based, as the user counts them.
//
// Every controller operation runs to completion on the caller's thread, passes
// Address as the first driver argument and returns a success flag. A
// SerialPortError raised by the driver leaves the configuration operations at
// once and reaches the caller; only ReadCurrentData and ReadAdcCodes turn it
// into a failed read.
class TKT41 {
public:
    explicit TKT41(driver::Kt41Driver& driver);
    ~TKT41();
    TKT41(const TKT41&) = delete;
    TKT41& operator=(const TKT41&) = delete;

    // Fields, in the controller's order.
    driver::ComPort* PortRef = nullptr;
    driver::ProgressSink* NotifyWindow = nullptr; // null: no notifications
    std::uint8_t Address = 0;
    TParamContur Contour1;
    TParamContur Contour2;
    TParamConturEx Contour3;
    TParamConturEx Contour4;
    TParamDevice ParamDevice;
    TParamManual Manual;
    TCalibrTermDav CalibrTemperatureAndPressure;
    std::array<TInputTerm, 6> Input_T{};
    std::array<TInputAnalog, 4> Input_P{};

    // Zeroes every record; PortRef, NotifyWindow and Address stay.
    void Reset();

    // Stores the port and the notification receiver and hands both to the driver.
    void AttachPort(driver::ComPort* port, driver::ProgressSink* window);
    // Sends a progress code synchronously to NotifyWindow, if there is one.
    void Notify(int code, std::uint32_t lParam) const;

    // --- contour type and parameters -------------------------------------------
    // 0 when the stored type is above 5 or the contour is not 1..4.
    std::uint8_t GetContourType(int contour) const;
    // Stores the type (4 and 5 become 0 on contours 3 and 4). Type 2 lowers a
    // two-channel FeedMode (3, 4) to its one-channel twin (1, 2). Returns the
    // contour's FeedMode afterwards, 0 for another contour number.
    std::uint8_t SetContourType(int contour, std::uint8_t type);
    // Stores the value cut to the field's width; no range check. Members the
    // reduced record lacks are ignored on contours 3 and 4.
    void SetContourParam(int contour, TConturOpt option, std::int32_t value);
    // The raw field value (signed fields as signed); nullopt when the contour
    // or member does not exist.
    std::optional<std::int32_t> GetContourParam(int contour, TConturOpt option) const;

    // --- device parameters -------------------------------------------------------
    // The selector's low 7 bits choose the member; above 19 nothing changes.
    void SetDeviceParam(int selector, std::int16_t value);
    std::optional<std::int32_t> GetDeviceParam(int selector) const;

    // --- inputs ------------------------------------------------------------------
    // column: 0 Contour, 1 Func (then the thermometer alarm rule), 2 Alarm.
    void SetInputParam(int input, int column, std::uint8_t value);
    // column: 0 Contour, 1 Func (then the analog derivation rule), 2 Alarm,
    // 3 MaxVal clamped to 0..65535.
    void SetAnalogInputParam(int input, int column, std::int32_t value);
    std::uint8_t GetInputFunc(int input) const;        // 0 outside 1..6
    std::uint8_t GetAnalogInputFunc(int input) const;  // 0 outside 1..4
    std::uint8_t GetAnalogInputAlarm(int input) const; // 2 outside 1..4
    std::uint8_t GetAnalogInputType(int input) const;  // 1 outside 1..4

    // --- schedules, calendars, pump groups ----------------------------------------
    std::uint16_t GetWeekOnTlow(int contour) const; // contours 1, 2; else 0
    void SetWeekOnTlow(int contour, std::uint8_t flag);
    std::uint16_t GetWeekOnPump(int contour) const;
    void SetWeekOnPump(int contour, std::uint8_t flag);
    bool GetSchedule(int contour, std::array<std::int16_t, 8>& tout,
                     std::array<std::int16_t, 8>& tin, std::array<std::int16_t, 8>& tback,
                     std::uint16_t& points) const;
    void SetSchedule(int contour, const std::array<std::int16_t, 8>& tout,
                     const std::array<std::int16_t, 8>& tin,
                     const std::array<std::int16_t, 8>& tback, std::uint16_t points);
    bool GetTlowCalendar(int contour, TWeekCalendar& calendar) const;
    void SetTlowCalendar(int contour, const TWeekCalendar& calendar);
    bool GetPumpCalendar(int contour, TWeekCalendar& calendar) const;
    void SetPumpCalendar(int contour, const TWeekCalendar& calendar);
    bool GetPumpGroup(int contour, TPumpGroup& group) const; // contours 1..4
    void SetPumpGroup(int contour, const TPumpGroup& group);

    // --- calibration coefficients --------------------------------------------------
    void SetTermCalibration(std::uint16_t k1, std::uint16_t k2);
    void SetPressCalibration(std::uint16_t k1, std::uint16_t k2);

    // --- manual state (no traffic) -------------------------------------------------
    std::uint8_t GetManualMode(int contour) const;   // 0 outside 1..4
    std::uint8_t GetValveCommand(int contour) const; // 0 outside 1..4
    std::uint8_t GetPumpSwitch(int pump) const;      // 0 outside 1..4
    std::uint16_t GetAnalogOutput(int output) const; // 40 outside 1..2

    // --- connection and configuration --------------------------------------------
    // version receives the firmware version low byte first; no notification.
    bool ConnectDevice(std::uint8_t address, std::array<std::uint8_t, 2>& version);
    bool ReadInputs();
    bool WriteInputs();
    bool ReadContour(int contour, TParamContur& record);
    bool WriteContour(int contour, const TParamContur& record);
    bool ReadContourEx(int contour, TParamConturEx& record);
    bool WriteContourEx(int contour, const TParamConturEx& record);
    bool ReadDeviceParams();
    // The controller's identity words (Model, SerialNumber, Version,
    // Manufact_date) into `identity`, leaving the model alone; one driver call.
    bool ReadDeviceIdentity(TParamDevice& identity);
    bool WriteDeviceParams();
    bool ReadCalibration();
    bool WriteCalibration();
    // Codes 34, then 4 with the outcome; 13 driver calls; stops at the first failure.
    bool ReadConfiguration();
    // Codes 35, then 5 with the outcome; 16 driver calls; stops at the first failure.
    // Records in LastConfigWrite which blocks reached the controller.
    bool WriteConfiguration();
    // How far the latest WriteConfiguration got (also one left by a
    // SerialPortError); empty before the first.
    const ConfigWriteProgress& LastConfigWrite() const { return lastConfigWrite_; }

    // --- monitoring and manual control -----------------------------------------------
    bool ReadManualState();
    bool WriteManualModes();
    bool WritePumpSwitches();
    bool WriteAnalogOutputs();
    bool WriteValveCommand(int contour, std::int16_t command);
    // Write-through setters of the manual page.
    bool SetManualMode(int contour, std::uint8_t flag);
    bool SetPumpSwitch(int pump, std::uint8_t flag);
    bool SetValveCommand(int contour, std::uint8_t command);
    void SetAnalogOutput(int output, std::int16_t current);
    bool ReadCurrentData(TCurrentData& data);
    bool ReadAdcCodes(std::uint16_t& code1, std::uint16_t& code2);
    bool ReadDateTime(double& dateTime);
    // found is 0 when the controller has no record for `when`; record is then
    // unchanged. A null record returns false without a call.
    bool ReadArchiveRecord(std::uint8_t& found, TArxRecord* record, double when);

    driver::Kt41Driver& Driver() const { return driver_; }

private:
    TParamContur* FullContour(int contour);
    const TParamContur* FullContour(int contour) const;
    TParamConturEx* ReducedContour(int contour);
    const TParamConturEx* ReducedContour(int contour) const;
    bool ReadContourTable(ContourTable& table);
    // ContourType and ConturCtrlMode of one contour from the shared table.
    bool ReadTypeAndMode(int contour, std::uint8_t& type, std::uint8_t& mode);
    // Re-reads the shared table, sanitises it and writes it back with only this
    // contour's two words changed.
    bool UpdateContourTable(int contour, std::uint8_t type, std::uint8_t mode);

    // Runs one block of WriteConfiguration and records how far it got.
    template <class WriteFn>
    bool WriteRecorded(ConfigBlock block, WriteFn&& write);

    driver::Kt41Driver& driver_;
    // Block writes the controller has accepted; tells a block that stopped
    // half-way from one that stopped at its first call.
    std::uint32_t acceptedWrites_ = 0;
    ConfigWriteProgress lastConfigWrite_;
};

// The thermometer alarm rule and the analog derivation rule, applied whenever an
// input's function changes (and to every 4-20 mA input after it is read).
void ApplyThermometerAlarmRule(TInputTerm& input);
void ApplyAnalogDerivationRule(TInputAnalog& input);

} // namespace kt41::device
