#pragma once

// A KT-41 controller in software, for tests, the GUI's demo mode and the
// kt41-sim program.
//
//   simulator/Controller.h    the controller: every block, live data, archive,
//                             clock, manual state, fault rules, call log
//   simulator/Configuration.h its settings as device records; the demo plant
//   simulator/Fault.h         fault rules (also parsed from kt41-sim's --fault)
//   simulator/PtyServer.h     Modbus RTU on a new pseudo-terminal
//   simulator/SerialServer.h  Modbus RTU on a named serial device
//   simulator/TcpServer.h     Modbus TCP on 127.0.0.1
//
// The controller knows nothing of transports: a server hands it each request
// PDU with its unit address and frames the Reply it gets back. Every member is
// thread-safe; servers run on their own threads while a test reads and sets
// blocks.

#include "Configuration.h"
#include "Fault.h"
#include "Plant.h"
#include "ReferenceSources.h"
#include "driver/OleDateTime.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::sim {

struct ControllerOptions {
    std::uint8_t Address = 1;
    // Answer every unit address 1..247 (the answer carries the address asked
    // for), so that any address typed into the tool connects.
    bool AnswerAnyAddress = false;
    std::uint16_t SerialNumber = 12345;
    // Settings at start; the default is the demo plant.
    Configuration Initial = DemoConfiguration();
    // Baud rate of the line the servers emulate (10 bits per character plus
    // 3.5 characters between frames); 0 answers at once.
    std::uint32_t EmulatedBaud = 0;
    // Days of hourly archive before now.
    int ArchiveDays = 40;
    std::uint32_t Seed = 41;
};

// The blocks of the register map (driver/RegisterMap.h). Contour takes the
// contour number 1..4 as index; every other block has index 0.
enum class Block {
    General,        // 256 general-purpose registers
    Identity,       // 23 words
    ContourTable,   // 8
    Contour,        // 120 (contours 1, 2) or 21 (contours 3, 4)
    InputsTerm,     // 12
    InputsAnalog,   // 12
    DeviceParams,   // 23
    Calibration,    // 5
    ManualState,    // 12; w8..w11 are the valve commands in force
    ValveCommand,   // 10, the last valve drive command received
    CurrentData,    // 21, live
    AdcCodes,       // 2, live
    Clock,          // 6: year, month, day, hour, minute, second
    ArchiveRequest, // 4: year, month, day, hour
    ArchiveAnswer,  // 19: found flag, then the record
};

// One request that reached the controller.
struct CallRecord {
    std::string Function; // see Controller::FunctionOf
    std::uint8_t Unit = 0;
    std::uint8_t FunctionCode = 0;
    std::uint16_t First = 0; // first register (read range for function 23)
    std::uint16_t Count = 0;
    std::size_t RequestPdu = 0; // bytes of the request PDU
    std::size_t AnswerPdu = 0;  // bytes of the answer PDU, 0 when none was sent
    std::optional<FaultKind> Fault;
};

// What a server does with a request.
struct Reply {
    bool Send = false; // false: stay silent
    std::uint8_t Unit = 0;
    std::vector<std::uint8_t> Pdu;
    // What the server does to the frame of the answer (FramedByServer).
    std::optional<FaultKind> FrameFault;
    std::chrono::milliseconds Delay{0};   // late reply
    std::chrono::milliseconds ByteGap{0}; // drip: pause before each byte
};

class Controller {
public:
    using ArchiveWords = std::array<std::uint16_t, 18>;

    explicit Controller(ControllerOptions options = {});
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    const ControllerOptions& Options() const { return options_; }

    // Handles one request PDU (function code and data) sent to `unit`.
    Reply Handle(std::uint8_t unit, std::span<const std::uint8_t> pdu);

    // The driver function a request PDU belongs to: "Read_ParamContur_KT41",
    // "Connect_Device_KT41", ...; "ReadRegisters" / "WriteRegisters" for a
    // function 03 / 16 request outside the blocks' exact ranges, otherwise
    // "Function N".
    static std::string FunctionOf(std::span<const std::uint8_t> pdu);

    // --- blocks as words, for tests -------------------------------------------
    std::vector<std::uint16_t> Words(Block block, int index = 0) const;
    // Replaces a block (words.size() must be its size). Setting CurrentData or
    // AdcCodes freezes them at these words until ResumeLive; setting Clock sets
    // the clock, which keeps running; ArchiveAnswer cannot be set (use
    // SetArchiveRecord). Throws std::invalid_argument otherwise.
    void SetWords(Block block, std::span<const std::uint16_t> words, int index = 0);
    void ResumeLive(Block block);
    // The settings the controller holds now, decoded.
    Configuration CurrentConfiguration() const;

    // --- reference sources of a calibration ---------------------------------------
    // What the converters see instead of the plant while a resistance or a
    // current is set (the frozen AdcCodes of SetWords still come first).
    ReferenceSources& References() { return references_; }

    // --- clock and archive ------------------------------------------------------
    driver::CivilDateTime Clock() const;
    void SetClock(const driver::CivilDateTime& t);
    // The record of the hour that begins at `hour` (minutes and seconds are
    // ignored); nullopt when the archive has none.
    std::optional<ArchiveWords> ArchiveRecord(const driver::CivilDateTime& hour) const;
    // Puts a record in place of the generated one, or a gap (nullopt).
    void SetArchiveRecord(const driver::CivilDateTime& hour, std::optional<ArchiveWords> words);

    // --- faults and the call log -------------------------------------------------
    void AddFault(const Fault& fault);
    void ClearFaults();
    std::vector<CallRecord> Calls() const; // the latest 10000 requests
    int CallCount(std::string_view function) const;
    void ClearCalls();
    // Called after each request, on the server's thread, outside the lock.
    void SetCallObserver(std::function<void(const CallRecord&)> observer);

private:
    struct FaultRule {
        Fault Rule;
        int Seen = 0;
    };
    struct Valve {
        std::uint16_t Command = 0;
        std::optional<std::chrono::steady_clock::time_point> Until;
        double Position = 0.0;
    };
    using Steady = std::chrono::steady_clock;

    static std::size_t BlockSize(Block block, int index);

    std::vector<std::uint8_t> Process(std::span<const std::uint8_t> pdu);
    std::optional<std::uint8_t> ReadRange(std::uint16_t first, std::uint16_t count,
                                          std::vector<std::uint8_t>& out);
    std::optional<std::uint8_t> WriteRange(std::uint16_t first, std::span<const std::uint8_t> data);
    // A block's words now; fromBus marks a read over the line (converter
    // codes start settling when reads resume after a rest).
    std::vector<std::uint16_t> Snapshot(Block block, int index, bool fromBus) const;
    std::vector<std::uint16_t>& Stored(Block block, int index);
    const std::vector<std::uint16_t>& Stored(Block block, int index) const;
    std::optional<FaultKind> MatchFault(const std::string& function, Fault& matched);

    Configuration DecodeConfiguration() const;
    double ClockSeconds() const;
    std::vector<std::uint16_t> ClockWords() const;
    bool SetClockWords(std::span<const std::uint16_t> words);
    std::vector<std::uint16_t> CurrentDataWords() const;
    std::vector<std::uint16_t> AdcWords(bool fromBus) const;
    bool ArchiveRequestValid() const;
    std::vector<std::uint16_t> ArchiveAnswerWords() const;
    std::optional<ArchiveWords> RecordAt(long long hourKey) const;
    bool Gap(long long hourKey) const;
    void PlaceArchiveGaps();
    void UpdateValves();
    ManualInputs ManualNow() const;
    void ApplyManualModes(std::uint16_t previous);
    void ApplyValveCommand();

    const ControllerOptions options_;
    mutable std::mutex mutex_;
    std::map<std::pair<Block, int>, std::vector<std::uint16_t>> stored_;
    std::map<Block, std::vector<std::uint16_t>> frozen_;
    std::array<Valve, 4> valves_{};
    Steady::time_point valvesUpdated_;
    double clockOffset_ = 0.0; // controller clock minus system clock, seconds
    Steady::time_point started_;
    std::optional<Steady::time_point> configWritten_;
    mutable std::optional<Steady::time_point> lastAdcRead_;
    mutable Steady::time_point adcSettleStart_;
    mutable std::mt19937 random_;
    mutable ReferenceSources references_;
    std::vector<std::pair<long long, long long>> gaps_; // [first, last] hour keys
    std::map<long long, std::optional<ArchiveWords>> archiveOverrides_;
    std::vector<FaultRule> faults_;
    std::deque<CallRecord> calls_;
    std::map<std::string, int, std::less<>> callCounts_;
    std::function<void(const CallRecord&)> observer_;
};

} // namespace kt41::sim
