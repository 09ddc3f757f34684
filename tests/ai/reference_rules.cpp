#include "tests/ai/reference_rules.h"
#include "rules/live_game.h"
#include "rules/pieces.h"

#include <cstring>
#include <initializer_list>

namespace {

constexpr uint8_t castle_left_white[5] = {3, 0, 0, 0, 7};
constexpr uint8_t castle_left_black[5] = {11, 0, 0, 0, 15};
constexpr uint8_t castle_right_white[4] = {7, 0, 0, 3};
constexpr uint8_t castle_right_black[4] = {15, 0, 0, 11};

void add_move(const struct board *brd, coord pc, const coord *king_pos, destination_list *list,
              int row, int col) {
    const coord dst{static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
    list->squares[list->count] = dst;
    if (king_pos == nullptr) {
        list->count++;
        return;
    }
    struct board temp = *brd;
    move_piece(&temp, pc, dst);
    if (!ref_king_threatened(&temp, king_pos, dst)) list->count++;
}

bool candidate(const struct board *brd, coord pc, int row, int col) {
    const uint8_t t = brd->tiles[row][col];
    return t == 0 || (t & black_bit) != (brd->tiles[pc.row][pc.col] & black_bit);
}

void slide(const struct board *brd, coord pc, const coord *king_pos, destination_list *list, int dr,
           int dc) {
    for (int r = pc.row + dr, c = pc.col + dc; on_board(r, c); r += dr, c += dc) {
        if (candidate(brd, pc, r, c)) add_move(brd, pc, king_pos, list, r, c);
        if (brd->tiles[r][c] != 0) break;
    }
}

void rook(const struct board *brd, coord pc, const coord *king_pos, destination_list *list) {
    slide(brd, pc, king_pos, list, 0, 1);
    slide(brd, pc, king_pos, list, 0, -1);
    slide(brd, pc, king_pos, list, 1, 0);
    slide(brd, pc, king_pos, list, -1, 0);
}

void bishop(const struct board *brd, coord pc, const coord *king_pos, destination_list *list) {
    slide(brd, pc, king_pos, list, 1, 1);
    slide(brd, pc, king_pos, list, -1, -1);
    slide(brd, pc, king_pos, list, -1, 1);
    slide(brd, pc, king_pos, list, 1, -1);
}

void knight(const struct board *brd, coord pc, const coord *king_pos, destination_list *list) {
    const int jumps[8][2] = {{-1, -2}, {-1, 2}, {-2, -1}, {-2, 1},
                             {1, -2},  {1, 2},  {2, -1},  {2, 1}};
    for (const auto &j : jumps) {
        const int r = pc.row + j[0], c = pc.col + j[1];
        if (on_board(r, c) && candidate(brd, pc, r, c)) add_move(brd, pc, king_pos, list, r, c);
    }
}

void pawn(const struct board *brd, coord pc, const coord *king_pos, destination_list *list) {
    const uint8_t p = brd->tiles[pc.row][pc.col];
    const int d = (p & black_bit) ? 1 : -1;
    const int row = pc.row, col = pc.col;
    const auto enemy = [&](uint8_t t) { return t != 0 && (t & black_bit) != (p & black_bit); };
    if ((p & type_mask) == type_pawn_unmoved && on_board(row + 2 * d, col) &&
        brd->tiles[row + d][col] == 0 && brd->tiles[row + 2 * d][col] == 0)
        add_move(brd, pc, king_pos, list, row + 2 * d, col);
    if (brd->tiles[row + d][col] == 0) add_move(brd, pc, king_pos, list, row + d, col);
    for (int c : {col - 1, col + 1}) {
        if (c < 0 || c > 7) continue;
        if (enemy(brd->tiles[row + d][c]))
            add_move(brd, pc, king_pos, list, row + d, c);
        else if (enemy(brd->tiles[row][c]) && (brd->tiles[row][c] & en_passant_flag))
            add_move(brd, pc, king_pos, list, row + d, c);
    }
}

void king(const struct board *brd, coord pc, destination_list *list) {
    for (int r = pc.row - 1; r <= pc.row + 1; r++)
        for (int c = pc.col - 1; c <= pc.col + 1; c++) {
            if (!on_board(r, c) || !candidate(brd, pc, r, c)) continue;
            const coord dst{static_cast<uint8_t>(r), static_cast<uint8_t>(c)};
            add_move(brd, pc, &dst, list, r, c);
        }
    const uint8_t p = brd->tiles[pc.row][pc.col];
    if (ref_king_threatened(brd, &pc, pc) || (p & has_moved_flag)) return;
    const bool black = p & black_bit;
    const uint8_t *back = brd->tiles[black ? 0 : 7];
    if (std::memcmp(back, black ? castle_left_black : castle_left_white, 5) == 0) {
        const coord passed{pc.row, static_cast<uint8_t>(pc.col - 1)};
        const coord dst{pc.row, static_cast<uint8_t>(pc.col - 2)};
        if (!ref_king_threatened(brd, &passed, pc)) add_move(brd, pc, &dst, list, dst.row, dst.col);
    }
    if (std::memcmp(back + 4, black ? castle_right_black : castle_right_white, 4) == 0) {
        const coord passed{pc.row, static_cast<uint8_t>(pc.col + 1)};
        const coord dst{pc.row, static_cast<uint8_t>(pc.col + 2)};
        if (!ref_king_threatened(brd, &passed, pc)) add_move(brd, pc, &dst, list, dst.row, dst.col);
    }
}

} // namespace

uint8_t ref_legal_moves(const struct board *brd, coord pc, destination_list *list,
                        const coord *king_pos) {
    list->count = 0;
    switch (brd->tiles[pc.row][pc.col] & type_mask) {
    case type_pawn_unmoved:
    case type_pawn:
        pawn(brd, pc, king_pos, list);
        break;
    case type_rook:
        rook(brd, pc, king_pos, list);
        break;
    case type_knight:
        knight(brd, pc, king_pos, list);
        break;
    case type_bishop:
        bishop(brd, pc, king_pos, list);
        break;
    case type_queen:
        rook(brd, pc, king_pos, list);
        bishop(brd, pc, king_pos, list);
        break;
    case type_king:
        king(brd, pc, list);
        break;
    default:
        break;
    }
    return list->count;
}

int ref_king_threatened(const struct board *brd, const coord *king_pos, coord pc) {
    const uint8_t side = brd->tiles[pc.row][pc.col] & black_bit;
    const int kr = king_pos->row, kc = king_pos->col;
    for (int r = kr - 1; r <= kr + 1; r++)
        for (int c = kc - 1; c <= kc + 1; c++)
            if (on_board(r, c) && (brd->tiles[r][c] & piece_mask) == (side ? 7 : 15)) return 1;
    const int pr = side ? kr + 1 : kr - 1;
    if (pr >= 0 && pr <= 7) {
        for (int c : {kc - 1, kc + 1}) {
            if (c < 0 || c > 7) continue;
            const uint8_t t = brd->tiles[pr][c];
            if (t != 0 && is_pawn(t) && (t & black_bit) != side) return 1;
        }
    }
    struct board temp = *brd;
    for (uint8_t royal = type_rook; royal <= type_queen; royal++) {
        temp.tiles[kr][kc] = royal | side;
        destination_list list;
        const uint8_t n = ref_legal_moves(&temp, *king_pos, &list, nullptr);
        for (int i = n - 1; i >= 0; i--) {
            const uint8_t t = temp.tiles[list.squares[i].row][list.squares[i].col];
            if ((t & type_mask) == royal && (t & black_bit) != side) return 1;
        }
    }
    return 0;
}

int ref_check_stale(const struct board *brd, coord king_pos, uint8_t depth) {
    const uint8_t side = brd->tiles[king_pos.row][king_pos.col] & black_bit;
    if (depth <= 2) {
        int reps = 0;
        for (int n = 0; n < history_slots && reps < 3; n++) {
            const game_position &slot = game_status.last_moves.position[n];
            if (std::memcmp(&slot.board, brd, sizeof *brd) != 0) continue;
            if (depth != 0 && slot.turn != (depth & 1)) continue;
            reps++;
        }
        if ((depth == 0 && reps >= 3) || (depth != 0 && reps >= 2)) return 4;
    }
    if (game_status.moves_pawn_capture > 75) return 6;
    if (game_status.moves_pawn_capture > 50) return 5;
    const int retval = ref_king_threatened(brd, &king_pos, king_pos);
    for (uint8_t r = 0; r < 8; r++)
        for (uint8_t c = 0; c < 8; c++) {
            const uint8_t t = brd->tiles[r][c];
            if (t == 0 || (t & black_bit) != side) continue;
            destination_list list;
            if (ref_legal_moves(brd, coord{r, c}, &list, &king_pos) != 0) return retval;
        }
    return retval + 2;
}
