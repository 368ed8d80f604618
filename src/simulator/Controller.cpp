// Requests, blocks, fault rules and the call log of the simulated controller.
#include "Controller.h"

#include "AccessRules.h"
#include "CivilTime.h"
#include "device/BlockCodec.h"
#include "driver/RegisterMap.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <stdexcept>

namespace kt41::sim {

namespace regmap = driver::regmap;
using driver::CivilDateTime;
using Steady = std::chrono::steady_clock;

namespace {

constexpr std::size_t kCallLogLength = 10000;

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint16_t((bytes[offset] << 8) | bytes[offset + 1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

std::vector<std::uint8_t> ExceptionReply(std::uint8_t function, std::uint8_t code) {
    return {std::uint8_t(function | regmap::kExceptionFlag), code};
}

template <std::size_t N>
std::span<const std::uint16_t, N> Fixed(const std::vector<std::uint16_t>& words) {
    return std::span<const std::uint16_t, N>(words.data(), N);
}

template <std::size_t N>
std::vector<std::uint16_t> ToVector(const std::array<std::uint16_t, N>& words) {
    return {words.begin(), words.end()};
}

struct Named {
    const char* Name;
    std::uint8_t Function;
    regmap::Range Range;
};

const std::vector<Named>& NamedRequests() {
    using namespace regmap;
    constexpr std::uint8_t R = kReadHoldingRegisters;
    constexpr std::uint8_t W = kWriteMultipleRegisters;
    static const std::vector<Named> table{
        {"Connect_Device_KT41", R, kConnectIdentity},
        {"Read_DeviceInfo_KT41", R, kIdentity},
        {"Read_ConfConturs_KT41", R, kContourTable},
        {"Write_ConfConturs_KT41", W, kContourTable},
        {"Read_ParamContur_KT41", R, ContourBlock(1)},
        {"Read_ParamContur_KT41", R, ContourBlock(2)},
        {"Write_ParamContur_KT41", W, ContourBlock(1)},
        {"Write_ParamContur_KT41", W, ContourBlock(2)},
        {"Read_ParamConturEx_KT41", R, ContourBlock(3)},
        {"Read_ParamConturEx_KT41", R, ContourBlock(4)},
        {"Write_ParamConturEx_KT41", W, ContourBlock(3)},
        {"Write_ParamConturEx_KT41", W, ContourBlock(4)},
        {"Read_ParamInput_Term_KT41", R, kInputsTerm},
        {"Write_ParamInput_Term_KT41", W, kInputsTerm},
        {"Read_ParamInput_Analog_KT41", R, kInputsAnalog},
        {"Write_ParamInput_Analog_KT41", W, kInputsAnalog},
        {"Read_ParamDevice_KT41", R, kDeviceParams},
        {"Write_ParamDevice_KT41", W, kDeviceParams},
        {"Read_CalibrTermDav_KT41", R, kCalibration},
        {"Write_CalibrTermDav_KT41", W, kCalibration},
        {"Read_ParamManual_KT41", R, kManualState},
        {"Write_ConturManualMode_KT41", W, kManualModes},
        {"Write_PumpsManualOn_KT41", W, kPumpSwitches},
        {"Write_AnalogOutPut_KT41", W, kAnalogOutputs},
        {"Write_ConturManualStatus_KT41", W, kValveCommand},
        {"Get_Current_Data_KT41", R, kCurrentData},
        {"Get_ADC_Cod_KT41", R, kAdcCodes},
        {"Read_DateTime_KT41", R, kClock},
    };
    return table;
}

} // namespace

std::size_t Controller::BlockSize(Block block, int index) {
    for (const BlockArea& area : BlockAreas()) {
        if (area.Kind == block && (block != Block::Contour || area.Index == index)) {
            return area.Range.Count;
        }
    }
    throw std::invalid_argument("no such block");
}

Controller::Controller(ControllerOptions options)
    : options_(std::move(options)), random_(options_.Seed), references_(options_.Seed + 1) {
    const Configuration& cfg = options_.Initial;
    auto put = [&](Block b, int index, std::vector<std::uint16_t> words) {
        stored_[{b, index}] = std::move(words);
    };
    put(Block::General, 0, std::vector<std::uint16_t>(regmap::kGeneral.Count, 0));

    std::vector<std::uint16_t> identity(regmap::kIdentity.Count, 0);
    identity[0] = cfg.Device.Model;
    identity[1] = options_.SerialNumber;
    identity[2] = cfg.Device.Version;
    identity[3] = cfg.Device.Manufact_date;
    put(Block::Identity, 0, identity);

    put(Block::ContourTable, 0,
        {cfg.Contour1.ContourType, cfg.Contour2.ContourType, cfg.Contour3.ContourType,
         cfg.Contour4.ContourType, cfg.Contour1.ConturCtrlMode, cfg.Contour2.ConturCtrlMode,
         cfg.Contour3.ConturCtrlMode, cfg.Contour4.ConturCtrlMode});
    std::array<std::uint16_t, device::kContourWords> full{};
    device::EncodeContour(cfg.Contour1, full);
    put(Block::Contour, 1, ToVector(full));
    device::EncodeContour(cfg.Contour2, full);
    put(Block::Contour, 2, ToVector(full));
    std::array<std::uint16_t, device::kContourExWords> reduced{};
    device::EncodeContourEx(cfg.Contour3, reduced);
    put(Block::Contour, 3, ToVector(reduced));
    device::EncodeContourEx(cfg.Contour4, reduced);
    put(Block::Contour, 4, ToVector(reduced));
    std::array<std::uint16_t, device::kInputWords> inputs{};
    device::EncodeInputsTerm(cfg.InputsTerm, inputs);
    put(Block::InputsTerm, 0, ToVector(inputs));
    device::EncodeInputsAnalog(cfg.InputsAnalog, inputs);
    put(Block::InputsAnalog, 0, ToVector(inputs));
    std::array<std::uint16_t, device::kDeviceParamWords> params{};
    device::EncodeDeviceParams(cfg.Device, params);
    put(Block::DeviceParams, 0, ToVector(params));
    std::array<std::uint16_t, device::kCalibrationWords> calibration{};
    device::EncodeCalibration(cfg.Calibration, calibration);
    put(Block::Calibration, 0, ToVector(calibration));
    put(Block::ManualState, 0, {0, 0, 0, 0, 0, 40, 40, 0, 0, 0, 0, 0});
    put(Block::ValveCommand, 0, std::vector<std::uint16_t>(regmap::kValveCommand.Count, 0));
    put(Block::ArchiveRequest, 0, std::vector<std::uint16_t>(regmap::kArchiveRequest.Count, 0));

    clockOffset_ = LocalOffsetSeconds();
    started_ = Steady::now();
    valvesUpdated_ = started_;
    adcSettleStart_ = started_;

    PlaceArchiveGaps();
}

// --- request handling ------------------------------------------------------------

std::string Controller::FunctionOf(std::span<const std::uint8_t> pdu) {
    if (pdu.empty()) {
        return "Function ?";
    }
    const std::uint8_t function = pdu[0];
    if ((function == regmap::kReadHoldingRegisters ||
         function == regmap::kWriteMultipleRegisters) &&
        pdu.size() >= 5) {
        const std::uint16_t first = WordAt(pdu, 1);
        const std::uint16_t count = WordAt(pdu, 3);
        for (const Named& n : NamedRequests()) {
            if (n.Function == function && n.Range.First == first && n.Range.Count == count) {
                return n.Name;
            }
        }
        return function == regmap::kReadHoldingRegisters ? "ReadRegisters" : "WriteRegisters";
    }
    if (function == regmap::kReadWriteMultipleRegisters && pdu.size() >= 9 &&
        WordAt(pdu, 1) == regmap::kArchiveAnswer.First &&
        WordAt(pdu, 3) == regmap::kArchiveAnswer.Count &&
        WordAt(pdu, 5) == regmap::kArchiveRequest.First &&
        WordAt(pdu, 7) == regmap::kArchiveRequest.Count) {
        return "Read_ArxRecord_KT41";
    }
    return "Function " + std::to_string(function);
}

std::optional<FaultKind> Controller::MatchFault(const std::string& function, Fault& matched) {
    // Every rule counts the requests it matches; the first rule added that is
    // active for this request applies.
    std::optional<FaultKind> kind;
    for (FaultRule& f : faults_) {
        if (!f.Rule.Function.empty() && f.Rule.Function != function) {
            continue;
        }
        ++f.Seen;
        const bool active =
            f.Seen > f.Rule.Skip && (f.Rule.Count == 0 || f.Seen <= f.Rule.Skip + f.Rule.Count);
        if (active && !kind) {
            matched = f.Rule;
            kind = f.Rule.Kind;
        }
    }
    return kind;
}

Reply Controller::Handle(std::uint8_t unit, std::span<const std::uint8_t> pdu) {
    Reply reply;
    CallRecord record;
    std::function<void(const CallRecord&)> observer;
    {
        std::lock_guard lock(mutex_);
        const bool broadcast = unit == 0;
        const bool ours =
            unit == options_.Address ||
            (options_.AnswerAnyAddress && unit >= regmap::kFirstUnit && unit <= regmap::kLastUnit);
        if (!broadcast && !ours) {
            return reply; // another unit's request: not for us
        }
        record.Function = FunctionOf(pdu);
        record.Unit = unit;
        record.FunctionCode = pdu.empty() ? 0 : pdu[0];
        if (pdu.size() >= 5) {
            record.First = WordAt(pdu, 1);
            record.Count = WordAt(pdu, 3);
        }
        record.RequestPdu = pdu.size();

        Fault fault;
        record.Fault = MatchFault(record.Function, fault);
        UpdateValves();
        if (record.Fault == FaultKind::NoAnswer) {
            // nothing reaches the controller
        } else if (record.Fault == FaultKind::Exception) {
            reply.Pdu = ExceptionReply(record.FunctionCode, fault.ExceptionCode);
        } else {
            reply.Pdu = Process(pdu);
            const bool normal = !reply.Pdu.empty() && (reply.Pdu[0] & regmap::kExceptionFlag) == 0;
            if (record.Fault == FaultKind::WrongLength && normal) {
                // One register more than asked for: a client that trusts the
                // byte count writes past its buffer.
                if (reply.Pdu[0] == regmap::kWriteMultipleRegisters) {
                    const std::uint16_t count = WordAt(reply.Pdu, 3);
                    reply.Pdu[3] = std::uint8_t((count + 1) >> 8);
                    reply.Pdu[4] = std::uint8_t(count + 1);
                } else if (reply.Pdu.size() >= 2) {
                    reply.Pdu.push_back(0x5A);
                    reply.Pdu.push_back(0x5A);
                    reply.Pdu[1] = std::uint8_t(reply.Pdu[1] + 2);
                }
            }
            if (record.Fault && FramedByServer(*record.Fault)) {
                reply.FrameFault = record.Fault;
            }
            if (record.Fault == FaultKind::LateReply) {
                reply.Delay = fault.Delay;
            }
            if (record.Fault == FaultKind::Drip) {
                reply.ByteGap = fault.Gap;
            }
        }
        reply.Send = !broadcast && record.Fault != FaultKind::NoAnswer;
        reply.Unit = unit;
        record.AnswerPdu = reply.Send ? reply.Pdu.size() : 0;

        calls_.push_back(record);
        if (calls_.size() > kCallLogLength) {
            calls_.pop_front();
        }
        ++callCounts_[record.Function];
        observer = observer_;
    }
    if (observer) {
        observer(record);
    }
    return reply;
}

std::vector<std::uint8_t> Controller::Process(std::span<const std::uint8_t> pdu) {
    if (pdu.empty()) {
        return ExceptionReply(0, regmap::kIllegalFunction);
    }
    const std::uint8_t function = pdu[0];
    std::vector<std::uint8_t> answer{function};
    switch (function) {
    case regmap::kReadHoldingRegisters: {
        if (pdu.size() != 5) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        const std::uint16_t first = WordAt(pdu, 1);
        const std::uint16_t count = WordAt(pdu, 3);
        if (count < 1 || count > regmap::kMaxReadRegisters) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        answer.push_back(std::uint8_t(2 * count));
        if (const auto error = ReadRange(first, count, answer)) {
            return ExceptionReply(function, *error);
        }
        return answer;
    }
    case regmap::kWriteMultipleRegisters: {
        if (pdu.size() < 6) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        const std::uint16_t first = WordAt(pdu, 1);
        const std::uint16_t count = WordAt(pdu, 3);
        if (count < 1 || count > regmap::kMaxWriteRegisters || pdu[5] != 2 * count ||
            pdu.size() != 6 + 2 * std::size_t(count)) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        if (const auto error = WriteRange(first, pdu.subspan(6))) {
            return ExceptionReply(function, *error);
        }
        answer.insert(answer.end(), pdu.begin() + 1, pdu.begin() + 5);
        return answer;
    }
    case regmap::kReadWriteMultipleRegisters: {
        if (pdu.size() < 10) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        const std::uint16_t readFirst = WordAt(pdu, 1);
        const std::uint16_t readCount = WordAt(pdu, 3);
        const std::uint16_t writeFirst = WordAt(pdu, 5);
        const std::uint16_t writeCount = WordAt(pdu, 7);
        if (readCount < 1 || readCount > regmap::kMaxReadWriteReadRegisters || writeCount < 1 ||
            writeCount > regmap::kMaxReadWriteWriteRegisters || pdu[9] != 2 * writeCount ||
            pdu.size() != 10 + 2 * std::size_t(writeCount)) {
            return ExceptionReply(function, regmap::kIllegalDataValue);
        }
        // Both ranges are checked before anything is done, so a refusal
        // leaves the blocks as they were. The write is done before the read.
        if (const auto error = WriteRefusal(writeFirst, writeCount)) {
            return ExceptionReply(function, *error);
        }
        if (const auto error = ReadRefusal(readFirst, readCount)) {
            return ExceptionReply(function, *error);
        }
        if (const auto error = WriteRange(writeFirst, pdu.subspan(10))) {
            return ExceptionReply(function, *error);
        }
        answer.push_back(std::uint8_t(2 * readCount));
        if (const auto error = ReadRange(readFirst, readCount, answer)) {
            return ExceptionReply(function, *error);
        }
        return answer;
    }
    default:
        return ExceptionReply(function, regmap::kIllegalFunction);
    }
}

std::optional<std::uint8_t> Controller::ReadRange(std::uint16_t first, std::uint16_t count,
                                                  std::vector<std::uint8_t>& out) {
    if (const auto refusal = ReadRefusal(first, count)) {
        return refusal;
    }
    // A read stays inside one block and sees one consistent picture of it.
    const BlockArea* area = AreaAt(first);
    const std::vector<std::uint16_t> words = Snapshot(area->Kind, area->Index, true);
    const std::size_t offset = first - area->Range.First;
    for (std::size_t k = 0; k < count; ++k) {
        PutWord(out, words[offset + k]);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> Controller::WriteRange(std::uint16_t first,
                                                   std::span<const std::uint8_t> data) {
    const std::size_t count = data.size() / 2;
    if (const auto refusal = WriteRefusal(first, std::uint16_t(count))) {
        return refusal;
    }
    const BlockArea* area = AreaAt(first);
    std::vector<std::uint16_t> words = Snapshot(area->Kind, area->Index, false);
    const std::size_t offset = first - area->Range.First;
    for (std::size_t k = 0; k < count; ++k) {
        words[offset + k] = WordAt(data, 2 * k);
    }
    // What can be refused is refused before anything changes.
    if (const auto refusal = ValueRefusal(area->Kind, words)) {
        return refusal;
    }
    switch (area->Kind) {
    case Block::Clock:
        SetClockWords(words);
        break;
    case Block::ManualState: {
        auto& stored = Stored(Block::ManualState, 0);
        const std::uint16_t previous = stored[0];
        std::copy(words.begin(), words.begin() + area->Writable, stored.begin());
        ApplyManualModes(previous);
        break;
    }
    case Block::ValveCommand:
        Stored(Block::ValveCommand, 0) = words;
        ApplyValveCommand();
        break;
    case Block::ContourTable:
    case Block::Contour:
    case Block::InputsTerm:
    case Block::InputsAnalog:
    case Block::DeviceParams:
    case Block::Calibration:
        Stored(area->Kind, area->Index) = words;
        configWritten_ = Steady::now();
        break;
    default:
        Stored(area->Kind, area->Index) = words;
        break;
    }
    return std::nullopt;
}

// --- blocks ------------------------------------------------------------------------

std::vector<std::uint16_t>& Controller::Stored(Block block, int index) {
    return stored_.at({block, block == Block::Contour ? index : 0});
}

const std::vector<std::uint16_t>& Controller::Stored(Block block, int index) const {
    return stored_.at({block, block == Block::Contour ? index : 0});
}

std::vector<std::uint16_t> Controller::Snapshot(Block block, int index, bool fromBus) const {
    switch (block) {
    case Block::CurrentData:
        return frozen_.count(block) != 0 ? frozen_.at(block) : CurrentDataWords();
    case Block::AdcCodes:
        return frozen_.count(block) != 0 ? frozen_.at(block) : AdcWords(fromBus);
    case Block::Clock:
        return ClockWords();
    case Block::ArchiveAnswer:
        return ArchiveAnswerWords();
    case Block::ManualState: {
        std::vector<std::uint16_t> words = Stored(block, 0);
        words[7] = 0;
        for (std::size_t n = 0; n < 4; ++n) {
            words[8 + n] = valves_[n].Command;
        }
        return words;
    }
    default:
        return Stored(block, index);
    }
}

std::vector<std::uint16_t> Controller::Words(Block block, int index) const {
    std::lock_guard lock(mutex_);
    BlockSize(block, index); // throws for an unknown contour
    return Snapshot(block, index, false);
}

void Controller::SetWords(Block block, std::span<const std::uint16_t> words, int index) {
    std::lock_guard lock(mutex_);
    if (words.size() != BlockSize(block, index)) {
        throw std::invalid_argument("block size mismatch");
    }
    const std::vector<std::uint16_t> w(words.begin(), words.end());
    switch (block) {
    case Block::CurrentData:
    case Block::AdcCodes:
        frozen_[block] = w;
        break;
    case Block::Clock:
        if (!SetClockWords(w)) {
            throw std::invalid_argument("not a valid date and time");
        }
        break;
    case Block::ArchiveAnswer:
        throw std::invalid_argument("the archive answer follows the request");
    case Block::ManualState: {
        auto& stored = Stored(block, 0);
        std::copy(w.begin(), w.begin() + 7, stored.begin());
        for (std::size_t n = 0; n < 4; ++n) {
            valves_[n].Command = w[8 + n];
            valves_[n].Until.reset();
        }
        break;
    }
    default:
        Stored(block, index) = w;
        break;
    }
}

void Controller::ResumeLive(Block block) {
    std::lock_guard lock(mutex_);
    frozen_.erase(block);
}

Configuration Controller::CurrentConfiguration() const {
    std::lock_guard lock(mutex_);
    return DecodeConfiguration();
}

Configuration Controller::DecodeConfiguration() const {
    Configuration cfg;
    const auto& table = Stored(Block::ContourTable, 0);
    device::DecodeContour(Fixed<device::kContourWords>(Stored(Block::Contour, 1)), cfg.Contour1);
    device::DecodeContour(Fixed<device::kContourWords>(Stored(Block::Contour, 2)), cfg.Contour2);
    device::DecodeContourEx(Fixed<device::kContourExWords>(Stored(Block::Contour, 3)),
                            cfg.Contour3);
    device::DecodeContourEx(Fixed<device::kContourExWords>(Stored(Block::Contour, 4)),
                            cfg.Contour4);
    cfg.Contour1.ContourType = std::uint8_t(table[0]);
    cfg.Contour2.ContourType = std::uint8_t(table[1]);
    cfg.Contour3.ContourType = std::uint8_t(table[2]);
    cfg.Contour4.ContourType = std::uint8_t(table[3]);
    cfg.Contour1.ConturCtrlMode = std::uint8_t(table[4]);
    cfg.Contour2.ConturCtrlMode = std::uint8_t(table[5]);
    cfg.Contour3.ConturCtrlMode = std::uint8_t(table[6]);
    cfg.Contour4.ConturCtrlMode = std::uint8_t(table[7]);
    device::DecodeInputsTerm(Fixed<device::kInputWords>(Stored(Block::InputsTerm, 0)),
                             cfg.InputsTerm);
    device::DecodeInputsAnalog(Fixed<device::kInputWords>(Stored(Block::InputsAnalog, 0)),
                               cfg.InputsAnalog);
    device::DecodeDeviceInfo(Fixed<device::kDeviceInfoWords>(Stored(Block::Identity, 0)),
                             cfg.Device);
    device::DecodeDeviceParams(Fixed<device::kDeviceParamWords>(Stored(Block::DeviceParams, 0)),
                               cfg.Device);
    cfg.Device.ID_Device = options_.Address;
    device::DecodeCalibration(Fixed<device::kCalibrationWords>(Stored(Block::Calibration, 0)),
                              cfg.Calibration);
    return cfg;
}

// --- faults and calls ---------------------------------------------------------------

void Controller::AddFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back({fault, 0});
}

void Controller::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::vector<CallRecord> Controller::Calls() const {
    std::lock_guard lock(mutex_);
    return {calls_.begin(), calls_.end()};
}

int Controller::CallCount(std::string_view function) const {
    std::lock_guard lock(mutex_);
    const auto it = callCounts_.find(function);
    return it == callCounts_.end() ? 0 : it->second;
}

void Controller::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    callCounts_.clear();
}

void Controller::SetCallObserver(std::function<void(const CallRecord&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

} // namespace kt41::sim
