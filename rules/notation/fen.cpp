#include "rules/notation/fen.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/notation.h"
#include "rules/notation/shown_text.h"
#include "rules/position_key.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

constexpr uint8_t white_back_row = 7;
constexpr uint8_t black_back_row = 0;
constexpr uint8_t king_col = 4;

bool parse_number(const std::string &text, uint32_t *out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    *out = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

// A king or rook on its original square keeps a clear has-moved flag only with the right.
void apply_castling_flags(board &brd, const std::string &rights) {
    struct home {
        uint8_t row, col;
        uint8_t tile;
        const char *granted_by;
    };
    const home homes[] = {
        {white_back_row, king_col, type_king, "KQ"},
        {white_back_row, 7, type_rook, "K"},
        {white_back_row, 0, type_rook, "Q"},
        {black_back_row, king_col, type_king | black_bit, "kq"},
        {black_back_row, 7, type_rook | black_bit, "k"},
        {black_back_row, 0, type_rook | black_bit, "q"},
    };
    for (auto &row : brd.tiles)
        for (uint8_t &tile : row)
            if ((tile & type_mask) == type_king || (tile & type_mask) == type_rook)
                tile |= has_moved_flag;
    for (const home &h : homes) {
        uint8_t &tile = brd.tiles[h.row][h.col];
        if ((tile & piece_mask) != h.tile) continue;
        if (rights.find_first_of(h.granted_by) != std::string::npos) tile &= ~has_moved_flag;
    }
}

// Flags the pawn that has just made the two-square step past `square` (rank 3 or 6), so
// that it can be taken en passant. A square that no such step can have crossed is ignored,
// as readers of the notation do: returns why, or an empty text when the pawn was flagged.
std::string mark_double_step(board *brd, uint8_t turn, const std::string &square) {
    // The side that just moved went from its second rank to its fourth, over `square`.
    const bool black_moved = turn == side_white;
    const char passed_rank = black_moved ? '6' : '3';
    if (square[1] != passed_rank)
        return std::string("with ") + (black_moved ? "White" : "Black") +
               " to move it must be on rank " + passed_rank;
    // The pawn's start square is one rank beyond `square`, the pawn one rank short of it.
    const int beyond = black_moved ? 1 : -1;
    const std::string start{square[0], static_cast<char>(passed_rank + beyond)};
    const std::string landing{square[0], static_cast<char>(passed_rank - beyond)};
    const int col = square[0] - 'a';
    const int passed_row = '8' - passed_rank;
    if (brd->tiles[passed_row][col] != 0) return square + " is not empty";
    if (brd->tiles[passed_row - beyond][col] != 0)
        return start + ", where the pawn started, is not empty";
    uint8_t &pawn = brd->tiles[passed_row + beyond][col];
    if ((pawn & piece_mask) != (type_pawn | (black_moved ? black_bit : 0)))
        return std::string("no ") + (black_moved ? "black" : "white") + " pawn stands on " +
               landing;
    pawn |= en_passant_flag | has_moved_flag;
    return {};
}

} // namespace

bool load_fen(const std::string &fen, fen_position *out, std::string *error, std::string *ignored) {
    if (ignored) ignored->clear();
    std::istringstream in(fen);
    std::string placement, side, castling = "-", en_passant = "-", half = "0", full = "1";
    in >> placement >> side;
    if (placement.empty() || side.empty()) {
        *error = "A position needs at least the placement and the side to move.";
        return false;
    }
    in >> castling >> en_passant >> half >> full;

    fen_position pos{};
    int row = 0, col = 0;
    for (char c : placement) {
        if (c == '/') {
            if (col != board_size || ++row >= board_size) break;
            col = 0;
        } else if (c >= '1' && c <= '8') {
            col += c - '0';
            if (col > board_size) break;
        } else {
            const int type = piece_type_of_letter(c);
            if (type == 0 || col >= board_size) {
                *error = "Unknown piece letter or too many squares: '" + shown_character(c) + "'.";
                return false;
            }
            const bool black = std::islower(static_cast<unsigned char>(c));
            uint8_t tile = static_cast<uint8_t>(type | (black ? black_bit : 0));
            if (type == type_pawn) {
                if (is_last_row(row)) {
                    *error = "A pawn cannot stand on the first or last rank.";
                    return false;
                }
                const int start_row = black ? 1 : 6;
                tile = static_cast<uint8_t>((black ? black_bit : 0) |
                                            (row == start_row ? type_pawn_unmoved : type_pawn));
            }
            pos.board.tiles[row][col++] = tile;
        }
    }
    if (row != board_size - 1 || col != board_size) {
        *error = "The placement must describe eight ranks of eight squares.";
        return false;
    }
    if (side != "w" && side != "b") {
        *error = "The side to move must be w or b.";
        return false;
    }
    pos.turn = side == "b" ? side_black : side_white;
    for (char c : castling)
        if (c != '-' && std::string("KQkq").find(c) == std::string::npos) {
            *error = "Castling rights must be - or letters of KQkq.";
            return false;
        }
    apply_castling_flags(pos.board, castling);

    if (en_passant != "-") {
        if (en_passant.size() != 2 || en_passant[0] < 'a' || en_passant[0] > 'h' ||
            (en_passant[1] != '3' && en_passant[1] != '6')) {
            *error = "The en-passant square must be - or a square on rank 3 or 6.";
            return false;
        }
        const std::string why = mark_double_step(&pos.board, pos.turn, en_passant);
        if (!why.empty() && ignored)
            *ignored = "the en-passant square " + en_passant + " is ignored: " + why;
    }
    if (!parse_number(half, &pos.halfmoves) || !parse_number(full, &pos.fullmoves)) {
        *error = "The move counters must be numbers.";
        return false;
    }
    int kings[2] = {0, 0};
    for (auto &r : pos.board.tiles)
        for (uint8_t t : r)
            if ((t & type_mask) == type_king) kings[(t & black_bit) ? 1 : 0]++;
    if (kings[0] != 1 || kings[1] != 1) {
        *error = "Each side needs exactly one king.";
        return false;
    }
    *out = pos;
    return true;
}

const char *unreachable_position(const fen_position &pos) {
    const coord white_king = find_king(&pos.board, side_white);
    const coord black_king = find_king(&pos.board, side_black);
    const int rows_apart = std::abs(white_king.row - black_king.row);
    const int cols_apart = std::abs(white_king.col - black_king.col);
    if (rows_apart <= 1 && cols_apart <= 1) return "the kings stand next to each other";
    const coord resting_king = pos.turn == side_white ? black_king : white_king;
    if (king_threatened(&pos.board, &resting_king, resting_king))
        return "the side not to move is in check";
    return nullptr;
}

std::string format_fen(const fen_position &pos) {
    std::string out;
    std::string en_passant = "-";
    for (int row = 0; row < board_size; row++) {
        int empty = 0;
        for (int col = 0; col < board_size; col++) {
            const uint8_t tile = pos.board.tiles[row][col];
            if (tile == 0) {
                empty++;
                continue;
            }
            if (empty) out += static_cast<char>('0' + empty), empty = 0;
            const char letter = fen_piece_letters[tile & type_mask];
            out += (tile & black_bit) ? static_cast<char>(std::tolower(letter)) : letter;
            if (is_pawn(tile) && (tile & en_passant_flag)) {
                en_passant =
                    std::string(1, static_cast<char>('a' + col)) + ((tile & black_bit) ? '6' : '3');
            }
        }
        if (empty) out += static_cast<char>('0' + empty);
        if (row != board_size - 1) out += '/';
    }
    out += pos.turn ? " b " : " w ";
    std::string castling;
    const uint8_t rights = castling_rights(pos.board);
    if (rights & castle_white_king_side) castling += 'K';
    if (rights & castle_white_queen_side) castling += 'Q';
    if (rights & castle_black_king_side) castling += 'k';
    if (rights & castle_black_queen_side) castling += 'q';
    out += castling.empty() ? "-" : castling;
    out += ' ' + en_passant + ' ' + std::to_string(pos.halfmoves) + ' ' +
           std::to_string(pos.fullmoves);
    return out;
}
