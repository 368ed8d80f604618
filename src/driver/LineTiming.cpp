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
    ExchangeTimeouts e{};
    e.Response = WireTime(baud, wire) + t.Turnaround;
    e.Byte = WireTime(baud, 10) + t.ByteGap;
    e.Recovery = e.Response;
    return e;
}

ExchangeTimeouts TcpExchangeTimeouts(const LineTimeouts& t) {
    ExchangeTimeouts e{};
    e.Response = t.TcpResponse;
    e.Byte = t.TcpByteGap;
    e.Recovery = microseconds(0); // the connection is reopened instead
    return e;
}

} // namespace kt41::driver
