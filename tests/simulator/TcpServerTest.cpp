// The Modbus TCP server with hand-made MBAP frames from plain sockets.
#include "simulator/TcpServer.h"
#include "simulator/Controller.h"

#include "driver/RegisterMap.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kt41::sim {
namespace {

namespace regmap = driver::regmap;

// A client socket connected to the server.
class Client {
public:
    explicit Client(std::uint16_t port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return connected_; }

    void Send(const std::vector<std::uint8_t>& frame) {
        EXPECT_EQ(::send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL), ssize_t(frame.size()));
    }

    // What arrives until `want` bytes are in or the line stays quiet for
    // `quietMs`.
    std::vector<std::uint8_t> Receive(std::size_t want, int quietMs = 2000) {
        std::vector<std::uint8_t> bytes;
        while (bytes.size() < want) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) {
                break;
            }
            std::uint8_t chunk[512];
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

// A function 03 request in an MBAP frame.
std::vector<std::uint8_t> ReadFrame(std::uint16_t transaction, std::uint16_t first,
                                    std::uint16_t count) {
    return {std::uint8_t(transaction >> 8),
            std::uint8_t(transaction),
            0,
            0,
            0,
            6,
            1,
            regmap::kReadHoldingRegisters,
            std::uint8_t(first >> 8),
            std::uint8_t(first),
            std::uint8_t(count >> 8),
            std::uint8_t(count)};
}

TEST(TcpServer, ServesSeveralClientsConnectedAtOnce) {
    Controller controller;
    TcpServer server(controller);
    const std::uint16_t serial = controller.Words(Block::Identity)[1];
    const std::vector<std::uint8_t> answer{
        0, 0, 0, 0, 0, 5, 1, 3, 2, std::uint8_t(serial >> 8), std::uint8_t(serial)};

    // Clients come one by one while the earlier ones stay connected, and each
    // is answered at once, under its own transaction number.
    std::vector<std::unique_ptr<Client>> clients;
    for (std::uint16_t n = 1; n <= 5; ++n) {
        clients.push_back(std::make_unique<Client>(server.Port()));
        ASSERT_TRUE(clients.back()->Connected());
        for (std::uint16_t k = 0; k < n; ++k) {
            SCOPED_TRACE("client " + std::to_string(k + 1) + " of " + std::to_string(n));
            const std::uint16_t transaction = std::uint16_t(100 * n + k);
            clients[k]->Send(ReadFrame(transaction, regmap::kIdentity.First + 1, 1));
            auto expected = answer;
            expected[0] = std::uint8_t(transaction >> 8);
            expected[1] = std::uint8_t(transaction);
            EXPECT_EQ(clients[k]->Receive(expected.size()), expected);
        }
    }
    // One goes away in the middle; the others are still served.
    clients.erase(clients.begin() + 2);
    for (auto& client : clients) {
        client->Send(ReadFrame(7, regmap::kIdentity.First + 1, 1));
        EXPECT_EQ(client->Receive(answer.size()).size(), answer.size());
    }
}

TEST(TcpServer, FaultsOfTheFrame) {
    // The identity's serial number under transaction 1, then its model word
    // under transaction 2 with the fault.
    const std::vector<std::uint8_t> first{0, 1, 0, 0, 0, 5, 1, 3, 2, 0x30, 0x39};
    const std::vector<std::uint8_t> second{0, 2, 0, 0, 0, 5, 1, 3, 2, 0x00, 41};
    auto withTransaction = [](std::vector<std::uint8_t> frame, std::uint8_t id) {
        frame[1] = id;
        return frame;
    };
    auto twice = second;
    twice.insert(twice.end(), second.begin(), second.end());
    struct Row {
        FaultKind Kind;
        std::vector<std::uint8_t> Received;
    };
    const Row rows[] = {
        {FaultKind::NextId, withTransaction(second, 3)},
        {FaultKind::RepeatPrevious, first},
        {FaultKind::AnswerTwice, twice},
        {FaultKind::Drip, second},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(FaultKindName(r.Kind)));
        Controller controller;
        Fault fault{r.Kind, "", 1, 1};
        fault.Gap = std::chrono::milliseconds(1);
        controller.AddFault(fault);
        TcpServer server(controller);
        Client client(server.Port());
        client.Send(ReadFrame(1, regmap::kIdentity.First + 1, 1));
        EXPECT_EQ(client.Receive(first.size()), first);
        client.Send(ReadFrame(2, regmap::kIdentity.First, 1));
        // One byte more than expected is asked for: nothing else may come.
        EXPECT_EQ(client.Receive(r.Received.size() + 1, 200), r.Received);
    }
}

} // namespace
} // namespace kt41::sim
