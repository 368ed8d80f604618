// Monitoring, manual-control, clock and archive operations of the device model.
#include "TKT41.h"

#include "ProgressCodes.h"
#include "driver/SerialPortError.h"

namespace kt41::device {

namespace {

template <std::size_t Words>
std::array<std::uint8_t, 2 * Words> ToBytes(const std::array<std::uint16_t, Words>& words) {
    std::array<std::uint8_t, 2 * Words> bytes{};
    BytesFromWords(words, bytes);
    return bytes;
}

// Sets one flag of the manual state and writes its block when that changed the
// flag; a failed write puts the previous flag back, so the model keeps what
// the controller holds. True when the changed flag was written.
template <class Write>
bool WriteThrough(std::uint8_t& flag, std::uint8_t value, Write&& write) {
    const std::uint8_t previous = flag;
    flag = value;
    if (value == previous) {
        return false;
    }
    const bool ok = write();
    if (!ok) {
        flag = previous;
    }
    return ok;
}

} // namespace

bool TKT41::ReadManualState() {
    Notify(progress::ReadManualStart, 0);
    Manual.ManualMode = {};
    Manual.ValveCommand = {};
    Manual.PumpSwitch = {};
    Manual.AnalogOut = {40, 40};
    std::array<std::uint8_t, driver::kManualStateBytes> bytes{};
    const bool ok = driver_.Read_ParamManual_KT41(Address, bytes);
    if (ok) {
        std::array<std::uint16_t, kManualStateWords> words{};
        WordsFromBytes(bytes, words);
        DecodeManualState(words, Manual);
    }
    Notify(progress::ReadManualDone, OutcomeParam(ok));
    Notify(progress::IdleAfter, 0);
    return ok;
}

bool TKT41::WriteManualModes() {
    Notify(progress::WriteManualModesStart, 0);
    const auto bytes = ToBytes(std::array<std::uint16_t, 1>{EncodeManualModes(Manual)});
    const bool ok = driver_.Write_ConturManualMode_KT41(Address, bytes);
    Notify(progress::WriteManualModesDone, OutcomeParam(ok));
    Notify(progress::IdleAfter, 0);
    return ok;
}

bool TKT41::WritePumpSwitches() {
    Notify(progress::WritePumpsStart, 0);
    const auto bytes = ToBytes(EncodePumpSwitches(Manual));
    const bool ok = driver_.Write_PumpsManualOn_KT41(Address, bytes);
    Notify(progress::WritePumpsDone, OutcomeParam(ok));
    Notify(progress::IdleAfter, 0);
    return ok;
}

bool TKT41::WriteAnalogOutputs() {
    Notify(progress::WriteAnalogStart, 0);
    const auto bytes = ToBytes(EncodeAnalogOutputs(Manual));
    const bool ok = driver_.Write_AnalogOutPut_KT41(Address, bytes);
    Notify(progress::WriteAnalogDone, OutcomeParam(ok));
    Notify(progress::IdleAfter, 0);
    return ok;
}

bool TKT41::WriteValveCommand(int contour, std::int16_t command) {
    if (contour < 1 || contour > 4) {
        return false;
    }
    Notify(progress::WriteValveStart, ContourParam(contour));
    const auto bytes = ToBytes(EncodeManualStatus(Manual, contour, command));
    const bool ok = driver_.Write_ConturManualStatus_KT41(Address, bytes);
    // No idle code here: the manual page repeats the command every second.
    Notify(progress::WriteValveDone, ContourParam(contour, ok));
    return ok;
}

bool TKT41::SetManualMode(int contour, std::uint8_t flag) {
    if (contour < 1 || contour > 4) {
        return false;
    }
    return WriteThrough(Manual.ManualMode[contour - 1], flag,
                        [this] { return WriteManualModes(); });
}

bool TKT41::SetPumpSwitch(int pump, std::uint8_t flag) {
    if (pump < 1 || pump > 4) {
        return false;
    }
    return WriteThrough(Manual.PumpSwitch[pump - 1], flag, [this] { return WritePumpSwitches(); });
}

bool TKT41::SetValveCommand(int contour, std::uint8_t command) {
    if (contour >= 1 && contour <= 4) {
        Manual.ValveCommand[contour - 1] = command;
    }
    return WriteValveCommand(contour, 1000);
}

void TKT41::SetAnalogOutput(int output, std::int16_t current) {
    if (output < 1 || output > 2) {
        return;
    }
    const std::uint16_t previous = Manual.AnalogOut[output - 1];
    Manual.AnalogOut[output - 1] = std::uint16_t(current);
    if (Manual.AnalogOut[output - 1] != previous) {
        WriteAnalogOutputs();
    }
}

bool TKT41::ReadCurrentData(TCurrentData& data) {
    std::array<std::uint8_t, driver::kCurrentDataBytes> bytes{};
    bool ok = false;
    try {
        ok = driver_.Get_Current_Data_KT41(Address, bytes);
    } catch (const driver::SerialPortError&) {
        ok = false;
    }
    if (ok) {
        WordsFromBytes(bytes, data);
    }
    Notify(progress::ReadCurrentDone, OutcomeParam(ok));
    return ok;
}

bool TKT41::ReadAdcCodes(std::uint16_t& code1, std::uint16_t& code2) {
    std::array<std::uint8_t, driver::kAdcCodesBytes> bytes{};
    bool ok = false;
    try {
        ok = driver_.Get_ADC_Cod_KT41(Address, bytes);
    } catch (const driver::SerialPortError&) {
        ok = false;
    }
    if (ok) {
        std::array<std::uint16_t, 2> words{};
        WordsFromBytes(bytes, words);
        code1 = words[0];
        code2 = words[1];
    }
    Notify(progress::ReadAdcDone, OutcomeParam(ok));
    return ok;
}

bool TKT41::ReadDateTime(double& dateTime) {
    return driver_.Read_DateTime_KT41(Address, dateTime);
}

bool TKT41::ReadArchiveRecord(std::uint8_t& found, TArxRecord* record, double when) {
    found = 0;
    if (record == nullptr) {
        return false;
    }
    std::array<std::uint8_t, driver::kArchiveRecordBytes> bytes{};
    const bool ok = driver_.Read_ArxRecord_KT41(Address, when, found, bytes);
    if (ok && found != 0) {
        std::array<std::uint16_t, kArchiveRecordWords> words{};
        WordsFromBytes(bytes, words);
        const std::array<std::uint8_t, 4> types{GetAnalogInputType(1), GetAnalogInputType(2),
                                                GetAnalogInputType(3), GetAnalogInputType(4)};
        DecodeArchiveRecord(words, types, *record);
    }
    return ok;
}

} // namespace kt41::device
