#pragma once

#include <chrono>
#include <functional>

namespace kt41::cli {

// Runs poll at once and then once every period until the user presses Ctrl+C
// (SIGINT), and returns how often it ran. While it runs, SIGINT only sets a
// flag, which is looked at between two polls and throughout each wait, so an
// interrupt ends the wait at once and a poll under way is finished first. The
// previous SIGINT handling is restored on return.
int RepeatUntilInterrupted(std::chrono::milliseconds period, const std::function<void()>& poll);

} // namespace kt41::cli
