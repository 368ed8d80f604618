#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace kt41::testing {

namespace {

constexpr int kCannotTrace = 121; // exit status of a child that could not be traced

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += std::size_t(n);
    }
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return text;
        }
        text.append(buffer, std::size_t(n));
    }
}

ChildEnd Ended(int status) {
    ChildEnd end;
    if (WIFEXITED(status)) {
        end.Exited = true;
        end.ExitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.Signal = WTERMSIG(status);
    }
    return end;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Waits until the child has ended for good (it may stop on the way).
ChildEnd WaitForEnd(pid_t pid) {
    for (;;) {
        const int status = WaitFor(pid);
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            return Ended(status);
        }
    }
}

// Resumes the traced child from system call stop to system call stop and kills
// it at the entry of the killAt-th call. Entry and exit stops alternate.
ChildEnd TraceAndKill(pid_t pid, int killAt) {
    int status = WaitFor(pid); // the child's own SIGSTOP
    if (!WIFSTOPPED(status)) {
        ChildEnd end = Ended(status);
        end.Traced = !(end.Exited && end.ExitStatus == kCannotTrace);
        return end;
    }
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int entered = 0;
    bool inside = false;
    int deliver = 0; // the SIGSTOP that stopped it is not passed on
    for (;;) {
        ptrace(PTRACE_SYSCALL, pid, nullptr, deliver);
        deliver = 0;
        status = WaitFor(pid);
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            return Ended(status);
        }
        const int stop = WSTOPSIG(status);
        if (stop != (SIGTRAP | 0x80)) {
            deliver = stop; // a signal for the child: pass it on
            continue;
        }
        inside = !inside;
        if (inside && ++entered == killAt) {
            kill(pid, SIGKILL);
            return WaitForEnd(pid);
        }
    }
}

} // namespace

ChildEnd RunInChild(const std::function<int(std::string& report)>& body, int killAtSystemCall) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(report[0]);
        close(report[1]);
        return {};
    }
    if (pid == 0) {
        close(report[0]);
        if (killAtSystemCall > 0) {
            if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
                _exit(kCannotTrace);
            }
            raise(SIGSTOP);
        }
        std::string text;
        const int status = body(text);
        WriteAll(report[1], text);
        _exit(status);
    }
    close(report[1]);
    ChildEnd end = killAtSystemCall > 0 ? TraceAndKill(pid, killAtSystemCall) : WaitForEnd(pid);
    end.Report = ReadAll(report[0]);
    close(report[0]);
    return end;
}

} // namespace kt41::testing
