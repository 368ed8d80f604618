#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Request building and answer checking for the three Modbus functions the
// driver uses. A PDU here is the function code followed by its data, without
// the unit address and the checksum or TCP header around it. Register values
// are big-endian on the wire, exactly like the driver's word blocks, so block
// bytes are copied in and out unchanged.

namespace kt41::driver::pdu {

// Function 03: read `count` registers from `first`.
std::vector<std::uint8_t> ReadRequest(std::uint16_t first, std::uint16_t count);
// Function 16: write the registers in `data` (2 bytes each) from `first`.
std::vector<std::uint8_t> WriteRequest(std::uint16_t first, std::span<const std::uint8_t> data);
// Function 23: write `data` from writeFirst, then read readCount from readFirst.
std::vector<std::uint8_t> ReadWriteRequest(std::uint16_t readFirst, std::uint16_t readCount,
                                           std::uint16_t writeFirst,
                                           std::span<const std::uint8_t> data);

// Length of the PDU that correctly answers each request.
constexpr std::size_t ReadAnswerLength(std::uint16_t count) {
    return 2 + 2 * std::size_t(count);
}
constexpr std::size_t WriteAnswerLength() {
    return 5;
}

// Whether `answer` is an exception reply to a request of `function`: the
// controller understood the request and refused it.
bool IsExceptionAnswer(std::span<const std::uint8_t> answer, std::uint8_t function);

// The register bytes of a correct answer to a function 03 or 23 request for
// `count` registers: function code echoed, byte count 2 * count, PDU of exactly
// that length. nullopt otherwise, with the reason in *why.
std::optional<std::span<const std::uint8_t>> ReadAnswerData(std::span<const std::uint8_t> answer,
                                                            std::uint8_t function,
                                                            std::uint16_t count, std::string* why);
// Whether `answer` correctly answers a function 16 request (echo of first and
// count, exact length).
bool WriteAnswerOk(std::span<const std::uint8_t> answer, std::uint16_t first, std::uint16_t count,
                   std::string* why);

} // namespace kt41::driver::pdu
