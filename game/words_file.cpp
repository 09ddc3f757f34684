#include "game/words_file.h"
#include "game/base_folders.h"
#include "game/settings.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A list of words is a few hundred bytes; anything far larger is not one.
constexpr off_t longest_words_file = 64 * 1024;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads a regular file of at most longest_words_file bytes. Opened without blocking, so
// that a FIFO put there cannot hold the game.
bool read_small_file(const std::string &path, std::string *text, std::string *error,
                     bool *missing) {
    *missing = false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *missing = errno == ENOENT || errno == ENOTDIR;
        *error = std::strerror(errno);
        return false;
    }
    struct stat st;
    bool ok = false;
    if (fstat(fd, &st) != 0) {
        *error = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        *error = "not a regular file";
    } else if (st.st_size > longest_words_file) {
        *error = "longer than " + std::to_string(longest_words_file / 1024) + " KiB";
    } else {
        text->resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        ok = true;
        while (got < text->size()) {
            const ssize_t n = read(fd, text->data() + got, text->size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                *error = std::strerror(errno);
                ok = false;
                break;
            }
            if (n == 0) break; // the file shrank meanwhile: what was there is read
            got += static_cast<size_t>(n);
        }
        text->resize(got);
    }
    close(fd);
    return ok;
}

bool skips_words_file(int argc, char **argv) {
    for (int i = 0; i < argc; i++)
        if (std::strcmp(argv[i], no_words_file_word) == 0) return true;
    return false;
}

} // namespace

std::vector<std::string> words_of_file_text(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (is_blank(text[i])) {
            i++;
            continue;
        }
        if (text[i] == '#') { // a comment, up to the line's end
            while (i < text.size() && text[i] != '\n') i++;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && !is_blank(text[i])) i++;
        words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

words_file load_words_file(int argc, char **argv) {
    words_file file;
    const std::string base = base_folder("XDG_CONFIG_HOME", "/.config");
    if (base.empty()) {
        file.state = words_file_state::no_home;
        return file;
    }
    file.path = base + "/vartok/words";
    if (skips_words_file(argc, argv)) {
        file.state = words_file_state::skipped;
        return file;
    }
    std::string text;
    bool missing = false;
    if (!read_small_file(file.path, &text, &file.error, &missing)) {
        file.state = missing ? words_file_state::missing : words_file_state::unreadable;
        return file;
    }
    file.state = words_file_state::read;
    file.words = words_of_file_text(text);
    return file;
}

std::string describe_words_file(const words_file &file) {
    switch (file.state) {
    case words_file_state::read:
        return file.path + " (read)";
    case words_file_state::missing:
        return file.path + " (not there, so not read)";
    case words_file_state::skipped:
        return file.path + " (not read: --no-config)";
    case words_file_state::unreadable:
        return file.path + " (not read: " + file.error + ")";
    case words_file_state::no_home:
        break;
    }
    return "none (no home folder is known)";
}
