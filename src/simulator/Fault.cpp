#include "Fault.h"

#include <array>
#include <charconv>
#include <utility>

namespace kt41::sim {

namespace {

constexpr std::array<std::pair<FaultKind, std::string_view>, 11> kNames{{
    {FaultKind::NoAnswer, "no-answer"},
    {FaultKind::BadCrc, "bad-crc"},
    {FaultKind::Truncated, "truncated"},
    {FaultKind::Exception, "exception"},
    {FaultKind::LateReply, "late-reply"},
    {FaultKind::WrongUnit, "wrong-unit"},
    {FaultKind::WrongLength, "wrong-length"},
    {FaultKind::Drip, "drip"},
    {FaultKind::AnswerTwice, "answer-twice"},
    {FaultKind::RepeatPrevious, "repeat-previous"},
    {FaultKind::NextId, "next-id"},
}};

std::optional<long> ParseNumber(std::string_view text) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string_view FaultKindName(FaultKind kind) {
    for (const auto& [k, name] : kNames) {
        if (k == kind) {
            return name;
        }
    }
    return "?";
}

std::optional<FaultKind> FaultKindFromName(std::string_view name) {
    for (const auto& [k, n] : kNames) {
        if (n == name) {
            return k;
        }
    }
    return std::nullopt;
}

const std::vector<FaultKind>& AllFaultKinds() {
    static const std::vector<FaultKind> kinds = [] {
        std::vector<FaultKind> all;
        for (const auto& entry : kNames) {
            all.push_back(entry.first);
        }
        return all;
    }();
    return kinds;
}

bool TcpOnly(FaultKind kind) {
    return kind == FaultKind::RepeatPrevious || kind == FaultKind::NextId;
}

bool FramedByServer(FaultKind kind) {
    switch (kind) {
    case FaultKind::BadCrc:
    case FaultKind::Truncated:
    case FaultKind::WrongUnit:
    case FaultKind::Drip:
    case FaultKind::AnswerTwice:
    case FaultKind::RepeatPrevious:
    case FaultKind::NextId:
        return true;
    default:
        return false;
    }
}

std::optional<Fault> ParseFault(std::string_view text, std::string* error) {
    auto fail = [&](std::string reason) -> std::optional<Fault> {
        if (error != nullptr) {
            *error = std::move(reason);
        }
        return std::nullopt;
    };
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto comma = text.find(',', start);
        parts.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    Fault fault;
    const auto kind = FaultKindFromName(parts[0]);
    if (!kind) {
        return fail("unknown fault kind '" + std::string(parts[0]) + "'");
    }
    fault.Kind = *kind;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const auto eq = parts[i].find('=');
        if (eq == std::string_view::npos) {
            return fail("expected key=value, got '" + std::string(parts[i]) + "'");
        }
        const std::string_view key = parts[i].substr(0, eq);
        const std::string_view value = parts[i].substr(eq + 1);
        if (key == "function") {
            fault.Function = std::string(value);
            continue;
        }
        const auto number = ParseNumber(value);
        if (!number || *number < 0) {
            return fail("bad number in '" + std::string(parts[i]) + "'");
        }
        if (key == "skip") {
            fault.Skip = int(*number);
        } else if (key == "count") {
            fault.Count = int(*number);
        } else if (key == "code" && *number <= 255) {
            fault.ExceptionCode = std::uint8_t(*number);
        } else if (key == "delay") {
            fault.Delay = std::chrono::milliseconds(*number);
        } else if (key == "gap") {
            fault.Gap = std::chrono::milliseconds(*number);
        } else {
            return fail("unknown or out-of-range setting '" + std::string(parts[i]) + "'");
        }
    }
    return fault;
}

} // namespace kt41::sim
