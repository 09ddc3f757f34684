// Finding the game to resume in its file.
#pragma once

#include "game/options/game_options.h"
#include "game/records/record_place.h"

#include <string>

// The game RESUME or RESUME=FILE names, read with its file's every game (a file that is not
// a PGN database is refused, so that a result in the middle of a game is never dropped):
//   RESUME: the unfinished game of the default place when it has a move, else the newest
//   unfinished game of the database;
//   RESUME=FILE: the last unfinished game of FILE; RESUME=FILE#N: its N-th game.
// A game that is over is refused ("the game is over (0-1)"), and so is anything that is not
// a regular file. False with one line in `error` naming the file. `place` is the default
// place, opened when the words name no file.
bool find_resumed_game(const game_options &options, const default_place *place,
                       resume_source *source, std::string *error);
