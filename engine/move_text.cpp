#include "engine/move_text.h"
#include "rules/notation/notation.h"

#include <cctype>

namespace {

constexpr size_t plain_length = 4;
constexpr size_t promotion_length = 5;

} // namespace

bool parse_move_text(const std::string &text, uci_move *out) {
    if (text.size() != plain_length && text.size() != promotion_length) return false;
    uci_move m{};
    if (!read_square_name(text[0], text[1], &m.src) || !read_square_name(text[2], text[3], &m.dst))
        return false;
    if (text.size() == promotion_length) {
        // Small letters only, as the protocol writes them.
        if (!std::islower(static_cast<unsigned char>(text[4]))) return false;
        m.ascend = ascension_of_letter(text[4]);
        if (m.ascend == 0) return false;
    }
    *out = m;
    return true;
}

std::string move_text(coord src, coord dst, uint8_t ascend) {
    std::string text = square_name(src) + square_name(dst);
    if (const char letter = coordinate_ascension_letters[ascend & type_mask]) text += letter;
    return text;
}
