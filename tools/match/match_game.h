// One game between two UCI engines, refereed by the rules of chess.
#pragma once

#include "child_process.h"
#include "openings.h"

#include <string>
#include <vector>

struct match_player {
    child_process process;
    std::string name;
    std::string go;            // the go command it gets for every move
    int reply_timeout_ms;      // how long a move may take before the player forfeits
    std::vector<long> move_ms; // how long each of its moves took
    // A vartok-engine draws its random numbers afresh from its Seed at every go. Given a seed
    // of its own before every move (seed_base plus the half-move), it blunders and breaks ties
    // move by move as the game does, whose random sequence runs on through the game.
    bool seed_every_move = false;
    unsigned seed_base = 0;
};

struct game_result {
    std::vector<std::string> san;
    std::string result;      // "1-0", "0-1" or "1/2-1/2"
    std::string termination; // why it ended
};

// Starts the engine and runs the handshake, then sends the options. False with a message
// on standard error when the engine does not answer.
bool start_player(match_player *p, const std::string &path,
                  const std::vector<std::string> &options);

// The game starts with the `opening` moves (legal ones: see load_openings), then White and
// Black are asked in turn; it ends by the rules, at `max_plies` half-moves, or when a player
// fails to give a legal move (it then loses).
game_result play_game(match_player *white, match_player *black, const opening_line &opening,
                      int max_plies);
