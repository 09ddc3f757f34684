#include "rules/notation/coordinates.h"
#include "rules/notation/notation.h"

#include <cctype>

namespace {

constexpr size_t plain_length = 4;
constexpr size_t promotion_length = 5;

} // namespace

bool read_coordinates(std::string_view text, promotion_case letters, san_move *out) {
    if (text.size() != plain_length && text.size() != promotion_length) return false;
    san_move m{};
    if (!read_square_name(text[0], text[1], &m.src) || !read_square_name(text[2], text[3], &m.dst))
        return false;
    if (text.size() == promotion_length) {
        const char letter = text[4];
        if (letters == promotion_case::small_only &&
            !std::islower(static_cast<unsigned char>(letter)))
            return false;
        m.ascend = ascension_of_letter(letter);
        if (m.ascend == 0) return false;
    }
    *out = m;
    return true;
}

std::string coordinate_text(coord src, coord dst, uint8_t ascend) {
    std::string text = square_name(src) + square_name(dst);
    if (const char letter = coordinate_ascension_letters[ascend & type_mask]) text += letter;
    return text;
}
