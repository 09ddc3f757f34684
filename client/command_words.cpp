#include "client/command_words.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view games_directory = "/usr/games";

bool runnable_file(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string find_program(const std::string &program, std::string_view search_path) {
    if (program.empty()) return "";
    if (program.find('/') != std::string::npos) return runnable_file(program) ? program : "";
    std::vector<std::string_view> directories;
    for (size_t at = 0; at <= search_path.size();) {
        const size_t colon = std::min(search_path.find(':', at), search_path.size());
        // An empty entry would mean the current directory: not a place to pick engines from.
        if (colon > at) directories.push_back(search_path.substr(at, colon - at));
        at = colon + 1;
    }
    directories.push_back(games_directory);
    for (std::string_view directory : directories) {
        const std::string path = std::string(directory) + "/" + program;
        if (runnable_file(path)) return path;
    }
    return "";
}
