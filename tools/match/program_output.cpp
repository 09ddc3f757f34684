#include "program_output.h"
#include "client/engine_process.h"
#include "client/line_reader.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int exit_wait_ms = 60 * 60 * 1000;

} // namespace

int run_and_collect(const std::vector<std::string> &argv, std::string *output) {
    output->clear();
    engine_process program;
    std::string error;
    if (!start_process(argv, &program, &error)) return -1;
    close(program.to_engine);
    program.to_engine = -1;
    line_reader reader;
    reader.fd = program.from_engine;
    std::string line;
    while (read_line(&reader, &line, engine_clock::time_point::max()) == read_result::line)
        *output += line + "\n";
    if (!process_ended(&program, exit_wait_ms)) return -1;
    return WIFEXITED(program.exit_status) ? WEXITSTATUS(program.exit_status) : -1;
}
