// How the game starts: the usual position, a position given as FEN, or an unfinished game
// resumed from its record.
#pragma once

#include "game/options/game_options.h"
#include "game/options/words_file.h"
#include "game/records/game_record.h"
#include "game/turns/game_timing.h"
#include "game/turns/take_back.h"
#include "rules/game_state.h"

#include <string>

struct game_start {
    game_state game;      // as before the first half-move of this run (turn_count not yet up)
    game_options options; // the command line's, over a resumed record's tags
    game_record record;
    turn_history turns; // the turns of a resumed game, for take-backs
    game_timing timing; // the clocks (as a resumed record left them) and the FIDE positions
};

// Prepares the game the words ask for: those of the words file `config` (when given and
// read), then the command line's. On bad input (a file that is missing, unreadable or not a
// PGN game, an illegal or ambiguous move in it, a position the game cannot play) returns
// false with one line in `error` naming the file, and touches no file.
bool prepare_game(int argc, char **argv, game_start *out, std::string *error,
                  const words_file *config = nullptr);

// Sets up another game with `out`'s options (those of the game before: same players and
// clocks), from the usual start or FEN=, in a fresh record placed as a new game would be.
// A resumed game's words play a new game, not the resumed one again. `place_held`: the game
// before was kept at the default place, which this process holds. False with one line in
// `error` when the record cannot be placed.
bool start_new_game(game_start *out, bool place_held, std::string *error);

// Refuses what the game cannot play: not exactly one king a side, or the side not to move
// in check.
bool playable_position(const fen_position &pos, std::string *error);
