// Programs run by the match tool: engines talked to line by line through pipes, and a
// checker whose whole output is collected.
#pragma once

#include <string>
#include <vector>

struct child_process {
    int pid = -1;
    int to_child = -1;   // its standard input
    int from_child = -1; // its standard output (and standard error)
    std::string pending; // read but not yet returned as a line
    std::string name;    // for messages
};

// Starts argv[0] with the other words as its arguments. False when it cannot be started.
bool start_child(child_process *child, const std::vector<std::string> &argv);

bool send_to_child(child_process *child, const std::string &line);

// The next line of the child's output, without its newline. False at the end of its output
// or when nothing comes for `timeout_ms`.
bool read_child_line(child_process *child, std::string *line, int timeout_ms);

// Closes its input and waits for it to end; returns its exit status (-1 if killed).
int finish_child(child_process *child);

// Runs a program to its end; its standard output and error go to `output`. Returns its
// exit status, or -1 when it could not be run.
int run_and_collect(const std::vector<std::string> &argv, std::string *output);
