#include "engine/uci_output.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex output_lock;

void send_formatted(const char *prefix, const char *format, va_list args) {
    std::lock_guard<std::mutex> guard(output_lock);
    std::fputs(prefix, stdout);
    std::vfprintf(stdout, format, args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void send_line(const char *format, ...) {
    va_list args;
    va_start(args, format);
    send_formatted("", format, args);
    va_end(args);
}

void send_info_string(const char *format, ...) {
    va_list args;
    va_start(args, format);
    send_formatted("info string ", format, args);
    va_end(args);
}
