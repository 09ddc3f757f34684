// A person's move: the piece, then its destination.
#pragma once

#include "display/board_view.h"
#include "game/commands.h"
#include "game/game_record.h"
#include "rules/game_state.h"
#include "rules/san.h"

struct person_move {
    san_move move;
    bool take_back; // the person typed "undo": nothing was played
};

// Plays one half-move for the side to move of `game`, read from the person (in graphics
// mode chosen with the tile cursor), logs it in the history and returns it. A granted draw
// claim ends the game (after writing the result into `record`, when given). With `commands`
// the typed commands are understood too; "undo" returns without a move.
person_move get_move(game_state *game, tile_cursor *cursor, coord king_pos,
                     game_record *record = nullptr, const command_context *commands = nullptr);
