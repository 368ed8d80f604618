#include "TcpServer.h"

#include "Controller.h"

#include "driver/ModbusFrames.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kt41::sim {

namespace frames = driver::frames;

namespace {

constexpr char kStop = 's';
constexpr char kHold = 'h';
constexpr char kRelease = 'r';

std::uint8_t NextUnit(std::uint8_t unit) {
    return std::uint8_t(unit % 247 + 1);
}

void SendAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += std::size_t(n);
    }
}

} // namespace

TcpServer::TcpServer(Controller& controller, std::uint16_t port)
    : controller_(controller), port_(port), pacer_(controller.Options().EmulatedBaud) {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    Listen();
    if (listen_ < 0) {
        ::close(wake_[0]);
        ::close(wake_[1]);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                                 std::strerror(errno));
    }
    thread_ = std::thread([this] { Run(); });
}

TcpServer::~TcpServer() {
    const char stop = kStop;
    (void)!::write(wake_[1], &stop, 1);
    thread_.join();
    DropClients();
    if (listen_ >= 0) {
        ::close(listen_);
    }
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string TcpServer::PortName() const {
    return "tcp://127.0.0.1:" + std::to_string(port_);
}

void TcpServer::Listen() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return;
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen_ = fd;
}

void TcpServer::DropClients() {
    for (const Client& c : clients_) {
        ::close(c.Fd);
    }
    clients_.clear();
}

void TcpServer::Hold(bool held) {
    Command(held ? kHold : kRelease);
}

void TcpServer::Command(char command) {
    std::unique_lock lock(mutex_);
    const int ticket = ++commandsSent_;
    (void)!::write(wake_[1], &command, 1);
    applied_.wait(lock, [&] { return commandsApplied_ >= ticket; });
}

void TcpServer::Run() {
    for (;;) {
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
        for (const Client& c : clients_) {
            fds.push_back({c.Fd, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents != 0) {
            char commands[16];
            const ssize_t n = ::read(wake_[0], commands, sizeof commands);
            for (ssize_t i = 0; i < n; ++i) {
                if (commands[i] == kStop) {
                    return;
                }
                if (commands[i] == kHold && listen_ >= 0) {
                    ::close(listen_);
                    listen_ = -1;
                    DropClients();
                } else if (commands[i] == kRelease && listen_ < 0) {
                    Listen();
                }
                std::lock_guard lock(mutex_);
                ++commandsApplied_;
                applied_.notify_all();
            }
            continue; // the descriptor set may have changed
        }
        // fds[2 + k] is clients_[k] for the clients polled this round; a client
        // accepted below is polled from the next round on.
        const std::size_t polled = fds.size() - 2;
        std::vector<int> dropped;
        for (std::size_t k = 0; k < polled; ++k) {
            if ((fds[2 + k].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            Client& client = clients_[k];
            std::uint8_t chunk[512];
            const ssize_t n = ::recv(client.Fd, chunk, sizeof chunk, 0);
            bool keep = n > 0;
            if (keep) {
                client.Buffer.insert(client.Buffer.end(), chunk, chunk + n);
                keep = Serve(client);
            }
            if (!keep) {
                dropped.push_back(client.Fd);
            }
        }
        for (const int fd : dropped) {
            ::close(fd);
            std::erase_if(clients_, [fd](const Client& c) { return c.Fd == fd; });
        }
        if (listen_ >= 0 && (fds[1].revents & POLLIN) != 0) {
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                clients_.push_back({fd, {}, {}});
            }
        }
    }
}

bool TcpServer::WaitForCommand(std::chrono::milliseconds timeout) {
    pollfd p{wake_[0], POLLIN, 0};
    return ::poll(&p, 1, int(timeout.count())) > 0;
}

bool TcpServer::Drip(int fd, const std::vector<std::uint8_t>& frame,
                     std::chrono::milliseconds gap) {
    for (const std::uint8_t byte : frame) {
        if (WaitForCommand(gap)) {
            return false;
        }
        if (::send(fd, &byte, 1, MSG_NOSIGNAL) != 1) {
            return true; // the client has gone: the rest is not for anybody
        }
    }
    return true;
}

bool TcpServer::Serve(Client& client) {
    auto& b = client.Buffer;
    while (b.size() >= frames::kMbapHeader) {
        const frames::MbapHeader header = frames::ReadMbap(b);
        if (header.Following < 2 || header.Following > frames::kMaxPdu + 1) {
            return false; // the stream cannot be framed any more
        }
        if (b.size() < header.FrameBytes()) {
            return true;
        }
        const std::vector<std::uint8_t> adu(b.begin(), b.begin() + long(header.FrameBytes()));
        b.erase(b.begin(), b.begin() + long(header.FrameBytes()));
        if (header.Protocol != 0) {
            continue; // not Modbus
        }
        const auto pdu = std::span<const std::uint8_t>(adu).subspan(frames::kMbapHeader);
        pacer_.RequestArrived(pdu.size() + 3, LinePacer::Clock::now());
        const Reply reply = controller_.Handle(header.Unit, pdu);
        if (!reply.Send) {
            continue;
        }
        if (reply.Delay.count() > 0 && WaitForCommand(reply.Delay)) {
            return true; // a command is waiting; the answer is dropped
        }
        pacer_.AnswerTime(reply.Pdu.size() + 3);
        const std::optional<FaultKind> fault = reply.FrameFault;
        const std::uint16_t transaction =
            fault == FaultKind::NextId ? std::uint16_t(header.Transaction + 1) : header.Transaction;
        const std::uint8_t unit = fault == FaultKind::WrongUnit ? NextUnit(reply.Unit) : reply.Unit;
        std::vector<std::uint8_t> answer = frames::TcpFrame(transaction, unit, reply.Pdu);
        if (fault == FaultKind::BadCrc) {
            answer[3] = 0xFF; // no checksum over TCP: a garbled header instead
        } else if (fault == FaultKind::Truncated) {
            answer.resize(answer.size() / 2);
        } else if (fault == FaultKind::RepeatPrevious) {
            if (client.LastAnswer.empty()) {
                continue;
            }
            answer = client.LastAnswer;
        }
        client.LastAnswer = answer;
        if (fault == FaultKind::Drip) {
            if (!Drip(client.Fd, answer, reply.ByteGap)) {
                return true;
            }
            continue;
        }
        SendAll(client.Fd, answer);
        if (fault == FaultKind::AnswerTwice) {
            SendAll(client.Fd, answer);
        }
    }
    return true;
}

} // namespace kt41::sim
