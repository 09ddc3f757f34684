#include "rules/notation/words.h"

#include <cctype>

namespace {

constexpr std::string_view blanks = " \t\r\n";

} // namespace

word_list split_words(std::string_view text) {
    word_list words;
    size_t at = 0;
    for (;;) {
        at = text.find_first_not_of(blanks, at);
        if (at == std::string_view::npos) return words;
        const size_t end = text.find_first_of(blanks, at);
        words.emplace_back(text.substr(at, end - at));
        if (end == std::string_view::npos) return words;
        at = end;
    }
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
