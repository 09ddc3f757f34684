#include "tests/support/literal_rules.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace literal {
namespace {

constexpr uint8_t castle_left_white[5] = {3, 0, 0, 0, 7};
constexpr uint8_t castle_left_black[5] = {11, 0, 0, 0, 15};
constexpr uint8_t castle_right_white[4] = {7, 0, 0, 3};
constexpr uint8_t castle_right_black[4] = {15, 0, 0, 11};

uint8_t &tile(struct board *brd, int row, int col) {
    return brd->tiles[row][col];
}

void unset_enpass_bits(struct board *brd) {
    for (auto &row : brd->tiles)
        for (uint8_t &t : row) t &= 0xBF;
}

struct generator {
    const struct board *brd;
    coord pc;
    coord *retval;
    uint8_t *count;
    uint8_t colour; // colour bit of the moving piece
};

void add_move_to_list(generator &g, const coord *king_pos, uint8_t col, uint8_t row) {
    g.retval[*g.count] = coord{row, col};
    if (king_pos == nullptr) {
        (*g.count)++;
        return;
    }
    struct board temp = *g.brd;
    move_piece(&temp, g.pc, coord{row, col});
    if (king_threatened(&temp, king_pos, coord{row, col})) return;
    (*g.count)++;
}

bool candidate(const generator &g, int row, int col) {
    const uint8_t t = g.brd->tiles[row][col];
    return t == 0 || (t & 8) != g.colour;
}

void slide(generator &g, const coord *king_pos, int dr, int dc) {
    int row = g.pc.row + dr, col = g.pc.col + dc;
    while (row >= 0 && row < 8 && col >= 0 && col < 8) {
        const uint8_t t = g.brd->tiles[row][col];
        if (t == 0) {
            add_move_to_list(g, king_pos, static_cast<uint8_t>(col), static_cast<uint8_t>(row));
        } else {
            if ((t & 8) != g.colour)
                add_move_to_list(g, king_pos, static_cast<uint8_t>(col), static_cast<uint8_t>(row));
            return;
        }
        row += dr;
        col += dc;
    }
}

void legal_moves_rook(generator &g, const coord *king_pos) {
    slide(g, king_pos, 0, 1);
    slide(g, king_pos, 0, -1);
    slide(g, king_pos, 1, 0);
    slide(g, king_pos, -1, 0);
}

void legal_moves_bishop(generator &g, const coord *king_pos) {
    slide(g, king_pos, 1, 1);
    slide(g, king_pos, -1, -1);
    slide(g, king_pos, -1, 1);
    slide(g, king_pos, 1, -1);
}

void legal_moves_knight(generator &g, const coord *king_pos) {
    static const int jumps[8][2] = {{-1, -2}, {-1, 2}, {-2, -1}, {-2, 1},
                                    {1, -2},  {1, 2},  {2, -1},  {2, 1}};
    for (const auto &j : jumps) {
        const int row = g.pc.row + j[0], col = g.pc.col + j[1];
        if (row < 0 || row > 7 || col < 0 || col > 7) continue;
        if (candidate(g, row, col))
            add_move_to_list(g, king_pos, static_cast<uint8_t>(col), static_cast<uint8_t>(row));
    }
}

void legal_moves_king(generator &g) {
    for (int row = g.pc.row - 1; row <= g.pc.row + 1; row++)
        for (int col = g.pc.col - 1; col <= g.pc.col + 1; col++) {
            if (row < 0 || row > 7 || col < 0 || col > 7) continue;
            if (!candidate(g, row, col)) continue;
            const coord dst{static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
            add_move_to_list(g, &dst, dst.col, dst.row);
        }
    if (king_threatened(g.brd, &g.pc, g.pc) || (g.brd->tiles[g.pc.row][g.pc.col] & 0x80)) return;
    const int back = g.colour ? 0 : 7;
    const uint8_t *row = g.brd->tiles[back];
    const uint8_t *left = g.colour ? castle_left_black : castle_left_white;
    const uint8_t *right = g.colour ? castle_right_black : castle_right_white;
    if (std::memcmp(row, left, 5) == 0) {
        const coord passed{g.pc.row, static_cast<uint8_t>(g.pc.col - 1)};
        if (!king_threatened(g.brd, &passed, g.pc)) {
            const coord dst{g.pc.row, static_cast<uint8_t>(g.pc.col - 2)};
            add_move_to_list(g, &dst, dst.col, dst.row);
        }
    }
    if (std::memcmp(row + 4, right, 4) == 0) {
        const coord passed{g.pc.row, static_cast<uint8_t>(g.pc.col + 1)};
        if (!king_threatened(g.brd, &passed, g.pc)) {
            const coord dst{g.pc.row, static_cast<uint8_t>(g.pc.col + 2)};
            add_move_to_list(g, &dst, dst.col, dst.row);
        }
    }
}

bool enemy(const generator &g, int row, int col) {
    const uint8_t t = g.brd->tiles[row][col];
    return t != 0 && (t & 8) != g.colour;
}

void legal_moves_pawn(generator &g, const coord *king_pos) {
    const uint8_t me = g.brd->tiles[g.pc.row][g.pc.col];
    const int d = g.colour ? 1 : -1;
    const int row = g.pc.row, col = g.pc.col;
    if ((me & 7) == 1 && g.brd->tiles[row + d][col] == 0 && g.brd->tiles[row + 2 * d][col] == 0)
        add_move_to_list(g, king_pos, static_cast<uint8_t>(col), static_cast<uint8_t>(row + 2 * d));
    if (g.brd->tiles[row + d][col] == 0)
        add_move_to_list(g, king_pos, static_cast<uint8_t>(col), static_cast<uint8_t>(row + d));
    for (int side_col : {col - 1, col + 1}) {
        if (side_col < 0 || side_col > 7) continue;
        if (enemy(g, row + d, side_col) ||
            (enemy(g, row, side_col) && (g.brd->tiles[row][side_col] & 0x40)))
            add_move_to_list(g, king_pos, static_cast<uint8_t>(side_col),
                             static_cast<uint8_t>(row + d));
    }
}

} // namespace

int move_piece(struct board *brd, coord pc_coords, coord new_coords) {
    const uint8_t capture = tile(brd, new_coords.row, new_coords.col);
    bool en_passant_set = false;
    uint8_t p = tile(brd, pc_coords.row, pc_coords.col);
    switch (p & 7) {
    case 1:
        p = (p & 8) | 2;
        if (std::abs(new_coords.row - pc_coords.row) == 2) {
            p |= 0x40;
            en_passant_set = true;
        }
        break;
    case 2:
        if (new_coords.col != pc_coords.col && capture == 0)
            tile(brd, (p & 8) ? new_coords.row - 1 : new_coords.row + 1, new_coords.col) = 0;
        break;
    case 7:
        if (std::abs(new_coords.col - pc_coords.col) == 2) {
            if (new_coords.col < pc_coords.col) {
                tile(brd, pc_coords.row, 3) = tile(brd, pc_coords.row, 0) | 0x80;
                tile(brd, pc_coords.row, 0) = 0;
            } else {
                tile(brd, pc_coords.row, 5) = tile(brd, pc_coords.row, 7) | 0x80;
                tile(brd, pc_coords.row, 7) = 0;
            }
        }
        break;
    default:
        break;
    }
    tile(brd, new_coords.row, new_coords.col) = p | 0x80;
    tile(brd, pc_coords.row, pc_coords.col) = 0;
    if (!en_passant_set) {
        unset_enpass_bits(brd);
    } else {
        for (int r = 0; r < 8; r++)
            for (int c = 0; c < 8; c++)
                if (r != new_coords.row || c != new_coords.col) tile(brd, r, c) &= 0xBF;
    }
    const uint8_t now = tile(brd, new_coords.row, new_coords.col);
    return (now & 7) == 2 && (new_coords.row == 0 || new_coords.row == 7);
}

void ascend_piece(struct board *brd, coord pc_coords, uint8_t new_rank) {
    uint8_t &t = tile(brd, pc_coords.row, pc_coords.col);
    t = (t & 0xF8) | new_rank;
}

uint8_t legal_moves(const struct board *brd, coord pc_coords, coord *list, const coord *king_pos) {
    uint8_t count = 0;
    const uint8_t t = brd->tiles[pc_coords.row][pc_coords.col];
    generator g{brd, pc_coords, list, &count, static_cast<uint8_t>(t & 8)};
    switch (t & 7) {
    case 1:
    case 2:
        legal_moves_pawn(g, king_pos);
        break;
    case 3:
        legal_moves_rook(g, king_pos);
        break;
    case 4:
        legal_moves_knight(g, king_pos);
        break;
    case 5:
        legal_moves_bishop(g, king_pos);
        break;
    case 6:
        legal_moves_rook(g, king_pos);
        legal_moves_bishop(g, king_pos);
        break;
    case 7:
        legal_moves_king(g);
        break;
    default:
        break;
    }
    return count;
}

int king_threatened(const struct board *brd, const coord *king_pos, coord pc_coords) {
    const uint8_t side = brd->tiles[pc_coords.row][pc_coords.col] & 8;
    const int kr = king_pos->row, kc = king_pos->col;
    const uint8_t enemy_king = side == 0 ? 15 : 7;
    for (int r = kr - 1; r <= kr + 1; r++)
        for (int c = kc - 1; c <= kc + 1; c++) {
            if (r < 0 || r > 7 || c < 0 || c > 7) continue;
            if ((brd->tiles[r][c] & 15) == enemy_king) return 1;
        }
    const int pawn_row = side == 0 ? kr - 1 : kr + 1;
    if (pawn_row >= 0 && pawn_row <= 7) {
        for (int c : {kc - 1, kc + 1}) {
            if (c < 0 || c > 7) continue;
            const uint8_t p = brd->tiles[pawn_row][c];
            if (p != 0 && ((p & 7) == 1 || (p & 7) == 2) && (p & 8) != side) return 1;
        }
    }
    struct board temp = *brd;
    for (uint8_t royal = 3; royal <= 6; royal++) {
        temp.tiles[kr][kc] = royal | side;
        coord list[27];
        const uint8_t count = legal_moves(&temp, *king_pos, list, nullptr);
        for (int k = count - 1; k >= 0; k--) {
            const uint8_t d = temp.tiles[list[k].row][list[k].col];
            if ((d & 7) == royal && (d & 8) != side) return 1;
        }
    }
    return 0;
}

int check_stale(const game_status *status, const struct board *brd, coord king_pos, uint8_t depth) {
    const uint8_t side = brd->tiles[king_pos.row][king_pos.col] & 8;
    int retval = 0;
    if (depth <= 2) {
        int reps = 0;
        for (int n = 0; n < 16 && reps < 3; n++) {
            const game_position &slot = status->last_moves.position[n];
            if (std::memcmp(slot.board.tiles, brd->tiles, 64) != 0) continue;
            if (depth != 0 && slot.turn != (depth & 1)) continue;
            reps++;
        }
        if ((depth == 0 && reps >= 3) || (depth != 0 && reps >= 2)) return 4;
    }
    if (status->moves_pawn_capture > 75) return 6;
    if (status->moves_pawn_capture > 50) return 5;
    if (king_threatened(brd, &king_pos, king_pos)) retval = 1;
    for (uint8_t row = 0; row < 8; row++)
        for (uint8_t col = 0; col < 8; col++) {
            const uint8_t t = brd->tiles[row][col];
            if (t == 0 || (t & 8) != side) continue;
            coord list[27];
            if (legal_moves(brd, coord{row, col}, list, &king_pos) != 0) return retval;
        }
    return retval + 2;
}

int play_move(game_state *game, coord src, coord dst) {
    const uint8_t capture = game->board.tiles[dst.row][dst.col];
    const int ascend = move_piece(&game->board, src, dst);
    if (capture != 0 || (game->board.tiles[dst.row][dst.col] & 7) == 2)
        game->game_status.moves_pawn_capture = 0;
    else
        game->game_status.moves_pawn_capture++;
    return ascend;
}

void log_move(game_state *game) {
    game_position &slot = game->game_status.last_moves.position[game->game_status.last_moves.index];
    slot.board = game->board;
    slot.turn = game->game_status.turn;
    game->game_status.last_moves.index = (game->game_status.last_moves.index + 1) & 15;
}

coord find_king(const struct board *brd, uint8_t side) {
    const uint8_t code = side ? 15 : 7;
    for (uint8_t row = 0; row < 8; row++)
        for (uint8_t col = 0; col < 8; col++)
            if ((brd->tiles[row][col] & 15) == code) return coord{row, col};
    return coord{255, 255};
}

} // namespace literal
