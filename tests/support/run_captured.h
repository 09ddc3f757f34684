// Runs code that reads standard input, prints and may end the process, in a child process
// with the given input; returns its exit status (42 when the code returned) and output.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct captured_run {
    int status;
    std::string output;
};

constexpr int returned_normally = 42;

template <typename Body> captured_run run_captured(Body body, const std::string &input = "") {
    char in_name[] = "/tmp/vartok-test-in-XXXXXX";
    char out_name[] = "/tmp/vartok-test-out-XXXXXX";
    const int in_fd = mkstemp(in_name);
    const int out_fd = mkstemp(out_name);
    if (in_fd < 0 || out_fd < 0) return {-1, "cannot create temporary files"};
    if (write(in_fd, input.data(), input.size()) != static_cast<ssize_t>(input.size()))
        return {-1, "cannot write input"};
    close(in_fd);
    close(out_fd);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen(in_name, "r", stdin) || !std::freopen(out_name, "w", stdout)) _exit(99);
        body();
        std::fflush(stdout);
        _exit(returned_normally);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    std::ifstream out_file(out_name, std::ios::binary);
    std::stringstream text;
    text << out_file.rdbuf();
    std::remove(in_name);
    std::remove(out_name);
    return {WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus), text.str()};
}
