// Where games are kept: the game in progress in $XDG_STATE_HOME/vartok/ (by default
// ~/.local/state/vartok/), finished games in the database $XDG_DATA_HOME/vartok/games.pgn
// (by default ~/.local/share/vartok/games.pgn), or a file of the person's own (PGN=FILE).
#pragma once

#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/records/pgn_database.h"

#include <string>

// The unfinished game at the default place; empty when no home folder is known.
std::string unfinished_game_path();
// The database of finished games; empty when no home folder is known.
std::string games_database_path();

// The default place as this run finds it.
struct default_place {
    std::string folder;   // of the unfinished game
    std::string current;  // the unfinished game
    std::string database; // the finished games
    std::string problem;  // why no record can be kept there; empty when one can
    bool locked = false;  // this run holds the place: no other run plays its unfinished game
};

// Looks at the default place: its folders must be safe from other users; creates them,
// takes the place unless another run holds it (until the process ends), and removes the
// temporary files that killed runs left there.
default_place open_default_place();

// Whose file a resumed game comes from.
enum class game_owner : uint8_t {
    person,    // a file of the person's own: it is copied, the file left as it is
    current,   // the unfinished game of the default place
    database,  // the database of finished games
    other_run, // the record another run kept beside the unfinished game (game-PID.pgn)
};

// A game to resume, as found in its file.
struct resume_source {
    std::string path;
    database_game game;
    file_identity file; // the file it was read from
    game_owner owner = game_owner::person;
};

// Whose file `file`, read at `path`, is: one of the default place's or the person's.
game_owner owner_of_file(const file_identity &file, const std::string &path);

// Chooses the file of this game's record, from the words and the game it resumes (null for
// a new game); `place` is the default place, opened when the record may be kept there.
//   PGN=FILE: the game is added after FILE's games, and written there into the file as
//   other runs leave it (a resumed game of FILE leaves its old place for the end); a file
//   that is not a PGN database, a link or not a regular file is refused: false with
//   `error`, and no file touched.
//   Otherwise the unfinished game of the default place, or game-PID.pgn beside it while
//   another run holds it. The records there of earlier runs are moved into the database at
//   this game's first write, with a line on standard error saying where each went.
bool place_record(game_record *record, const game_options &options, const default_place *place,
                  const resume_source *source, std::string *error);

// The first write's moves (see place_record); a record that cannot be moved keeps its file,
// and this game goes beside it as game-PID.pgn.
void settle_record_place(game_record *record);

// What claiming a resumed game for this run gives.
enum class resume_claim : uint8_t {
    claimed, // no other run plays it (or claims cannot be made here)
    refused, // another run plays it: `error` names its process
    changed, // its file no longer holds it as it was read: look for it again
};

// Claims the resumed game for this run until it ends, so that no other run plays it too.
resume_claim claim_resumed(game_record *record, const resume_source &source, std::string *error);

// Takes the resumed game away from the file it was taken from, now that it is written here.
void release_taken_game(game_record *record);
