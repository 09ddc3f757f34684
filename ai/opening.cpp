#include "ai/opening.h"
#include "rules/live_game.h"
#include "rules/pieces.h"
#include "rules/position_rules.h"

namespace {

constexpr uint8_t book_calls = 2;
// A White pawn that has just made its two-square step: has-moved, en-passant, type 2.
constexpr uint8_t pawn_after_double_step = has_moved_flag | en_passant_flag | type_pawn;
constexpr uint32_t whites_first_move = 1;
constexpr uint32_t blacks_first_move = 2;

constexpr coord e2{6, 4}, e4{4, 4}, d4{4, 3};
constexpr coord c7{1, 2}, c5{3, 2}, f7{1, 5}, f5{3, 5};

uint8_t opening = book_calls;

} // namespace

void set_opening_calls_left(uint8_t calls) {
    opening = calls;
}

int ai_opening() {
    if (opening == 0) return 0;
    opening--;
    coord src, dst;
    if (turn_count == whites_first_move) {
        src = e2, dst = e4;
    } else if (turn_count == blacks_first_move) {
        if (board.tiles[e4.row][e4.col] == pawn_after_double_step)
            src = c7, dst = c5;
        else if (board.tiles[d4.row][d4.col] == pawn_after_double_step)
            src = f7, dst = f5;
        else
            return 0;
    } else {
        return 0;
    }
    move_piece(&board, src, dst);
    log_move();
    return 1;
}
