// A standard Modbus client we did not write (Debian's mbpoll) reads a block
// from the simulator and gets the same words, over TCP and over RTU on a
// pseudo-terminal.
#include "simulator/Controller.h"
#include "simulator/PtyServer.h"
#include "simulator/TcpServer.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <unistd.h>

namespace kt41::sim {
namespace {

constexpr const char* kMbpoll = "/usr/bin/mbpoll";

// Runs mbpoll for `count` holding registers from `first` (0-based) and returns
// the values it printed.
std::vector<std::uint16_t> Mbpoll(const std::string& where, std::uint16_t first,
                                  std::uint16_t count) {
    const std::string command = std::string(kMbpoll) + " " + where + " -a 1 -t 4:hex -0 -r " +
                                std::to_string(first) + " -c " + std::to_string(count) +
                                " -1 -o 2 2>&1";
    FILE* out = ::popen(command.c_str(), "r");
    if (out == nullptr) {
        return {};
    }
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
        text.append(chunk, n);
    }
    ::pclose(out);
    std::vector<std::uint16_t> values;
    const std::regex line(R"(\[(\d+)\]:\s+0x([0-9A-Fa-f]{4}))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
         it != std::sregex_iterator(); ++it) {
        values.push_back(std::uint16_t(std::stoul((*it)[2].str(), nullptr, 16)));
    }
    if (values.size() != count) {
        ADD_FAILURE() << command << "\n" << text;
    }
    return values;
}

class StandardClient : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kMbpoll, X_OK) != 0) {
            GTEST_SKIP() << "mbpoll is not installed";
        }
    }
    Controller controller;
};

TEST_F(StandardClient, ReadsTheFullContourBlockOverTcp) {
    TcpServer tcp(controller);
    const auto range = driver::regmap::ContourBlock(1);
    EXPECT_EQ(
        Mbpoll("-m tcp -p " + std::to_string(tcp.Port()) + " 127.0.0.1", range.First, range.Count),
        controller.Words(Block::Contour, 1));
}

TEST_F(StandardClient, ReadsTheDeviceParametersOverRtu) {
    PtyServer pty(controller);
    const auto range = driver::regmap::kDeviceParams;
    EXPECT_EQ(Mbpoll("-m rtu -b 9600 -P none " + pty.SlavePath(), range.First, range.Count),
              controller.Words(Block::DeviceParams));
}

} // namespace
} // namespace kt41::sim
