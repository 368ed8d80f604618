#pragma once

#include <functional>
#include <string>

namespace kt41::testing {

// How a child process of RunInChild ended.
struct ChildEnd {
    bool Exited = false; // through its own exit; ExitStatus holds the status
    int ExitStatus = -1;
    int Signal = 0;     // the signal that ended it otherwise
    bool Traced = true; // false: the child could not be traced (see below)
    std::string Report; // what the body put into its report
};

// Runs `body` in a forked child process and waits for it to end. The body's
// result is the child's exit status; the text it leaves in `report` comes back
// in ChildEnd::Report (keep it short: it travels through a pipe).
//
// With killAtSystemCall N > 0 the child is traced and killed with SIGKILL
// when it is about to make its N-th system call, counted from just before the
// body starts; a body that makes fewer calls ends on its own. Traced is false
// when the system does not let the child be traced.
ChildEnd RunInChild(const std::function<int(std::string& report)>& body, int killAtSystemCall = 0);

} // namespace kt41::testing
