// The words file, $XDG_CONFIG_HOME/vartok/words (by default ~/.config/vartok/words): words a
// person wants every time, read before the command line, which overrides them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class words_file_state {
    read,       // its words are in `words` (there may be none)
    missing,    // there is no such file: nothing to read
    skipped,    // --no-config on the command line
    unreadable, // there, but it cannot be used: `error` says why
    untrusted,  // another user could change it or a folder above it: `error` says how
    no_home,    // no home folder, so no place for it
};

struct words_file {
    std::string path;
    words_file_state state = words_file_state::missing;
    std::string error;
    std::vector<std::string> words;
    std::vector<int> refused_lines; // lines holding a NUL byte, whose words are not taken
};

// Reads the words file unless the command line (without the program name) holds
// --no-config. Prints nothing.
words_file load_words_file(int argc, char **argv);

// The words of a file's text: separated by blanks and line ends; a word starting with "#"
// begins a comment to the end of its line. A line holding a NUL byte gives no word; its
// number is added to `refused_lines` when given.
std::vector<std::string> words_of_file_text(std::string_view text,
                                            std::vector<int> *refused_lines = nullptr);

// "/home/ann/.config/vartok/words (read)" and the like, for --help.
std::string describe_words_file(const words_file &file);
