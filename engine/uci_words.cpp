#include "engine/uci_words.h"
#include "rules/notation/shown_text.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

std::string join_words(const word_list &words, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to && i < words.size(); i++) {
        if (!text.empty()) text += ' ';
        text += words[i];
    }
    return text;
}

size_t find_word(const word_list &words, size_t from, std::initializer_list<const char *> keys) {
    for (size_t i = from; i < words.size(); i++)
        for (const char *key : keys)
            if (words[i] == key) return i;
    return words.size();
}

bool parse_integer(const std::string &text, int64_t lowest, int64_t highest, int64_t *out) {
    if (text.empty()) return false;
    const size_t digits_from = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (digits_from == text.size()) return false;
    for (size_t i = digits_from; i < text.size(); i++)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (errno != 0 || v < lowest || v > highest) return false;
    *out = v;
    return true;
}
