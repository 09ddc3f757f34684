// Where games are kept: the game in progress in $XDG_STATE_HOME/vartok/ (by default
// ~/.local/state/vartok/), finished games in the database $XDG_DATA_HOME/vartok/games.pgn
// (by default ~/.local/share/vartok/games.pgn).
#pragma once

#include "game/game_record.h"

#include <string>

// The unfinished game at the default place; empty when no home folder is known.
std::string unfinished_game_path();
// The database of finished games; empty when no home folder is known.
std::string games_database_path();

// Chooses the file of this game's record. PGN=FILE puts it there. Otherwise it is the
// unfinished-game file at the default place: a game left there unfinished is first added to
// the database with "*" (unless `continuing` it), so nothing is overwritten. While another
// running game holds that file, this one is kept beside it as game-PID.pgn.
void place_record(game_record *record, const game_options &options, bool continuing);
