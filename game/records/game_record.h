// The PGN record of the game being played, kept on disk after every half-move so that no
// game is ever lost: a crash or a kill at any instant leaves a valid record of every
// half-move played so far.
#pragma once

#include "game/options/game_options.h"
#include "game/records/atomic_file.h"
#include "game/records/game_claim.h"
#include "game/records/pgn_text.h"
#include "game/records/shared_database.h"
#include "rules/game_state.h"
#include "rules/notation/fen.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"

#include <string>
#include <vector>

// One half-move of the game: as played, and in SAN.
struct recorded_move {
    san_move move;
    std::string san;
    std::string comment; // after the move, e.g. its clock "[%clk 0:04:53.2]"; empty: none
};

// Where a resumed game was taken from, when that is one of the game's own files (the
// database, a record of another run): it leaves that place once it is written here.
struct taken_game {
    std::string path;   // empty: nothing to take away
    pgn_game pgn;       // as read there, to find it again
    int number = 0;     // its number there
    bool alone = false; // a record of its own (not the database): removed whole
};

struct game_record {
    bool enabled = false;
    std::string path;        // the file kept up to date during the game
    std::string database;    // where a finished game is appended; empty: it stays at `path`
    std::string resume_word; // the word that continues the game kept at `path`
    // `path` is a database other runs may write too (PGN=FILE): the game is written into
    // it as `in_database` says; else `path` is the game's own file, written whole.
    bool shared = false;
    shared_game in_database;
    game_claims claims; // the game this run plays, so that no other run plays it too
    // Records of earlier runs at the default place, moved into the database when this game
    // is first written (a run without a move changes nothing).
    std::vector<std::string> to_gather;
    bool placed = false; // those are moved: `path` is final
    taken_game taken;
    bool saved = false; // the file at `path` holds the record as it stands
    pgn_game pgn;       // the tags, the result and the final comment; the moves are below
    std::vector<recorded_move> moves;
    bool warned = false; // a write failed and the one warning has been printed
    bool finished = false;
    uint32_t first_fullmove = 1; // the move number and side of the first recorded move
    uint8_t first_turn = 0;
};

// How a finished game ended: "1-0", "0-1" or "1/2-1/2", and why, in words.
struct game_outcome {
    const char *result;
    std::string reason;
    const char *termination = "normal"; // the Termination tag: "normal" or "time forfeit"
};

// The tags of a new game: the roster with today's date, the players as the options have
// them, the computer's settings, and SetUp/FEN when `start` is not the usual position.
void record_new_game(game_record *record, const game_options &options, const fen_position &start,
                     bool usual_start);

// The players and settings tags brought up to date (a resumed game may change them).
void record_set_players(game_record *record, const game_options &options);

// The record of a resumed game: the old record's tags, its players and settings as
// `options` now have them, unfinished again, without moves yet (they are replayed with
// record_replayed_move). `start` is its starting position.
void record_resumed_game(game_record *record, const pgn_game &old, const fen_position &start,
                         const game_options &options);

// Adds a move of a resumed game without writing the record.
void record_replayed_move(game_record *record, const game_state &before, const san_move &move,
                          const std::string &comment = {});

// Both clocks as the record's last %clk comments of each side leave them (a side without one
// has its full time), neither running: a resumed game goes on with the time it had.
chess_clock clocks_of_record(const game_record &record, const game_options &options);

// The half-move number of the record's first move: 1 for White's first move of a game.
uint32_t record_first_half_move(const game_record &record);

// Adds the move src -> dst (with its ascension) made by the side to move in `before`, and
// writes the record. The moves are kept in memory even when the record cannot be written.
void record_move(game_record *record, const game_state &before, const san_move &move,
                 const std::string &comment = {});

// The result and the reason, then the record is written and, when it has a database, moved
// into it. A game without a move leaves no record.
void record_end(game_record *record, const game_outcome &outcome);

// Writes the record as it stands; the first write moves the records of earlier runs into
// the database, and takes a resumed game away from where it was taken. A failure prints one
// warning on standard error for the whole game; the game goes on.
void record_save(game_record *record);

// The computer's settings as command-line words, as the settings tag keeps them.
std::string settings_words(const ai_settings &settings);

// The record as a PGN game: its tags, result and comment, with its moves and their comments.
pgn_game record_pgn(const game_record &record);

// Options as a record's tags give them: the sides from WhiteType/BlackType and the settings
// from the settings tag, over `options`. The engines are not taken: a record never names a
// program to run (see recorded_engine).
void apply_record_tags(const pgn_game &pgn, game_options *options);

// The engine command the record says played `side`, or empty. Only for messages: the person
// names the engine again to have it started.
std::string recorded_engine(const pgn_game &pgn, uint8_t side);

// The options the record says the engine of `side` was started with, less any that names a
// file or folder (a shared record must not choose where an engine writes).
std::vector<std::string> recorded_engine_options(const pgn_game &pgn, uint8_t side);

// Takes the record back to its first `count` moves and writes it.
void record_truncate(game_record *record, size_t count);
