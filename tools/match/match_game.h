// One game between two engines (UCI or xboard, through the engine client), refereed by the
// rules of chess, on a move time or on clocks.
#pragma once

#include "client/engine_client.h"
#include "openings.h"

#include <string>
#include <vector>

struct match_player {
    std::string command; // the engine's command line
    engine_protocol protocol = engine_protocol::detect;
    std::vector<engine_option> options;
    std::string name;     // in the records; empty: the engine's own name
    engine_limits limits; // for every move (the clocks are the match's, see match_clock)
    engine_client client;
    std::vector<long> move_ms; // how long each of its moves took
    // A vartok-engine draws its random numbers afresh from its Seed at every go. Given a seed
    // of its own before every move (seed_base plus the half-move), it blunders and breaks ties
    // move by move as the game does, whose random sequence runs on through the game.
    bool seed_every_move = false;
    unsigned seed_base = 0;
};

// Both sides' clocks: each starts a game with `base_ms` and gains `increment_ms` a move.
struct match_clock {
    long base_ms = 0; // 0: no clocks, each player's own limits apply
    long increment_ms = 0;
};

struct game_result {
    std::vector<std::string> san;
    std::string result;      // "1-0", "0-1" or "1/2-1/2"
    std::string termination; // why it ended
};

// Starts the engine, sets its options and takes its own name when it has none. False with
// the reason in `error`.
bool start_player(match_player *p, std::string *error);

// The game starts with the `opening` moves (legal ones: see load_openings), then White and
// Black are asked in turn; it ends by the rules, at `max_plies` half-moves, or when a player
// resigns, fails to give a legal move or oversteps its clock (it then loses). A player
// whose engine could not go on is started again before the game.
game_result play_game(match_player *white, match_player *black, const opening_line &opening,
                      int max_plies, const match_clock &clock);
