#include "engine/engine_options.h"
#include "ai/classic/levels.h"
#include "ai/classic/root_rating.h"
#include "engine/uci_output.h"
#include "engine/uci_words.h"

#include <climits>
#include <cstdint>

namespace {

constexpr int64_t depth_max = UINT8_MAX;
constexpr int64_t blunders_max = UINT8_MAX;
// The dead-end threshold is minus the Deadend value, so the value stays clear of INT32_MIN.
constexpr int64_t deadend_min = -INT32_MAX;
constexpr int64_t seed_max = INT32_MAX; // some GUIs read spin values as 32-bit numbers
constexpr int64_t up_to_cores = -1;     // a maximum known only at run time

enum class option_kind { spin, check, combo };

constexpr const char *player_names[] = {"classic", "strong"};
constexpr int64_t overhead_max = 10000;

struct engine_option {
    const char *name;
    option_kind kind;
    int64_t min, max;
    int64_t (*get)(const engine_options &o);
    void (*set)(engine_options *o, int64_t v);
};

// In the order of the handshake.
constexpr engine_option engine_option_table[] = {
    {"Depth1", option_kind::spin, 0, depth_max,
     [](const engine_options &o) -> int64_t { return o.settings.depth1; },
     [](engine_options *o, int64_t v) { o->settings.depth1 = static_cast<uint8_t>(v); }},
    {"Depth2", option_kind::spin, 0, depth_max,
     [](const engine_options &o) -> int64_t { return o.settings.depth2; },
     [](engine_options *o, int64_t v) { o->settings.depth2 = static_cast<uint8_t>(v); }},
    {"Blunders", option_kind::spin, 0, blunders_max,
     [](const engine_options &o) -> int64_t { return o.settings.blunders; },
     [](engine_options *o, int64_t v) { o->settings.blunders = static_cast<uint8_t>(v); }},
    {"Deadend", option_kind::spin, deadend_min, INT32_MAX,
     [](const engine_options &o) -> int64_t { return -int64_t{o.settings.global_deadend_score}; },
     [](engine_options *o, int64_t v) { o->settings.global_deadend_score = int32_t(-v); }},
    {"Limit", option_kind::spin, INT32_MIN, INT32_MAX,
     [](const engine_options &o) -> int64_t { return o.settings.deadend_limit; },
     [](engine_options *o, int64_t v) { o->settings.deadend_limit = static_cast<int32_t>(v); }},
    {"Threads", option_kind::spin, 1, up_to_cores,
     [](const engine_options &o) -> int64_t { return o.settings.threads; },
     [](engine_options *o, int64_t v) { o->settings.threads = static_cast<unsigned>(v); }},
    {"OwnBook", option_kind::check, 0, 1,
     [](const engine_options &o) -> int64_t { return o.own_book; },
     [](engine_options *o, int64_t v) { o->own_book = v != 0; }},
    {"Seed", option_kind::spin, 0, seed_max,
     [](const engine_options &o) -> int64_t { return o.seed; },
     [](engine_options *o, int64_t v) { o->seed = static_cast<unsigned>(v); }},
    // Sets the five search options from a preset, as the game's LEVEL word does; options set
    // after it change single settings. 0 leaves them alone.
    {"Level", option_kind::spin, 0, highest_level,
     [](const engine_options &o) -> int64_t { return o.level; },
     [](engine_options *o, int64_t v) {
         o->level = static_cast<int>(v);
         if (v >= lowest_level) apply_level(o->level, &o->settings);
     }},
    // The second computer player; classic leaves everything as it was.
    {"Player", option_kind::combo, 0, 1,
     [](const engine_options &o) -> int64_t { return static_cast<int64_t>(o.player); },
     [](engine_options *o, int64_t v) { o->player = static_cast<engine_player>(v); }},
    {"Hash", option_kind::spin, 1, max_hash_mb,
     [](const engine_options &o) -> int64_t { return o.hash_mb; },
     [](engine_options *o, int64_t v) { o->hash_mb = static_cast<int>(v); }},
    {"Move Overhead", option_kind::spin, 0, overhead_max,
     [](const engine_options &o) -> int64_t { return o.move_overhead_ms; },
     [](engine_options *o, int64_t v) { o->move_overhead_ms = v; }},
    // The strong player weakened to about UCI_Elo on the CCRL Blitz scale.
    {"UCI_LimitStrength", option_kind::check, 0, 1,
     [](const engine_options &o) -> int64_t { return o.limit_strength; },
     [](engine_options *o, int64_t v) { o->limit_strength = v != 0; }},
    {"UCI_Elo", option_kind::spin, lowest_elo, full_strength_elo,
     [](const engine_options &o) -> int64_t { return o.elo; },
     [](engine_options *o, int64_t v) { o->elo = static_cast<int>(v); }},
};

int64_t max_of(const engine_option &option) {
    return option.max == up_to_cores ? default_search_threads() : option.max;
}

} // namespace

engine_options default_engine_options() {
    engine_options o;
    o.settings.threads = default_search_threads();
    return o;
}

std::string option_names() {
    std::string names;
    for (const engine_option &option : engine_option_table)
        names += (names.empty() ? "" : ", ") + std::string(option.name);
    return names;
}

void send_option_lines(const engine_options &defaults) {
    for (const engine_option &option : engine_option_table) {
        const long long v = option.get(defaults);
        if (option.kind == option_kind::check)
            send_line("option name %s type check default %s", option.name, v ? "true" : "false");
        else if (option.kind == option_kind::combo)
            send_line("option name %s type combo default %s var %s var %s", option.name,
                      player_names[v], player_names[0], player_names[1]);
        else
            send_line("option name %s type spin default %lld min %lld max %lld", option.name, v,
                      static_cast<long long>(option.min), static_cast<long long>(max_of(option)));
    }
}

bool set_option(engine_options *options, const std::string &name, const std::string &value,
                std::string *error) {
    for (const engine_option &option : engine_option_table) {
        if (!same_name(name, option.name)) continue;
        int64_t v = 0;
        if (option.kind == option_kind::check) {
            if (value != "true" && value != "false") {
                *error = "setoption: " + std::string(option.name) + " takes true or false, not '" +
                         shown(value) + "'";
                return false;
            }
            v = value == "true";
        } else if (option.kind == option_kind::combo) {
            if (same_name(value, player_names[0]) || same_name(value, player_names[1])) {
                v = same_name(value, player_names[1]);
            } else {
                *error = "setoption: " + std::string(option.name) + " takes " + player_names[0] +
                         " or " + player_names[1] + ", not '" + shown(value) + "'";
                return false;
            }
        } else if (!parse_integer(value, option.min, max_of(option), &v)) {
            *error = "setoption: " + std::string(option.name) + " takes a whole number from " +
                     std::to_string(option.min) + " to " + std::to_string(max_of(option)) +
                     ", not '" + shown(value) + "'";
            return false;
        }
        option.set(options, v);
        return true;
    }
    *error = "setoption: no option named '" + shown(name) + "'";
    return false;
}
