#pragma once

#include <csignal>

namespace kt41::cli {

// While it lives, Ctrl+C (SIGINT) sets a flag instead of ending the program,
// so that a long command (watch, archive, scan) stops between two exchanges,
// keeps what it has and closes the port. The previous handling comes back when
// it ends. One at a time.
class InterruptFlag {
public:
    InterruptFlag();
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    bool Raised() const;

private:
    struct sigaction previous_ {};
};

} // namespace kt41::cli
