// A person's move: the piece, then its destination.
#pragma once

#include "display/board_view.h"
#include "game/game_ending.h"
#include "game/input/commands.h"
#include "game/records/game_record.h"
#include "rules/game_state.h"
#include "rules/notation/san.h"
#include "rules/position_key.h"
#include "rules/time/chess_clock.h"

#include <optional>

struct running_game;

struct person_move {
    san_move move;
    bool take_back = false;            // the person typed "undo": nothing was played
    std::optional<game_ending> ending; // the game ends here instead (nothing was played)
};

// What a person's turn shows and judges besides the board: the clocks of a game on clocks
// (a line before each prompt, and in the window while the person thinks), and the positions
// of the game under the standard draw rules (its claims).
struct person_turn {
    const chess_clock *clock = nullptr;
    const position_history *fide = nullptr;
};

// Plays one half-move for the side to move of `game`, read from the person (in graphics
// mode chosen with the tile cursor), and returns it. A granted draw claim, `resign`,
// `quit`, the end of input and a closed window end the game instead. With `commands` the
// typed commands are understood too; "undo" returns without a move.
person_move get_move(running_game *run, game_state *game, tile_cursor *cursor, coord king_pos,
                     const command_context *commands = nullptr, const person_turn &turn = {});
