// A game is played by one run at a time. A run claims the game it plays with a lock on one
// byte of a file in the game's state folder, at an offset made from the game's text: the
// lock lasts until the run ends, however it ends, and names the process that holds it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

struct game_claims {
    // The file of the locks; -1 until opened, -2 when it cannot be. Never closed: closing
    // any descriptor of it would drop every lock this process holds on it.
    int fd = -1;
    uint64_t resumed = 0; // the resumed game, as it was read
    uint64_t written = 0; // the record, as last written
};

// The file of the locks: in `folder`, which must be safe from other users (it is created
// when missing). Empty `folder`: no claims are made.
void open_claims(game_claims *claims, const std::string &folder);

// Claims the resumed game whose text (as format_pgn writes it) is `text`. False, with the
// process id in `holder`, when another run holds it. Without a file of locks nothing is
// claimed, and nothing refused.
bool claim_resumed_game(game_claims *claims, std::string_view text, pid_t *holder);

// Moves the claim on the record to its text as now written.
void claim_written_record(game_claims *claims, std::string_view text);
