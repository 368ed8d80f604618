#pragma once

#include "Kt41Driver.h"
#include "LineTiming.h"
#include "RegisterMap.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kt41::driver {

class ModbusLink;

// The KT-41 driver over Modbus (libmodbus): RTU on a serial device, or Modbus
// TCP when the port name is "tcp://host:port". Every block is one transaction
// on the register map of RegisterMap.h (docs/protocol.md).
//
// Return contract of every function: true when the controller answered the
// request correctly; false when the port is not open, an argument is out of
// range, or the transaction failed: an exception reply, or twice in a row no
// answer within the deadline, a bad checksum or frame, an answer from another
// unit, for another function or of the wrong length. A transaction that failed
// in one of those ways is sent once more (every request of the map may be
// repeated without harm); an exception reply is not. While probing
// (SetProbing, the bus scan) a transaction is sent once, with ProbeTimeouts().
// Read buffers are written only when the function returns true. A line that
// cannot be opened, is held by another program ("busy") or fails while in use
// raises SerialPortError.
class ModbusDriver : public Kt41Driver {
public:
    ModbusDriver() = default;

    // Timeouts for the lines this driver opens from now on and for the open one.
    void SetTimeouts(const LineTimeouts& timeouts);
    const LineTimeouts& Timeouts() const { return timeouts_; }
    // The waits while probing (SetProbing); ProbeTimeouts() by default.
    void SetProbeTimeouts(const LineTimeouts& timeouts);
    void SetProbing(bool on) override;
    // Why the last failed call failed, for logs and the command line.
    const std::string& LastError() const { return lastError_; }

    bool SendComPortPtrToDLL(ComPort* port, ProgressSink* window) override;
    // Opens the port when it is closed (and leaves it open when the controller
    // then does not answer: the caller closes it).
    bool Connect_Device_KT41(std::uint8_t requestedAddress,
                             std::span<std::uint8_t, kVersionBytes> version,
                             std::uint8_t& address) override;

    bool Read_ConfConturs_KT41(std::uint8_t address,
                               std::span<std::uint8_t, kContourTableBytes> buffer) override;
    bool Write_ConfConturs_KT41(std::uint8_t address,
                                std::span<const std::uint8_t, kContourTableBytes> buffer) override;
    bool Read_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                               std::span<std::uint8_t, kContourBytes> buffer) override;
    bool Write_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                                std::span<const std::uint8_t, kContourBytes> buffer) override;
    bool Read_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                                 std::span<std::uint8_t, kContourExBytes> buffer) override;
    bool Write_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                                  std::span<const std::uint8_t, kContourExBytes> buffer) override;
    bool Read_ParamInput_Term_KT41(std::uint8_t address,
                                   std::span<std::uint8_t, kInputTermBytes> buffer) override;
    bool Write_ParamInput_Term_KT41(std::uint8_t address,
                                    std::span<const std::uint8_t, kInputTermBytes> buffer) override;
    bool Read_ParamInput_Analog_KT41(std::uint8_t address,
                                     std::span<std::uint8_t, kInputAnalogBytes> buffer) override;
    bool
    Write_ParamInput_Analog_KT41(std::uint8_t address,
                                 std::span<const std::uint8_t, kInputAnalogBytes> buffer) override;
    bool Read_DeviceInfo_KT41(std::uint8_t address,
                              std::span<std::uint8_t, kDeviceInfoBytes> buffer) override;
    bool Read_ParamDevice_KT41(std::uint8_t address,
                               std::span<std::uint8_t, kDeviceParamBytes> buffer) override;
    bool Write_ParamDevice_KT41(std::uint8_t address,
                                std::span<const std::uint8_t, kDeviceParamBytes> buffer) override;
    bool Read_CalibrTermDav_KT41(std::uint8_t address,
                                 std::span<std::uint8_t, kCalibrationBytes> buffer) override;
    bool Write_CalibrTermDav_KT41(std::uint8_t address,
                                  std::span<const std::uint8_t, kCalibrationBytes> buffer) override;
    bool Read_ParamManual_KT41(std::uint8_t address,
                               std::span<std::uint8_t, kManualStateBytes> buffer) override;
    bool
    Write_ConturManualMode_KT41(std::uint8_t address,
                                std::span<const std::uint8_t, kManualModeBytes> buffer) override;
    bool Write_PumpsManualOn_KT41(std::uint8_t address,
                                  std::span<const std::uint8_t, kPumpsManualBytes> buffer) override;
    bool Write_AnalogOutPut_KT41(std::uint8_t address,
                                 std::span<const std::uint8_t, kAnalogOutBytes> buffer) override;
    bool Write_ConturManualStatus_KT41(
        std::uint8_t address, std::span<const std::uint8_t, kManualStatusBytes> buffer) override;
    bool Get_Current_Data_KT41(std::uint8_t address,
                               std::span<std::uint8_t, kCurrentDataBytes> buffer) override;
    bool Get_ADC_Cod_KT41(std::uint8_t address,
                          std::span<std::uint8_t, kAdcCodesBytes> buffer) override;
    // The clock registers converted to the date-time value; false when they do
    // not hold a valid date and time.
    bool Read_DateTime_KT41(std::uint8_t address, double& dateTime) override;
    // Asks for the hour that contains `when`; found is 0 until a record came.
    bool Read_ArxRecord_KT41(std::uint8_t address, double when, std::uint8_t& found,
                             std::span<std::uint8_t, kArchiveRecordBytes> buffer) override;
    // Plain function 03 (the only function accepted) and 16 at the given unit.
    bool ReadRegisters(std::uint8_t address, std::uint8_t function, std::uint16_t first,
                       std::uint16_t count, std::span<std::uint8_t> buffer) override;
    bool WriteRegisters(std::uint8_t address, std::uint16_t first, std::uint16_t count,
                        std::span<const std::uint8_t> buffer) override;

    // Attempts per transaction: the first and one retry.
    static constexpr int kAttempts = 2;

private:
    // Whether an answer PDU is the correct one; the reason in *why when not.
    using AnswerCheck = std::function<bool(std::span<const std::uint8_t>, std::string*)>;

    ModbusLink* OpenLink();
    bool Fail(const std::string& reason);
    // One transaction on the open line: the answer PDU that passed `check`, or
    // nullopt with the reason in LastError(). Sent a second time after no
    // answer, a damaged frame or an answer that fails `check`, but not after an
    // exception reply. SerialPortError passes through.
    std::optional<std::vector<std::uint8_t>> Transact(ModbusLink& link, std::uint8_t unit,
                                                      std::span<const std::uint8_t> request,
                                                      std::size_t answerPdu,
                                                      const AnswerCheck& check);
    // One function 03 transaction for the range; out holds 2 bytes per register.
    bool ReadBlock(std::uint8_t unit, regmap::Range range, std::span<std::uint8_t> out);
    // One function 16 transaction for the range; in holds 2 bytes per register.
    bool WriteBlock(std::uint8_t unit, regmap::Range range, std::span<const std::uint8_t> in);

    ComPort* port_ = nullptr;
    ProgressSink* window_ = nullptr;
    // The waits in force: the probe's while probing.
    const LineTimeouts& ActiveTimeouts() const { return probing_ ? probeTimeouts_ : timeouts_; }
    void ApplyTimeouts();

    LineTimeouts timeouts_;
    LineTimeouts probeTimeouts_ = ProbeTimeouts();
    bool probing_ = false;
    std::string lastError_;
};

} // namespace kt41::driver
