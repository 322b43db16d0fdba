// Waiting for a program a test started to end.
#pragma once

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>

// The exit status once the process ends within the time given; -2 when it ended by a signal,
// -1 when it did not end in time (it is then killed).
inline int WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}
