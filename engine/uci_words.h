// A command line of the protocol as words, and the numbers in it.
#pragma once

#include "rules/notation/notation.h"
#include "rules/notation/words.h"

#include <cstdint>
#include <string>
#include <vector>

// words[from..to) joined by single spaces.
std::string join_words(const word_list &words, size_t from, size_t to);

// The index of the first of `keys` at or after `from`, or words.size().
size_t find_word(const word_list &words, size_t from, std::initializer_list<const char *> keys);

// A whole decimal integer (an optional sign, then digits only) within [lowest, highest].
bool parse_integer(const std::string &text, int64_t lowest, int64_t highest, int64_t *out);

// Text from the GUI as a message may quote it (see shown_text).
inline std::string shown(const std::string &text) {
    return shown_text(text);
}
