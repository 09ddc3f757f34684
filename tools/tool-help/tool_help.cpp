#include "tools/tool-help/tool_help.h"

#include <cstdio>
#include <cstring>

int answer_help(int argc, char **argv, const char *usage) {
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            const bool written = std::fputs(usage, stdout) >= 0 && std::fflush(stdout) == 0;
            return written ? 0 : 1;
        }
    }
    return -1;
}
