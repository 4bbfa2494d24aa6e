// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Work in a forked child process, waited for with a deadline so that a hang
// fails the test instead of stalling it.
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace testchild
{

inline pid_t Start(const std::function<int()> &work)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(work());
    return pid;
}

// The child's exit code; -1 when it died by a signal or was killed at the deadline.
inline int Wait(pid_t pid, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0)
            return -1;
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace testchild
