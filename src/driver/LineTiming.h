#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace kt41::driver {

// How long the driver waits for an answer. On a serial line the waits grow with
// the frames' time on the wire at the port's baud rate; over TCP they are fixed.
// docs/protocol.md lists the resulting figures.
struct LineTimeouts {
    // Allowed for the controller to react once the request has left the line,
    // on top of the wire time of the request and of the expected answer.
    std::chrono::milliseconds Turnaround{200};
    // Allowed silence inside a frame, on top of ten character times.
    std::chrono::milliseconds ByteGap{50};
    // Modbus TCP: the whole transaction, from sending the request to the last
    // byte of its answer, and the silence allowed inside an answer.
    std::chrono::milliseconds TcpResponse{1000};
    std::chrono::milliseconds TcpByteGap{200};
    // Serial line: after an attempt without a whole answer, let a late answer
    // pass before the next request (ExchangeTimeouts::Recovery). Off for the
    // bus scan, where silence is the usual answer and is never repeated.
    bool WaitAfterSilence = true;
};

// The waits of the bus scan: a controller that is there answers an identity
// request within a few character times, so the turnaround allowed is short,
// and silence is not waited out a second time.
LineTimeouts ProbeTimeouts();

// The waits of one attempt at a transaction.
struct ExchangeTimeouts {
    // From sending the request to the last byte of its answer. An answer that
    // is not complete by then is refused, however steadily its bytes come.
    std::chrono::microseconds Limit;
    // Silence inside an answer frame that ends it as incomplete.
    std::chrono::microseconds Byte;
    // Serial line, after an attempt that ended without a whole answer: how long
    // stray bytes are left to arrive before the input is flushed, so that a late
    // answer is not taken for the answer to the next request.
    std::chrono::microseconds Recovery;
};

// Bits per character on the line: start bit, 8 data bits, no parity, 1 stop bit.
inline constexpr int kBitsPerCharacter = 10;
// Silence that ends an RTU frame, in characters (MODBUS over Serial Line V1.02, 2.5.1.1).
inline constexpr double kFrameGapCharacters = 3.5;
// Slave address and CRC around the PDU of an RTU frame.
inline constexpr std::size_t kRtuFrameOverhead = 3;

// Time that `characters` characters take on the line at `baud`.
std::chrono::microseconds WireTime(std::uint32_t baud, double characters);

// Waits of an RTU exchange whose request PDU has requestPdu bytes and whose
// correct answer has answerPdu bytes: the response timeout is the wire time of
// both frames and the frame gap between them plus Turnaround; the limit adds
// one byte timeout to it as a margin.
ExchangeTimeouts RtuExchangeTimeouts(const LineTimeouts& t, std::uint32_t baud,
                                     std::size_t requestPdu, std::size_t answerPdu);
ExchangeTimeouts TcpExchangeTimeouts(const LineTimeouts& t);

} // namespace kt41::driver
