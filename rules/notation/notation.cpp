#include "rules/notation/notation.h"

#include <cctype>

std::string square_name(coord square) {
    return {static_cast<char>('a' + square.col), static_cast<char>('8' - square.row)};
}

bool read_square_name(char file, char rank, coord *out) {
    if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return false;
    *out = coord{static_cast<uint8_t>('8' - rank), static_cast<uint8_t>(file - 'a')};
    return true;
}

uint8_t piece_type_of_letter(char letter) {
    const char capital = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (capital == 'P') return type_pawn;
    for (uint8_t type = type_rook; type <= type_king; type++)
        if (san_piece_letters[type] == capital) return type;
    return 0;
}

uint8_t ascension_of_letter(char letter) {
    const uint8_t type = piece_type_of_letter(letter);
    return type >= type_rook && type <= type_queen ? type : 0;
}

uint32_t half_move_number(uint32_t fullmove, uint8_t side) {
    return 2 * (fullmove - 1) + 1 + (side ? 1 : 0);
}

uint32_t full_move_number(uint32_t half_move) {
    return (half_move + 1) / 2;
}

std::string move_number_label(uint32_t half_move) {
    const bool white = (half_move & 1) != 0;
    return std::to_string(full_move_number(half_move)) + (white ? "." : "...");
}
