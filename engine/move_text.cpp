#include "engine/move_text.h"

namespace {

constexpr size_t plain_length = 4;
constexpr size_t promotion_length = 5;

bool read_square(char file, char rank, coord *out) {
    if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return false;
    *out = coord{static_cast<uint8_t>('8' - rank), static_cast<uint8_t>(file - 'a')};
    return true;
}

uint8_t type_of_letter(char c) {
    switch (c) {
    case 'q':
        return type_queen;
    case 'r':
        return type_rook;
    case 'b':
        return type_bishop;
    case 'n':
        return type_knight;
    default:
        return 0;
    }
}

char letter_of_type(uint8_t type) {
    switch (type) {
    case type_queen:
        return 'q';
    case type_rook:
        return 'r';
    case type_bishop:
        return 'b';
    case type_knight:
        return 'n';
    default:
        return 0;
    }
}

} // namespace

bool parse_move_text(const std::string &text, uci_move *out) {
    if (text.size() != plain_length && text.size() != promotion_length) return false;
    uci_move m{};
    if (!read_square(text[0], text[1], &m.src) || !read_square(text[2], text[3], &m.dst))
        return false;
    if (text.size() == promotion_length) {
        m.ascend = type_of_letter(text[4]);
        if (m.ascend == 0) return false;
    }
    *out = m;
    return true;
}

std::string square_name(coord square) {
    return {static_cast<char>('a' + square.col), static_cast<char>('8' - square.row)};
}

std::string move_text(coord src, coord dst, uint8_t ascend) {
    std::string text = square_name(src) + square_name(dst);
    if (const char letter = letter_of_type(ascend)) text += letter;
    return text;
}
