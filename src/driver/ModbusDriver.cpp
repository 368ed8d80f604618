#include "ModbusDriver.h"

#include "ModbusLink.h"
#include "ModbusPdu.h"
#include "OleDateTime.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <optional>

namespace kt41::driver {

namespace {

using regmap::Range;

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t k) {
    return std::uint16_t((bytes[2 * k] << 8) | bytes[2 * k + 1]);
}

void PutWord(std::span<std::uint8_t> bytes, std::size_t k, std::uint16_t value) {
    bytes[2 * k] = std::uint8_t(value >> 8);
    bytes[2 * k + 1] = std::uint8_t(value);
}

bool ValidUnit(std::uint8_t unit) {
    return unit >= regmap::kFirstUnit && unit <= regmap::kLastUnit;
}

// The hour that contains `when` (days since 30 December 1899). The time of day
// is cut, not rounded, so that 23:59:59.999 stays in its own day.
std::optional<CivilDateTime> HourContaining(double when) {
    constexpr double kLastDay = 2958465.0; // 31 December 9999
    if (!(when >= 0.0) || when >= kLastDay + 1.0) {
        return std::nullopt;
    }
    double day = std::floor(when);
    // A tenth of a millisecond absorbs the rounding of whole hours in a double.
    long long seconds = (long long)std::floor((when - day) * 86400.0 + 1e-4);
    if (seconds >= 86400) {
        day += 1.0;
        seconds -= 86400;
    }
    CivilDateTime hour = DecodeDateTime(day);
    hour.Hour = int(seconds / 3600);
    return hour;
}

bool ValidDateTime(const CivilDateTime& t) {
    using namespace std::chrono;
    const year_month_day date{year{t.Year}, month{unsigned(t.Month)}, day{unsigned(t.Day)}};
    return t.Year >= 1900 && date.ok() && t.Hour >= 0 && t.Hour < 24 && t.Minute >= 0 &&
           t.Minute < 60 && t.Second >= 0 && t.Second < 60;
}

} // namespace

void ModbusDriver::SetTimeouts(const LineTimeouts& timeouts) {
    timeouts_ = timeouts;
    ApplyTimeouts();
}

void ModbusDriver::SetProbeTimeouts(const LineTimeouts& timeouts) {
    probeTimeouts_ = timeouts;
    ApplyTimeouts();
}

void ModbusDriver::SetProbing(bool on) {
    probing_ = on;
    ApplyTimeouts();
}

void ModbusDriver::ApplyTimeouts() {
    if (port_ != nullptr) {
        if (auto* link = dynamic_cast<ModbusLink*>(port_->Link())) {
            link->SetTimeouts(ActiveTimeouts());
        }
    }
}

bool ModbusDriver::SendComPortPtrToDLL(ComPort* port, ProgressSink* window) {
    port_ = port;
    window_ = window;
    return true;
}

ModbusLink* ModbusDriver::OpenLink() {
    if (port_ == nullptr || !port_->Connected()) {
        lastError_ = "port not open";
        return nullptr;
    }
    auto* link = dynamic_cast<ModbusLink*>(port_->Link());
    if (link == nullptr) {
        lastError_ = "port opened by another driver";
    }
    return link;
}

bool ModbusDriver::Fail(const std::string& reason) {
    lastError_ = reason;
    return false;
}

std::optional<std::vector<std::uint8_t>>
ModbusDriver::Transact(ModbusLink& link, std::uint8_t unit, std::span<const std::uint8_t> request,
                       std::size_t answerPdu, const AnswerCheck& check) {
    std::string why;
    const int attempts = probing_ ? 1 : kAttempts;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        auto answer = link.Exchange(unit, request, answerPdu, &why);
        if (!answer) {
            continue;
        }
        if (check(answer->Pdu, &why)) {
            lastError_.clear();
            return std::move(answer->Pdu);
        }
        if (pdu::IsExceptionAnswer(answer->Pdu, request[0])) {
            break; // the controller refused the request: asking again changes nothing
        }
    }
    lastError_ = why;
    return std::nullopt;
}

bool ModbusDriver::ReadBlock(std::uint8_t unit, Range range, std::span<std::uint8_t> out) {
    if (!ValidUnit(unit)) {
        return Fail("invalid unit address " + std::to_string(unit));
    }
    if (range.Count == 0 || range.Count > regmap::kMaxReadRegisters ||
        out.size() != 2 * std::size_t(range.Count) || range.First + range.Count > 0x10000) {
        return Fail("invalid register range");
    }
    ModbusLink* link = OpenLink();
    if (link == nullptr) {
        return false;
    }
    const auto answer = Transact(
        *link, unit, pdu::ReadRequest(range.First, range.Count), pdu::ReadAnswerLength(range.Count),
        [&](std::span<const std::uint8_t> a, std::string* why) {
            return pdu::ReadAnswerData(a, regmap::kReadHoldingRegisters, range.Count, why)
                .has_value();
        });
    if (!answer) {
        return false;
    }
    std::copy(answer->begin() + 2, answer->end(), out.begin()); // after function and byte count
    return true;
}

bool ModbusDriver::WriteBlock(std::uint8_t unit, Range range, std::span<const std::uint8_t> in) {
    if (!ValidUnit(unit)) {
        return Fail("invalid unit address " + std::to_string(unit));
    }
    if (range.Count == 0 || range.Count > regmap::kMaxWriteRegisters ||
        in.size() != 2 * std::size_t(range.Count) || range.First + range.Count > 0x10000) {
        return Fail("invalid register range");
    }
    ModbusLink* link = OpenLink();
    if (link == nullptr) {
        return false;
    }
    return Transact(*link, unit, pdu::WriteRequest(range.First, in), pdu::WriteAnswerLength(),
                    [&](std::span<const std::uint8_t> a, std::string* why) {
                        return pdu::WriteAnswerOk(a, range.First, range.Count, why);
                    })
        .has_value();
}

bool ModbusDriver::Connect_Device_KT41(std::uint8_t requestedAddress,
                                       std::span<std::uint8_t, kVersionBytes> version,
                                       std::uint8_t& address) {
    if (port_ == nullptr) {
        return Fail("no port");
    }
    if (!ValidUnit(requestedAddress)) {
        return Fail("invalid unit address " + std::to_string(requestedAddress));
    }
    if (!port_->Connected()) {
        port_->Attach(ModbusLink::Open(*port_, ActiveTimeouts())); // throws SerialPortError
    }
    std::array<std::uint8_t, 2 * regmap::kConnectIdentity.Count> identity{};
    if (!ReadBlock(requestedAddress, regmap::kConnectIdentity, identity)) {
        return false;
    }
    // The answer came from the requested unit: ReadBlock checks the unit of
    // every answer.
    const std::uint16_t word = WordAt(identity, regmap::kIdentityVersionWord);
    version[0] = std::uint8_t(word & 0xFF);
    version[1] = std::uint8_t(word >> 8);
    address = requestedAddress;
    return true;
}

bool ModbusDriver::Read_ConfConturs_KT41(std::uint8_t address,
                                         std::span<std::uint8_t, kContourTableBytes> buffer) {
    return ReadBlock(address, regmap::kContourTable, buffer);
}

bool ModbusDriver::Write_ConfConturs_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kContourTableBytes> buffer) {
    return WriteBlock(address, regmap::kContourTable, buffer);
}

bool ModbusDriver::Read_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                                         std::span<std::uint8_t, kContourBytes> buffer) {
    if (contour < 1 || contour > 2) {
        return Fail("contour " + std::to_string(contour) + " has no full block");
    }
    return ReadBlock(address, regmap::ContourBlock(contour), buffer);
}

bool ModbusDriver::Write_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                                          std::span<const std::uint8_t, kContourBytes> buffer) {
    if (contour < 1 || contour > 2) {
        return Fail("contour " + std::to_string(contour) + " has no full block");
    }
    return WriteBlock(address, regmap::ContourBlock(contour), buffer);
}

bool ModbusDriver::Read_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                                           std::span<std::uint8_t, kContourExBytes> buffer) {
    if (contour < 3 || contour > 4) {
        return Fail("contour " + std::to_string(contour) + " has no reduced block");
    }
    return ReadBlock(address, regmap::ContourBlock(contour), buffer);
}

bool ModbusDriver::Write_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                                            std::span<const std::uint8_t, kContourExBytes> buffer) {
    if (contour < 3 || contour > 4) {
        return Fail("contour " + std::to_string(contour) + " has no reduced block");
    }
    return WriteBlock(address, regmap::ContourBlock(contour), buffer);
}

bool ModbusDriver::Read_ParamInput_Term_KT41(std::uint8_t address,
                                             std::span<std::uint8_t, kInputTermBytes> buffer) {
    return ReadBlock(address, regmap::kInputsTerm, buffer);
}

bool ModbusDriver::Write_ParamInput_Term_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kInputTermBytes> buffer) {
    return WriteBlock(address, regmap::kInputsTerm, buffer);
}

bool ModbusDriver::Read_ParamInput_Analog_KT41(std::uint8_t address,
                                               std::span<std::uint8_t, kInputAnalogBytes> buffer) {
    return ReadBlock(address, regmap::kInputsAnalog, buffer);
}

bool ModbusDriver::Write_ParamInput_Analog_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kInputAnalogBytes> buffer) {
    return WriteBlock(address, regmap::kInputsAnalog, buffer);
}

bool ModbusDriver::Read_DeviceInfo_KT41(std::uint8_t address,
                                        std::span<std::uint8_t, kDeviceInfoBytes> buffer) {
    return ReadBlock(address, regmap::kIdentity, buffer);
}

bool ModbusDriver::Read_ParamDevice_KT41(std::uint8_t address,
                                         std::span<std::uint8_t, kDeviceParamBytes> buffer) {
    return ReadBlock(address, regmap::kDeviceParams, buffer);
}

bool ModbusDriver::Write_ParamDevice_KT41(std::uint8_t address,
                                          std::span<const std::uint8_t, kDeviceParamBytes> buffer) {
    return WriteBlock(address, regmap::kDeviceParams, buffer);
}

bool ModbusDriver::Read_CalibrTermDav_KT41(std::uint8_t address,
                                           std::span<std::uint8_t, kCalibrationBytes> buffer) {
    return ReadBlock(address, regmap::kCalibration, buffer);
}

bool ModbusDriver::Write_CalibrTermDav_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kCalibrationBytes> buffer) {
    return WriteBlock(address, regmap::kCalibration, buffer);
}

bool ModbusDriver::Read_ParamManual_KT41(std::uint8_t address,
                                         std::span<std::uint8_t, kManualStateBytes> buffer) {
    return ReadBlock(address, regmap::kManualState, buffer);
}

bool ModbusDriver::Write_ConturManualMode_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kManualModeBytes> buffer) {
    return WriteBlock(address, regmap::kManualModes, buffer);
}

bool ModbusDriver::Write_PumpsManualOn_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kPumpsManualBytes> buffer) {
    return WriteBlock(address, regmap::kPumpSwitches, buffer);
}

bool ModbusDriver::Write_AnalogOutPut_KT41(std::uint8_t address,
                                           std::span<const std::uint8_t, kAnalogOutBytes> buffer) {
    return WriteBlock(address, regmap::kAnalogOutputs, buffer);
}

bool ModbusDriver::Write_ConturManualStatus_KT41(
    std::uint8_t address, std::span<const std::uint8_t, kManualStatusBytes> buffer) {
    return WriteBlock(address, regmap::kValveCommand, buffer);
}

bool ModbusDriver::Get_Current_Data_KT41(std::uint8_t address,
                                         std::span<std::uint8_t, kCurrentDataBytes> buffer) {
    return ReadBlock(address, regmap::kCurrentData, buffer);
}

bool ModbusDriver::Get_ADC_Cod_KT41(std::uint8_t address,
                                    std::span<std::uint8_t, kAdcCodesBytes> buffer) {
    return ReadBlock(address, regmap::kAdcCodes, buffer);
}

bool ModbusDriver::Read_DateTime_KT41(std::uint8_t address, double& dateTime) {
    std::array<std::uint8_t, 2 * regmap::kClock.Count> clock{};
    if (!ReadBlock(address, regmap::kClock, clock)) {
        return false;
    }
    CivilDateTime t;
    t.Year = WordAt(clock, 0);
    t.Month = WordAt(clock, 1);
    t.Day = WordAt(clock, 2);
    t.Hour = WordAt(clock, 3);
    t.Minute = WordAt(clock, 4);
    t.Second = WordAt(clock, 5);
    if (!ValidDateTime(t)) {
        return Fail("clock holds no valid date and time");
    }
    dateTime = EncodeDateTime(t);
    return true;
}

bool ModbusDriver::Read_ArxRecord_KT41(std::uint8_t address, double when, std::uint8_t& found,
                                       std::span<std::uint8_t, kArchiveRecordBytes> buffer) {
    found = 0;
    if (!ValidUnit(address)) {
        return Fail("invalid unit address " + std::to_string(address));
    }
    const auto hour = HourContaining(when);
    if (!hour) {
        return Fail("requested time out of range");
    }
    ModbusLink* link = OpenLink();
    if (link == nullptr) {
        return false;
    }
    std::array<std::uint8_t, 2 * regmap::kArchiveRequest.Count> asked{};
    PutWord(asked, 0, std::uint16_t(hour->Year));
    PutWord(asked, 1, std::uint16_t(hour->Month));
    PutWord(asked, 2, std::uint16_t(hour->Day));
    PutWord(asked, 3, std::uint16_t(hour->Hour));
    const auto request =
        pdu::ReadWriteRequest(regmap::kArchiveAnswer.First, regmap::kArchiveAnswer.Count,
                              regmap::kArchiveRequest.First, asked);
    const auto answer =
        Transact(*link, address, request, pdu::ReadAnswerLength(regmap::kArchiveAnswer.Count),
                 [](std::span<const std::uint8_t> a, std::string* why) {
                     return pdu::ReadAnswerData(a, regmap::kReadWriteMultipleRegisters,
                                                regmap::kArchiveAnswer.Count, why)
                         .has_value();
                 });
    if (!answer) {
        return false;
    }
    const auto data = std::span<const std::uint8_t>(*answer).subspan(2);
    if (WordAt(data, 0) != 0) {
        std::copy(data.begin() + 2, data.end(), buffer.begin());
        found = 1;
    }
    return true;
}

bool ModbusDriver::ReadRegisters(std::uint8_t address, std::uint8_t function, std::uint16_t first,
                                 std::uint16_t count, std::span<std::uint8_t> buffer) {
    if (function != regmap::kReadHoldingRegisters) {
        return Fail("function " + std::to_string(function) + " is not supported");
    }
    if (buffer.size() < 2 * std::size_t(count)) {
        return Fail("buffer too small");
    }
    return ReadBlock(address, Range{first, count}, buffer.first(2 * std::size_t(count)));
}

bool ModbusDriver::WriteRegisters(std::uint8_t address, std::uint16_t first, std::uint16_t count,
                                  std::span<const std::uint8_t> buffer) {
    if (buffer.size() < 2 * std::size_t(count)) {
        return Fail("buffer too small");
    }
    return WriteBlock(address, Range{first, count}, buffer.first(2 * std::size_t(count)));
}

} // namespace kt41::driver
