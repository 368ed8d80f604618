#include "InterruptFlag.h"

namespace kt41::cli {

namespace {

volatile std::sig_atomic_t raised = 0;

extern "C" void OnInterrupt(int) {
    raised = 1;
}

} // namespace

InterruptFlag::InterruptFlag() {
    raised = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previous_);
}

InterruptFlag::~InterruptFlag() {
    sigaction(SIGINT, &previous_, nullptr);
}

bool InterruptFlag::Raised() const {
    return raised != 0;
}

} // namespace kt41::cli
