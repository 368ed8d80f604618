// The RTU server on a named serial device, driven by hand-made frames from the
// other end of a pseudo-terminal pair.
#include "simulator/SerialServer.h"
#include "simulator/Controller.h"
#include "simulator/RtuFrame.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kt41::sim {
namespace {

class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master_);
        ::unlockpt(master_);
        slave_ = ::ptsname(master_);
    }
    ~PtyPair() { ::close(master_); }
    const std::string& Slave() const { return slave_; }

    std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& frame, std::size_t want,
                                       int timeoutMs = 2000) {
        EXPECT_EQ(::write(master_, frame.data(), frame.size()), ssize_t(frame.size()));
        std::vector<std::uint8_t> answer;
        while (answer.size() < want) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) {
                break;
            }
            std::uint8_t chunk[256];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0) {
                break;
            }
            answer.insert(answer.end(), chunk, chunk + n);
        }
        return answer;
    }

private:
    int master_ = -1;
    std::string slave_;
};

TEST(SerialServer, AnswersOnTheDeviceAndHoldsIt) {
    PtyPair pair;
    Controller controller;
    SerialServer server(controller, pair.Slave(), 19200);
    EXPECT_THROW(SerialServer(controller, pair.Slave()), std::runtime_error); // locked

    const std::vector<std::uint8_t> read{0x03, 0x01, 0x00, 0x00, 0x04}; // identity w0..w3
    const auto answer = pair.Exchange(driver::frames::RtuFrame(1, read), 13);
    ASSERT_EQ(answer.size(), 13u);
    EXPECT_TRUE(driver::frames::RtuCrcOk(answer));
    EXPECT_EQ(std::vector<std::uint8_t>(answer.begin(), answer.begin() + 11),
              (std::vector<std::uint8_t>{0x01, 0x03, 0x08, 0x00, 41, 0x30, 0x39, 0x02, 0x03, 0x17,
                                         0x03}));
    // Garbage first, then a good frame: the server finds its feet again.
    std::vector<std::uint8_t> garbage{0x01, 0x2B, 0x00, 0x11};
    const auto frame = driver::frames::RtuFrame(1, read);
    EXPECT_TRUE(pair.Exchange(garbage, 1, 100).empty());
    EXPECT_EQ(pair.Exchange(frame, 13).size(), 13u);
}

TEST(SerialServer, ADeviceThatIsNoSerialLineIsRefused) {
    Controller controller;
    EXPECT_THROW(SerialServer(controller, "/dev/null"), std::runtime_error);
    EXPECT_THROW(SerialServer(controller, "/dev/kt41-none"), std::runtime_error);
}

} // namespace
} // namespace kt41::sim
