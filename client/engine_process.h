// An engine running as a child process: pipes both ways (its standard error joins its
// output), in a process group of its own so that a terminal's Ctrl-C does not reach it and
// whatever it starts ends with it. It is stopped and reaped when the record goes away,
// however the caller ends; and it dies with the program that started it. The program that
// starts engines becomes their children's subreaper: what an engine leaves running outside
// its group (setsid) is ended and reaped when it ends.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

struct engine_process {
    pid_t pid = -1;
    int to_engine = -1;   // its standard input, non-blocking
    int from_engine = -1; // its standard output and error
    int exit_status = -1; // how it ended, as waitpid tells, once it is reaped

    engine_process() = default;
    engine_process(const engine_process &) = delete;
    engine_process &operator=(const engine_process &) = delete;
    engine_process(engine_process &&other) noexcept;
    engine_process &operator=(engine_process &&other) noexcept;
    ~engine_process();
};

// Runs argv[0] (a path) with the other words as its arguments. False with the reason in
// `error` when it cannot be run. The engine is killed when the thread that started it
// ends (the kernel's parent-death signal follows the thread): start it from one that
// outlives it, such as the main thread.
bool start_process(const std::vector<std::string> &argv, engine_process *process,
                   std::string *error);

// Writes one line, waiting at most `timeout_ms` for room in the pipe. False when the engine
// has closed its input or does not read it.
bool send_line(engine_process *process, std::string_view line, int timeout_ms);

// True once the engine has ended, waiting for it up to `wait_ms` (it is then reaped, with
// whatever it left running in its process group, and `exit_status` set).
bool process_ended(engine_process *process, int wait_ms);

// Asks the engine to end with `quit_line`, waits up to `grace_ms`, then kills its whole
// process group, and reaps it. Safe to call on a process already stopped.
void stop_process(engine_process *process, std::string_view quit_line, int grace_ms);

// Reaps what engines left behind and has ended since (a process adopted while the engine
// runs, when its own parent ends first), so that no zombie waits for the engine's end.
void reap_ended_adoptees();

// "exit status 3", "killed by signal 9" ...
std::string describe_exit(int wait_status);
