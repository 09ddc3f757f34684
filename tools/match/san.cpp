#include "san.h"
#include "position_facts.h"
#include "rules/move_generation.h"

namespace {

constexpr uint8_t first_row = 0, last_row = board_size - 1;

char piece_letter(uint8_t type) {
    switch (type) {
    case type_knight:
        return 'N';
    case type_bishop:
        return 'B';
    case type_rook:
        return 'R';
    case type_queen:
        return 'Q';
    case type_king:
        return 'K';
    default:
        return 0;
    }
}

// File, rank or both, whatever tells this piece from others of its kind that can go there.
std::string disambiguation(const game_state &game, const uci_move &m) {
    const struct board &b = game.board;
    const uint8_t piece = b.tiles[m.src.row][m.src.col] & piece_mask;
    bool rival = false, same_file = false, same_rank = false;
    for (const uci_move &other : legal_moves_of(game)) {
        if (other.dst != m.dst || other.src == m.src) continue;
        if ((b.tiles[other.src.row][other.src.col] & piece_mask) != piece) continue;
        rival = true;
        same_file |= other.src.col == m.src.col;
        same_rank |= other.src.row == m.src.row;
    }
    if (!rival) return "";
    const std::string square = square_name(m.src);
    if (!same_file) return square.substr(0, 1);
    if (!same_rank) return square.substr(1, 1);
    return square;
}

} // namespace

std::string san_of(const game_state &game, const uci_move &m) {
    const struct board &b = game.board;
    const uint8_t tile = b.tiles[m.src.row][m.src.col];
    const uint8_t type = piece_type(tile);
    const int col_change = m.dst.col - m.src.col;
    std::string san;
    if (type == type_king && (col_change == 2 || col_change == -2)) {
        san = col_change > 0 ? "O-O" : "O-O-O";
    } else if (is_pawn(tile)) {
        // A pawn changing file captures, en passant included.
        if (col_change != 0) san = square_name(m.src).substr(0, 1) + "x";
        san += square_name(m.dst);
        if (m.dst.row == first_row || m.dst.row == last_row) {
            san += '=';
            san += piece_letter(m.ascend);
        }
    } else {
        san = piece_letter(type);
        san += disambiguation(game, m);
        if (b.tiles[m.dst.row][m.dst.col] != 0) san += 'x';
        san += square_name(m.dst);
    }
    game_state after = game;
    std::string problem;
    play_move_text(&after, move_text(m.src, m.dst, m.ascend), &problem);
    const side_status status = status_of(after);
    if (status.checked) san += status.mobile ? "+" : "#";
    return san;
}
