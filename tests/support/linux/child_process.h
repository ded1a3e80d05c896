#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

// Runs `body` in a child process and returns its wait status, or nullopt when it has not ended in
// 10 s (it is then killed), so that a step that blocks cannot hang a test.
inline std::optional<int> RunInChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    for (int polls = 0; polls < 1000; ++polls) {
        if (::waitpid(child, &status, WNOHANG) != 0) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return std::nullopt;
}
