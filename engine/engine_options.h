// The engine's UCI options: the computer player's settings, its opening book and the seed
// of its random draws.
#pragma once

#include "ai/classic/ai_settings.h"
#include "ai/strong/search/strong_tt.h"
#include "ai/strong/strong_strength.h"

#include <string>

constexpr unsigned default_seed = 1; // as vartok-analyse, so that both choose alike
constexpr int default_move_overhead_ms = 10;

// Which computer player searches: the game's own, or the strong one.
enum class engine_player : uint8_t { classic, strong };

struct engine_options {
    ai_settings settings;
    bool own_book = true;
    unsigned seed = default_seed;
    int level = 0; // the last Level set; 0: none, the settings are the options' own
    engine_player player = engine_player::classic;
    int hash_mb = default_hash_mb;                       // the strong player's table
    int64_t move_overhead_ms = default_move_overhead_ms; // the strong player's time margin
    bool limit_strength = false;                         // the strong player plays at UCI_Elo
    int elo = full_strength_elo;
};

// The options with the defaults of the game; Threads is one per core.
engine_options default_engine_options();

// "Depth1, Depth2, ...": every option's name, in the order of the handshake.
std::string option_names();

// Sends one "option name ..." line per option, in the order of the handshake.
void send_option_lines(const engine_options &defaults);

// Applies "setoption name <name> value <value>". Returns false with the problem in `error`
// when the name is unknown or the value is not one the option takes; nothing changes then.
bool set_option(engine_options *options, const std::string &name, const std::string &value,
                std::string *error);
