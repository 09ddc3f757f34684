// libFuzzer over what an engine sends: any bytes, cut into lines by the client's line
// reader, then read as every UCI and xboard line is, and the thinking described as the game
// prints it. Built with AddressSanitizer and UndefinedBehaviorSanitizer, which stop at the
// first fault.
#include "client/line_reader.h"
#include "client/uci_lines.h"
#include "client/xboard_lines.h"

#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

void read_as_protocol_line(const std::string &line, engine_thinking *uci, engine_thinking *xboard) {
    std::string text;
    read_uci_id_name(line, &text);
    read_uci_option_name(line, &text);
    read_uci_bestmove(line, &text);
    read_uci_info(line, uci);
    read_features(line);
    read_xboard_move(line, &text);
    read_xboard_thinking(line, xboard);
    is_game_end_claim(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The pipe holds the whole input (the fuzzer is run with -max_len below its 64 KB).
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return 0;
    size_t written = 0;
    while (written < size) {
        const ssize_t n = write(fds[1], data + written, size - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    close(fds[1]);
    line_reader reader;
    reader.fd = fds[0];
    engine_thinking uci, xboard;
    std::string line;
    const auto deadline = engine_clock::now() + std::chrono::seconds(10);
    while (read_line(&reader, &line, deadline) == read_result::line)
        read_as_protocol_line(line, &uci, &xboard);
    close(fds[0]);
    describe_thinking(uci);
    describe_thinking(xboard);
    return 0;
}
