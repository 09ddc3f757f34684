#include "ai/classic/opening.h"

namespace {

// A White pawn that has just made its two-square step: has-moved, en-passant, type 2.
constexpr uint8_t pawn_after_double_step = has_moved_flag | en_passant_flag | type_pawn;
constexpr uint32_t whites_first_move = 1;
constexpr uint32_t blacks_first_move = 2;

constexpr coord e2{6, 4}, e4{4, 4}, d4{4, 3};
constexpr coord c7{1, 2}, c5{3, 2}, f7{1, 5}, f5{3, 5};

} // namespace

book_answer ai_opening(const game_state &game) {
    book_answer answer{};
    answer.opening = game.opening;
    if (game.opening == 0) return answer;
    answer.opening = game.opening - 1;
    const uint8_t(&tiles)[board_size][board_size] = game.board.tiles;
    if (game.turn_count == whites_first_move) {
        answer.src = e2, answer.dst = e4;
    } else if (game.turn_count == blacks_first_move) {
        if (tiles[e4.row][e4.col] == pawn_after_double_step)
            answer.src = c7, answer.dst = c5;
        else if (tiles[d4.row][d4.col] == pawn_after_double_step)
            answer.src = f7, answer.dst = f5;
        else
            return answer;
    } else {
        return answer;
    }
    answer.found = true;
    return answer;
}
