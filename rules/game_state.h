// Everything that decides how a game continues: the board, its status (history ring,
// half-move counter, side to move, which sides the computer plays), the half-move number
// and the opening book's counter. Copying the record is a snapshot of the game; assigning
// a snapshot back restores it exactly.
#pragma once

#include "rules/board.h"
#include "rules/notation/fen.h"

// Calls of the computer player in which its opening book may answer.
constexpr uint8_t opening_book_calls = 2;

struct game_state {
    struct board board;
    struct game_status game_status;
    uint32_t turn_count; // the half-move the side to move plays now, counted from 1
    uint8_t opening;     // calls left in which the opening book may answer; 0: book off
    friend bool operator==(const game_state &, const game_state &) = default;
};

// The usual starting position, White to play half-move 1; the computer plays neither side.
game_state new_game();

// Plays src -> dst in the game: the board, and the half-move counter of the draw rules,
// which a pawn move or a capture resets. Returns 1 when the pawn must be ascended. The
// position is not yet recorded: the caller ascends the pawn, then calls log_move.
int play_move(game_state *game, coord src, coord dst);

// Plays one half-move of the side to move, the one way every part of the program does it:
// the move, the pawn's ascension when it reaches the last row (to `ascend`, type_rook ..
// type_queen; 0 means a queen), the position's entry in the history and the draw rules'
// counter; then the other side is to move and the half-move number is raised. Returns the
// type the pawn became, 0 when the move was no ascension. The move must be legal.
uint8_t play_half_move(game_state *game, coord src, coord dst, uint8_t ascend);

// A game standing at `pos`: its board, side to move and half-move counter, an empty
// history, the opening book off and half-move number `turn_count` to play; the computer
// plays neither side.
game_state game_from_position(const fen_position &pos, uint32_t turn_count);

// The half-move number a search from `pos` runs at: from the move number (1 for White's
// first move), but at least 2, since the castling bonus divides by half of it.
uint32_t searched_turn_count(const fen_position &pos);

// The game's position for FEN: its board, side to move and half-move counter.
fen_position position_of(const game_state &game, uint32_t fullmoves);
