// The table "The longest reply delay a controller may take" of
// docs/protocol.md, derived from the driver's own timeouts: the deadline of an
// attempt, less the worst wait for a quiet line before the request, less the
// wire time of the request and of the answer, is the time left to the
// controller between them. It does not depend on the size of the frames.
#include "driver/LineTiming.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kt41::driver {
namespace {

using std::chrono::microseconds;

TEST(ReplyDelay, IsTheFigureOfThePageForEveryBaudRateAndFrameSize) {
    struct Row {
        std::uint32_t Baud;
        double LongestDelayMs; // as the page gives it, to 0.1 ms
        double LongestPauseMs; // the byte timeout
    };
    const Row page[] = {
        {4800, 270.8, 70.8},  {9600, 260.4, 60.4},  {19200, 255.2, 55.2},
        {38400, 252.6, 52.6}, {57600, 251.7, 51.7}, {115200, 250.9, 50.9},
    };
    // Request and answer PDU sizes: connect, full contour read and write,
    // archive record (function 23).
    const std::pair<std::size_t, std::size_t> exchanges[] = {{5, 9}, {5, 242}, {246, 5}, {18, 40}};
    const LineTimeouts defaults;
    for (const Row& row : page) {
        for (const auto& [request, answer] : exchanges) {
            SCOPED_TRACE(testing::Message() << row.Baud << " baud, " << request << "/" << answer);
            const ExchangeTimeouts t = RtuExchangeTimeouts(defaults, row.Baud, request, answer);
            const microseconds left = t.Limit - WireTime(row.Baud, kFrameGapCharacters) -
                                      WireTime(row.Baud, double(request + kRtuFrameOverhead)) -
                                      WireTime(row.Baud, double(answer + kRtuFrameOverhead));
            EXPECT_NEAR(double(left.count()) / 1000.0, row.LongestDelayMs, 0.06);
            EXPECT_NEAR(double(t.Byte.count()) / 1000.0, row.LongestPauseMs, 0.06);
        }
    }
}

} // namespace
} // namespace kt41::driver
