#pragma once

#include "BlockSizes.h"
#include "ComPort.h"
#include "ProgressSink.h"

#include <cstdint>
#include <span>

namespace kt41::driver {

// The function table of the KT-41 driver. Every controller exchange of the
// program goes through it. Conventions shared by all functions:
//  - the first argument is the controller's network address (unit), except for
//    SendComPortPtrToDLL; ReadRegisters and WriteRegisters are always called
//    with address 1;
//  - buffers are caller-owned, of the sizes in BlockSizes.h, and hold 16-bit
//    words in big-endian order; a read function fills its buffer only when it
//    returns true;
//  - false means the exchange failed: no answer within the timeouts, a bad
//    checksum or frame, an exception reply, or an answer of the wrong length or
//    from the wrong unit;
//  - a port that cannot be opened, or fails while in use, raises
//    SerialPortError instead of returning false.
class Kt41Driver {
public:
    virtual ~Kt41Driver() = default;

    // Hands the driver the program's port object and the receiver of its
    // notifications. Called once, before any other function; result ignored.
    virtual bool SendComPortPtrToDLL(ComPort* port, ProgressSink* window) = 0;

    // Opens the port when it is closed and asks the controller at
    // requestedAddress for its identity. version receives the firmware version
    // word low byte first (shown as version[0] "." version[1]); address receives
    // the address the controller answers on.
    virtual bool Connect_Device_KT41(std::uint8_t requestedAddress,
                                     std::span<std::uint8_t, kVersionBytes> version,
                                     std::uint8_t& address) = 0;

    virtual bool Read_ConfConturs_KT41(std::uint8_t address,
                                       std::span<std::uint8_t, kContourTableBytes> buffer) = 0;
    virtual bool
    Write_ConfConturs_KT41(std::uint8_t address,
                           std::span<const std::uint8_t, kContourTableBytes> buffer) = 0;

    // contour 1 or 2
    virtual bool Read_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                                       std::span<std::uint8_t, kContourBytes> buffer) = 0;
    virtual bool Write_ParamContur_KT41(std::uint8_t address, std::uint8_t contour,
                                        std::span<const std::uint8_t, kContourBytes> buffer) = 0;

    // contour 3 or 4
    virtual bool Read_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                                         std::span<std::uint8_t, kContourExBytes> buffer) = 0;
    virtual bool
    Write_ParamConturEx_KT41(std::uint8_t address, std::uint8_t contour,
                             std::span<const std::uint8_t, kContourExBytes> buffer) = 0;

    virtual bool Read_ParamInput_Term_KT41(std::uint8_t address,
                                           std::span<std::uint8_t, kInputTermBytes> buffer) = 0;
    virtual bool
    Write_ParamInput_Term_KT41(std::uint8_t address,
                               std::span<const std::uint8_t, kInputTermBytes> buffer) = 0;
    virtual bool Read_ParamInput_Analog_KT41(std::uint8_t address,
                                             std::span<std::uint8_t, kInputAnalogBytes> buffer) = 0;
    virtual bool
    Write_ParamInput_Analog_KT41(std::uint8_t address,
                                 std::span<const std::uint8_t, kInputAnalogBytes> buffer) = 0;

    virtual bool Read_DeviceInfo_KT41(std::uint8_t address,
                                      std::span<std::uint8_t, kDeviceInfoBytes> buffer) = 0;
    virtual bool Read_ParamDevice_KT41(std::uint8_t address,
                                       std::span<std::uint8_t, kDeviceParamBytes> buffer) = 0;
    virtual bool
    Write_ParamDevice_KT41(std::uint8_t address,
                           std::span<const std::uint8_t, kDeviceParamBytes> buffer) = 0;

    virtual bool Read_CalibrTermDav_KT41(std::uint8_t address,
                                         std::span<std::uint8_t, kCalibrationBytes> buffer) = 0;
    virtual bool
    Write_CalibrTermDav_KT41(std::uint8_t address,
                             std::span<const std::uint8_t, kCalibrationBytes> buffer) = 0;

    virtual bool Read_ParamManual_KT41(std::uint8_t address,
                                       std::span<std::uint8_t, kManualStateBytes> buffer) = 0;
    virtual bool
    Write_ConturManualMode_KT41(std::uint8_t address,
                                std::span<const std::uint8_t, kManualModeBytes> buffer) = 0;
    virtual bool
    Write_PumpsManualOn_KT41(std::uint8_t address,
                             std::span<const std::uint8_t, kPumpsManualBytes> buffer) = 0;
    virtual bool Write_AnalogOutPut_KT41(std::uint8_t address,
                                         std::span<const std::uint8_t, kAnalogOutBytes> buffer) = 0;
    virtual bool
    Write_ConturManualStatus_KT41(std::uint8_t address,
                                  std::span<const std::uint8_t, kManualStatusBytes> buffer) = 0;

    virtual bool Get_Current_Data_KT41(std::uint8_t address,
                                       std::span<std::uint8_t, kCurrentDataBytes> buffer) = 0;
    virtual bool Get_ADC_Cod_KT41(std::uint8_t address,
                                  std::span<std::uint8_t, kAdcCodesBytes> buffer) = 0;

    // dateTime: days since 30 December 1899, the fraction being the time of day.
    virtual bool Read_DateTime_KT41(std::uint8_t address, double& dateTime) = 0;

    // Asks for the record of the hour `when` (same date-time form). found is set
    // nonzero when the controller holds such a record; buffer is valid only then.
    virtual bool Read_ArxRecord_KT41(std::uint8_t address, double when, std::uint8_t& found,
                                     std::span<std::uint8_t, kArchiveRecordBytes> buffer) = 0;

    // Plain register access. function is 3 (read holding registers); buffer
    // holds 2 bytes per register and must be at least 2 * count bytes long.
    virtual bool ReadRegisters(std::uint8_t address, std::uint8_t function, std::uint16_t first,
                               std::uint16_t count, std::span<std::uint8_t> buffer) = 0;
    virtual bool WriteRegisters(std::uint8_t address, std::uint16_t first, std::uint16_t count,
                                std::span<const std::uint8_t> buffer) = 0;

    // The bus scan's way of asking: while on, every transaction is sent once,
    // with short waits suited to the line's speed and no pause after silence,
    // so that an address where nobody answers costs little more than one
    // request. Off again, the normal waits and the retry are back. A driver
    // without such a mode ignores it.
    virtual void SetProbing(bool on) { (void)on; }
};

} // namespace kt41::driver
