#include "game/options/words_file.h"
#include "game/options/base_folders.h"
#include "game/options/folder_trust.h"
#include "game/options/game_options.h"

#include <algorithm>
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
bool read_small_file(const std::string &path, std::string *text, std::string *error, bool *missing,
                     const char **untrusted) {
    *missing = false;
    *untrusted = nullptr;
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
    } else if ((*untrusted = untrusted_reason(st))) {
        *error = *untrusted;
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

// The words of one line, up to a comment ("#" starting a word).
void words_of_line(std::string_view text, std::vector<std::string> *words) {
    size_t i = 0;
    while (i < text.size()) {
        if (is_blank(text[i])) {
            i++;
            continue;
        }
        if (text[i] == '#') return;
        const size_t start = i;
        while (i < text.size() && !is_blank(text[i])) i++;
        words->emplace_back(text.substr(start, i - start));
    }
}

bool skips_words_file(int argc, char **argv) {
    for (int i = 0; i < argc; i++)
        if (std::strcmp(argv[i], no_words_file_word) == 0) return true;
    return false;
}

} // namespace

std::vector<std::string> words_of_file_text(std::string_view text,
                                            std::vector<int> *refused_lines) {
    std::vector<std::string> words;
    size_t i = 0;
    for (int line = 1; i < text.size(); line++) {
        // A line holding a NUL byte would have a word cut short silently: none of its words
        // is taken.
        const size_t end = std::min(text.find('\n', i), text.size());
        if (text.substr(i, end - i).find('\0') != std::string_view::npos) {
            if (refused_lines) refused_lines->push_back(line);
        } else {
            words_of_line(text.substr(i, end - i), &words);
        }
        i = end + 1;
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
    const char *untrusted = nullptr;
    if (!read_small_file(file.path, &text, &file.error, &missing, &untrusted)) {
        file.state = missing     ? words_file_state::missing
                     : untrusted ? words_file_state::untrusted
                                 : words_file_state::unreadable;
        return file;
    }
    // Its words choose programs to run: a folder another user could change would let that
    // user choose them, as ssh reasons about its own files.
    const char *why = nullptr;
    if (const std::string folder = unsafe_folder(file.path.substr(0, file.path.rfind('/')), &why);
        !folder.empty()) {
        file.state = words_file_state::untrusted;
        file.error = "the folder " + folder + ": " + why;
        return file;
    }
    file.state = words_file_state::read;
    file.words = words_of_file_text(text, &file.refused_lines);
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
    case words_file_state::untrusted:
        return file.path + " (not read: " + file.error + ")";
    case words_file_state::no_home:
        break;
    }
    return "none (no home folder is known)";
}
