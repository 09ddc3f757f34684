#include "display/data_files.h"

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef VARTOK_INSTALLED_DATA_DIR
#define VARTOK_INSTALLED_DATA_DIR "/usr/local/share/vartok"
#endif

namespace {

// The folder of the running program (the build folder holds the data files beside the
// game), or empty where it cannot be told.
std::string executable_dir() {
    char path[PATH_MAX];
    ssize_t len = readlink("/proc/self/exe", path, sizeof path - 1);
    if (len <= 0) return {};
    std::string exe(path, size_t(len));
    size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return {};
    return exe.substr(0, slash);
}

// <prefix>/bin/vartok keeps its data in <prefix>/share/vartok, wherever the prefix
// was moved to after installing.
std::string installed_beside(const std::string &bin_dir) {
    size_t parent = bin_dir.rfind('/');
    if (parent == std::string::npos || bin_dir.substr(parent + 1) != "bin") return {};
    return bin_dir.substr(0, parent) + "/share/vartok";
}

// The folders searched after the working directory, in order; none for a path that is
// absolute or explicitly relative, which names one file only.
std::vector<std::string> other_places(const char *filename) {
    if (filename[0] == '/' || filename[0] == '.') return {};
    const std::string exe_dir = executable_dir();
    std::vector<std::string> dirs;
    for (const std::string &dir :
         {exe_dir, installed_beside(exe_dir), std::string(VARTOK_INSTALLED_DATA_DIR)})
        if (!dir.empty()) dirs.push_back(dir);
    return dirs;
}

} // namespace

FILE *open_data_file(const char *filename) {
    if (FILE *file = std::fopen(filename, "rb")) return file;
    for (const std::string &dir : other_places(filename))
        if (FILE *file = std::fopen((dir + "/" + filename).c_str(), "rb")) return file;
    return nullptr;
}

void report_missing_data_file(const char *filename) {
    std::string places = "the working folder";
    for (const std::string &dir : other_places(filename)) places += ", " + dir;
    std::fprintf(stderr, "vartok: cannot open the data file %s (looked in %s)\n", filename,
                 places.c_str());
}
