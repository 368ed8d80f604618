#include "LineTiming.h"

#include <algorithm>
#include <cmath>

namespace kt41::driver {

using std::chrono::microseconds;

microseconds WireTime(std::uint32_t baud, double characters) {
    const double bauds = double(std::max<std::uint32_t>(baud, 1));
    return microseconds(std::llround(characters * kBitsPerCharacter * 1e6 / bauds));
}

ExchangeTimeouts RtuExchangeTimeouts(const LineTimeouts& t, std::uint32_t baud,
                                     std::size_t requestPdu, std::size_t answerPdu) {
    const double wire = double(requestPdu + kRtuFrameOverhead) + kFrameGapCharacters +
                        double(answerPdu + kRtuFrameOverhead);
    const microseconds response = WireTime(baud, wire) + t.Turnaround;
    ExchangeTimeouts e{};
    e.Byte = WireTime(baud, 10) + t.ByteGap;
    e.Limit = response + e.Byte;
    e.Recovery = t.WaitAfterSilence ? response : microseconds(0);
    return e;
}

LineTimeouts ProbeTimeouts() {
    LineTimeouts t;
    t.Turnaround = std::chrono::milliseconds(40);
    t.ByteGap = std::chrono::milliseconds(10);
    t.TcpResponse = std::chrono::milliseconds(250);
    t.TcpByteGap = std::chrono::milliseconds(100);
    t.WaitAfterSilence = false;
    return t;
}

ExchangeTimeouts TcpExchangeTimeouts(const LineTimeouts& t) {
    ExchangeTimeouts e{};
    e.Limit = t.TcpResponse;
    e.Byte = t.TcpByteGap;
    e.Recovery = microseconds(0); // late answers are told apart by their transaction id
    return e;
}

} // namespace kt41::driver
