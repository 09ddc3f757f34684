#include "display/data_files.h"

#include <climits>
#include <string>
#include <unistd.h>

#ifndef VARTOK_INSTALLED_DATA_DIR
#define VARTOK_INSTALLED_DATA_DIR "/usr/local/share/vartok"
#endif

namespace {

// <prefix>/bin/vartok keeps its data in <prefix>/share/vartok, wherever the prefix
// was moved to after installing.
std::string data_dir_beside_executable() {
    char path[PATH_MAX];
    ssize_t len = readlink("/proc/self/exe", path, sizeof path - 1);
    if (len <= 0) return {};
    std::string exe(path, size_t(len));
    size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return {};
    std::string bin_dir = exe.substr(0, slash);
    size_t parent = bin_dir.rfind('/');
    if (parent == std::string::npos || bin_dir.substr(parent + 1) != "bin") return {};
    return bin_dir.substr(0, parent) + "/share/vartok";
}

FILE *open_in(const std::string &dir, const char *filename) {
    if (dir.empty()) return nullptr;
    return std::fopen((dir + "/" + filename).c_str(), "rb");
}

} // namespace

FILE *open_data_file(const char *filename) {
    if (FILE *file = std::fopen(filename, "rb")) return file;
    // An absolute or explicitly relative path names one file only.
    if (filename[0] == '/' || filename[0] == '.') return nullptr;
    if (FILE *file = open_in(data_dir_beside_executable(), filename)) return file;
    return open_in(VARTOK_INSTALLED_DATA_DIR, filename);
}
