#include "ModbusPdu.h"

#include "RegisterMap.h"

namespace kt41::driver::pdu {

namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint16_t((bytes[offset] << 8) | bytes[offset + 1]);
}

// An exception answer is the function code with the top bit set and one byte
// of exception code.
bool IsException(std::span<const std::uint8_t> answer, std::uint8_t function, std::string* why) {
    if (!IsExceptionAnswer(answer, function)) {
        return false;
    }
    if (why != nullptr) {
        *why = answer.size() == 2 ? "exception " + std::to_string(answer[1])
                                  : "malformed exception answer";
    }
    return true;
}

bool Fail(std::string* why, const std::string& reason) {
    if (why != nullptr) {
        *why = reason;
    }
    return false;
}

} // namespace

bool IsExceptionAnswer(std::span<const std::uint8_t> answer, std::uint8_t function) {
    return !answer.empty() && answer[0] == (function | regmap::kExceptionFlag);
}

std::vector<std::uint8_t> ReadRequest(std::uint16_t first, std::uint16_t count) {
    std::vector<std::uint8_t> out{regmap::kReadHoldingRegisters};
    PutWord(out, first);
    PutWord(out, count);
    return out;
}

std::vector<std::uint8_t> WriteRequest(std::uint16_t first, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out{regmap::kWriteMultipleRegisters};
    PutWord(out, first);
    PutWord(out, std::uint16_t(data.size() / 2));
    out.push_back(std::uint8_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> ReadWriteRequest(std::uint16_t readFirst, std::uint16_t readCount,
                                           std::uint16_t writeFirst,
                                           std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out{regmap::kReadWriteMultipleRegisters};
    PutWord(out, readFirst);
    PutWord(out, readCount);
    PutWord(out, writeFirst);
    PutWord(out, std::uint16_t(data.size() / 2));
    out.push_back(std::uint8_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::optional<std::span<const std::uint8_t>> ReadAnswerData(std::span<const std::uint8_t> answer,
                                                            std::uint8_t function,
                                                            std::uint16_t count, std::string* why) {
    if (IsException(answer, function, why)) {
        return std::nullopt;
    }
    if (answer.size() < 2 || answer[0] != function) {
        Fail(why, "answer to another function");
        return std::nullopt;
    }
    if (answer[1] != 2 * count || answer.size() != ReadAnswerLength(count)) {
        Fail(why, "answer of wrong length");
        return std::nullopt;
    }
    return answer.subspan(2);
}

bool WriteAnswerOk(std::span<const std::uint8_t> answer, std::uint16_t first, std::uint16_t count,
                   std::string* why) {
    if (IsException(answer, regmap::kWriteMultipleRegisters, why)) {
        return false;
    }
    if (answer.empty() || answer[0] != regmap::kWriteMultipleRegisters) {
        return Fail(why, "answer to another function");
    }
    if (answer.size() != WriteAnswerLength()) {
        return Fail(why, "answer of wrong length");
    }
    if (WordAt(answer, 1) != first || WordAt(answer, 3) != count) {
        return Fail(why, "answer for other registers");
    }
    return true;
}

} // namespace kt41::driver::pdu
