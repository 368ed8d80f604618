#pragma once

#include <cstdint>

// The controller's side of the bus: where every block of the driver's function
// table lives among the Modbus holding registers. The driver (ModbusDriver) and
// the simulator (kt41::sim::Controller) both take their addresses from here, and
// docs/protocol.md describes the same map for people.
//
// A block of N big-endian words travels as N consecutive registers, word k in
// register first + k, unchanged.

namespace kt41::driver::regmap {

// Function codes, MODBUS Application Protocol V1.1b3, section 6.
inline constexpr std::uint8_t kReadHoldingRegisters = 0x03;
inline constexpr std::uint8_t kWriteMultipleRegisters = 0x10;
inline constexpr std::uint8_t kReadWriteMultipleRegisters = 0x17;
inline constexpr std::uint8_t kExceptionFlag = 0x80;

// Quantity limits of one request, MODBUS Application Protocol V1.1b3:
// 6.3 read holding registers, 1 to 125 (0x7D);
inline constexpr std::uint16_t kMaxReadRegisters = 125;
// 6.12 write multiple registers, 1 to 123 (0x7B);
inline constexpr std::uint16_t kMaxWriteRegisters = 123;
// 6.17 read/write multiple registers: read 1 to 125, write 1 to 121 (0x79).
inline constexpr std::uint16_t kMaxReadWriteReadRegisters = 125;
inline constexpr std::uint16_t kMaxReadWriteWriteRegisters = 121;

// Exception codes, MODBUS Application Protocol V1.1b3, section 7.
inline constexpr std::uint8_t kIllegalFunction = 0x01;
inline constexpr std::uint8_t kIllegalDataAddress = 0x02;
inline constexpr std::uint8_t kIllegalDataValue = 0x03;
inline constexpr std::uint8_t kServerDeviceFailure = 0x04;
inline constexpr std::uint8_t kServerDeviceBusy = 0x06;

// Unit addresses: 0 is the broadcast address, 1 to 247 are units (MODBUS over
// Serial Line V1.02, 2.2).
inline constexpr std::uint8_t kFirstUnit = 1;
inline constexpr std::uint8_t kLastUnit = 247;

struct Range {
    std::uint16_t First;
    std::uint16_t Count;
};

// General-purpose registers for the service panel (ReadRegisters and
// WriteRegisters); the controller gives them no meaning.
inline constexpr Range kGeneral{0x0000, 256};

// Identity block, read only: w0 Model, w1 SerialNumber, w2 Version,
// w3 Manufact_date, w4..w22 unused. Connect_Device_KT41 reads w0..w3.
inline constexpr Range kIdentity{0x0100, 23};
inline constexpr Range kConnectIdentity{0x0100, 4};
inline constexpr std::uint16_t kIdentityVersionWord = 2;

inline constexpr Range kContourTable{0x0200, 8};

// Contours 1 and 2 (full block) and 3 and 4 (reduced block).
inline constexpr std::uint16_t kContourWords = 120;
inline constexpr std::uint16_t kContourExWords = 21;
constexpr Range ContourBlock(int contour) {
    return Range{std::uint16_t(0x0300 + (contour - 1) * 0x0100),
                 contour <= 2 ? kContourWords : kContourExWords};
}

inline constexpr Range kInputsTerm{0x0700, 12};
inline constexpr Range kInputsAnalog{0x0710, 12};
inline constexpr Range kDeviceParams{0x0800, 23};
inline constexpr Range kCalibration{0x0900, 5};

// Manual state, read as one block of 12 words; its first seven words are
// written by three functions of their own.
inline constexpr Range kManualState{0x0A00, 12};
inline constexpr Range kManualModes{0x0A00, 1};
inline constexpr Range kPumpSwitches{0x0A01, 4};
inline constexpr Range kAnalogOutputs{0x0A05, 2};
// Valve drive command: w0 how long the command holds (ms), w1..w4 the command
// of contours 1..4 (0 stop, 1 open, 2 close), w5..w9 zero.
inline constexpr Range kValveCommand{0x0A10, 10};

inline constexpr Range kCurrentData{0x0B00, 21};
inline constexpr Range kAdcCodes{0x0B20, 2};

// Clock, read and written as year (four digits), month, day, hour, minute,
// second.
inline constexpr Range kClock{0x0C00, 6};

// Archive: one function 23 transaction writes the requested hour (year, month,
// day, hour) and reads the found flag (0 or 1) followed by the 18 record words.
inline constexpr Range kArchiveRequest{0x0D00, 4};
inline constexpr Range kArchiveAnswer{0x0D10, 19};

} // namespace kt41::driver::regmap
