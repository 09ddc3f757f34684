#include "match_options.h"
#include "rules/notation/words.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int max_games = 100000;
constexpr int max_skill = 20;
constexpr int max_movetime_ms = 3600000;
constexpr int max_depth = 100;
constexpr double ms_per_s = 1000.0;

bool read_count(const char *text, long low, long high, long *out) {
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    *out = v;
    return true;
}

bool read_int(const char *text, int low, int high, int *out) {
    long v = 0;
    if (!read_count(text, low, high, &v)) return false;
    *out = static_cast<int>(v);
    return true;
}

bool read_protocol(const std::string &text, engine_protocol *out) {
    if (text == "uci")
        *out = engine_protocol::uci;
    else if (text == "xboard")
        *out = engine_protocol::xboard;
    else if (text == "detect")
        *out = engine_protocol::detect;
    else
        return false;
    return true;
}

bool read_option(const std::string &text, std::vector<engine_option> *out) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    out->push_back({text.substr(0, equals), text.substr(equals + 1)});
    return true;
}

// "BASE+INC" in seconds, e.g. "10+0.1".
bool read_clock(const std::string &text, long *base_ms, long *increment_ms) {
    char *end = nullptr;
    errno = 0;
    const double base = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '+' || errno != 0) return false;
    const char *inc_text = end + 1;
    const double increment = std::strtod(inc_text, &end);
    if (end == inc_text || *end != '\0' || errno != 0) return false;
    if (!(base > 0 && base <= max_movetime_ms && increment >= 0 && increment <= max_movetime_ms))
        return false;
    *base_ms = static_cast<long>(base * ms_per_s + 0.5);
    *increment_ms = static_cast<long>(increment * ms_per_s + 0.5);
    return true;
}

} // namespace

const char *match_usage() {
    return "usage: vartok-match [OPTION]...\n"
           "Plays games of an engine (Vartok's by default) against an opponent engine, colours\n"
           "alternating, writes them as PGN, has pgn-extract read them back, and prints the\n"
           "score and the Elo difference with its 95% interval.\n"
           "\n"
           "The player measured:\n"
           "  --engine COMMAND            its command (default: this build's vartok-engine)\n"
           "  --engine-protocol P         uci, xboard or detect (default detect)\n"
           "  --vartok-name NAME          its name in the records (default Vartok)\n"
           "  --vartok-go 'go ...'        its limit a move (default plain go)\n"
           "  --vartok-option NAME=VALUE  an option, repeatable\n"
           "The opponent:\n"
           "  --opponent COMMAND          its command (default /usr/games/stockfish); words split\n"
           "                              on blanks, a bare name looked up on PATH, then in\n"
           "                              /usr/games; --stockfish COMMAND is the same\n"
           "  --opponent-protocol P       uci, xboard or detect (default detect)\n"
           "  --opponent-name NAME        its name in the records (default: Stockfish (Skill\n"
           "                              Level K), or the engine's own name)\n"
           "  --skill K                   stockfish's Skill Level, 0-20 (default 0)\n"
           "  --movetime MS               its time a move (default 50)\n"
           "  --stockfish-depth N         a depth limit instead of the move time\n"
           "  --opponent-go 'go ...'      its limit a move instead\n"
           "  --opponent-option NAME=VALUE  an option, repeatable\n"
           "  --opponent-seeds            a seed for every move (an opponent vartok-engine)\n"
           "The match:\n"
           "  --games N                   games (default 20)\n"
           "  --clock BASE+INC            both players on clocks, in seconds (e.g. 10+0.1)\n"
           "  --max-plies N               a game ends drawn after N half-moves (default 400)\n"
           "  --openings FILE             each game pair from one opening line\n"
           "  --pgn FILE                  the games (default match-OPPONENT-DATE-TIME.pgn)\n"
           "  --pgn-extract PATH          the PGN checker (default /usr/games/pgn-extract)\n"
           "  --help                      this text\n"
           "Debian's engines: stockfish and 'gnuchess -u' speak UCI; fairymax, 'hoichess -x',\n"
           "'phalanx -l-' and gnuchess speak xboard.\n";
}

bool limits_of_go(const std::string &go, engine_limits *limits) {
    const std::vector<std::string> words = split_words(go);
    if (words.empty() || words[0] != "go" || words.size() % 2 == 0) return false;
    engine_limits l;
    for (size_t i = 1; i < words.size(); i += 2) {
        long v = 0;
        if (!read_count(words[i + 1].c_str(), 1, max_movetime_ms, &v)) return false;
        if (words[i] == "movetime")
            l.movetime_ms = static_cast<int>(v);
        else if (words[i] == "depth")
            l.depth = static_cast<int>(v);
        else if (words[i] == "nodes")
            l.nodes = v;
        else
            return false;
    }
    *limits = l;
    return true;
}

bool parse_match_options(int argc, char **argv, const std::string &engine_path, match_options *o,
                         std::string *error) {
    o->vartok.command = engine_path;
    o->vartok.name = "Vartok";
    o->vartok.go = "go";
    o->vartok.seeds = true;
    o->opponent.command = "/usr/games/stockfish";
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            o->help = true;
            return true;
        }
        if (word == "--opponent-seeds") {
            o->opponent.seeds = true;
            continue;
        }
        if (i + 1 >= argc) {
            *error = word + " needs a value, or is not an option";
            return false;
        }
        const char *value = argv[++i];
        bool ok = true;
        if (word == "--games")
            ok = read_int(value, 1, max_games, &o->games);
        else if (word == "--skill")
            ok = o->skill_given = read_int(value, 0, max_skill, &o->skill);
        else if (word == "--movetime")
            ok = read_int(value, 1, max_movetime_ms, &o->movetime);
        else if (word == "--stockfish-depth")
            ok = read_int(value, 1, max_depth, &o->stockfish_depth);
        else if (word == "--max-plies")
            ok = read_int(value, 1, max_games, &o->max_plies);
        else if (word == "--clock")
            ok = read_clock(value, &o->clock_base_ms, &o->clock_increment_ms);
        else if (word == "--engine")
            o->vartok.command = value;
        else if (word == "--engine-protocol")
            ok = read_protocol(value, &o->vartok.protocol);
        else if (word == "--vartok-name")
            o->vartok.name = value;
        else if (word == "--vartok-go")
            o->vartok.go = value;
        else if (word == "--vartok-option")
            ok = read_option(value, &o->vartok.options);
        else if (word == "--opponent" || word == "--stockfish")
            o->opponent.command = value;
        else if (word == "--opponent-protocol")
            ok = read_protocol(value, &o->opponent.protocol);
        else if (word == "--opponent-name")
            o->opponent.name = value;
        else if (word == "--opponent-go")
            o->opponent.go = value;
        else if (word == "--opponent-option")
            ok = read_option(value, &o->opponent.options);
        else if (word == "--pgn-extract")
            o->pgn_extract = value;
        else if (word == "--pgn")
            o->pgn = value;
        else if (word == "--openings")
            o->openings = value;
        else
            ok = false;
        if (word == "--opponent" || word == "--opponent-name") o->default_opponent = false;
        if (!ok) {
            *error = "bad " + word + " " + value;
            return false;
        }
    }
    engine_limits ignored;
    for (const std::string *go : {&o->vartok.go, &o->opponent.go})
        if (!go->empty() && !limits_of_go(*go, &ignored)) {
            *error = "bad go command '" + *go + "' (go, go movetime MS, go depth N, go nodes N)";
            return false;
        }
    return true;
}
