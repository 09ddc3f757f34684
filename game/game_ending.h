// How a run of the game ends. Nothing below the entry point ends the process: each part
// that meets the end returns it, and the entry point writes the record's result, shows the
// last message and exits with the status.
#pragma once

#include "game/interruption.h"
#include "game/records/game_record.h"

#include <string>

struct running_game;

struct game_ending {
    bool finished = false;    // the game has a result, which its record gets
    game_outcome outcome;     // the result and its reason, when finished
    std::string message;      // printed (or shown) last; empty: nothing
    bool acknowledge = false; // the message waits for a line or a key, as game-ending ones do
    // Printed as it is, and in the window also shown in a box that waits for a key (a flag:
    // the window must not vanish without a word).
    bool box_in_window = false;
    int status = 0;                          // the process's exit status
    interruption cause = interruption::none; // what cut an unfinished game short
};

// The game is over: the record gets `outcome`, then `message` is shown.
game_ending finished_game(const game_outcome &outcome, const std::string &message,
                          bool acknowledge);

// The run ends without a result: the game stays unfinished in its record.
game_ending interrupted_game(interruption cause);

// Writes the ending's result into the record, then shows its message; a message that waits
// for an acknowledgement may itself be interrupted, which sets the status. Returns the
// exit status.
int close_game(running_game *run, const game_ending &ending, game_record *record);
