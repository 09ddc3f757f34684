// vartok-match: plays games of vartok-engine against stockfish at a chosen Skill Level,
// colours alternating, writes them as PGN, has pgn-extract read them back, and prints the
// score and the Elo difference with its 95% margin.
#include "elo.h"
#include "match_game.h"
#include "pgn_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int usage_status = 2;
constexpr int default_games = 20;
constexpr int default_skill = 0;
constexpr int default_movetime_ms = 50;
constexpr int default_max_plies = 400;
constexpr int vartok_timeout_ms = 10 * 60 * 1000; // a search of the game has no clock
constexpr int stockfish_slack_ms = 30000;
constexpr unsigned seeds_per_game = 1000;            // more than the half-moves of a game
constexpr unsigned opponent_seeds_from = 500000000u; // apart from Vartok's seeds

struct match_options {
    int games = default_games;
    int skill = default_skill;
    int movetime = default_movetime_ms;
    int max_plies = default_max_plies;
    int stockfish_depth = 0; // a depth limit instead of the move time: a weaker opponent
    std::string vartok_go = "go";
    std::vector<std::string> vartok_options;
    // Another opponent than stockfish (e.g. vartok-engine at fixed settings), as an anchor
    // for settings too weak to score against stockfish: its name, go command and options.
    std::string opponent_name;
    std::string opponent_go;
    std::vector<std::string> opponent_options;
    std::string engine = VARTOK_ENGINE_PATH;
    std::string stockfish = "/usr/games/stockfish";
    std::string pgn_extract = "/usr/games/pgn-extract";
    std::string pgn;
    std::string openings;        // a file of opening lines; none: every game from the start
    bool opponent_seeds = false; // the opponent is a vartok-engine: seed it at every move too
};

void usage() {
    std::fprintf(
        stderr,
        "usage: vartok-match [--games N] [--skill K] [--movetime MS] [--stockfish-depth N]\n"
        "                    [--max-plies N] [--opponent-name NAME] [--opponent-go 'go ...']\n"
        "                    [--opponent-option 'NAME=VALUE']... [--opponent-seeds]\n"
        "                    [--vartok-go 'go ...'] [--vartok-option 'NAME=VALUE']...\n"
        "                    [--engine PATH] [--stockfish PATH] [--pgn-extract PATH]\n"
        "                    [--pgn FILE] [--openings FILE]\n");
}

bool read_count(const char *text, int low, int high, int *out) {
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    *out = static_cast<int>(v);
    return true;
}

bool parse_options(int argc, char **argv, match_options *o) {
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i];
        if (word == "--opponent-seeds") {
            o->opponent_seeds = true;
            continue;
        }
        if (i + 1 >= argc) {
            usage();
            return false;
        }
        const char *value = argv[++i];
        bool ok = true;
        if (word == "--games") {
            ok = read_count(value, 1, 100000, &o->games);
        } else if (word == "--skill") {
            ok = read_count(value, 0, 20, &o->skill);
        } else if (word == "--movetime") {
            ok = read_count(value, 1, 3600000, &o->movetime);
        } else if (word == "--stockfish-depth") {
            ok = read_count(value, 1, 100, &o->stockfish_depth);
        } else if (word == "--max-plies") {
            ok = read_count(value, 1, 100000, &o->max_plies);
        } else if (word == "--vartok-go") {
            o->vartok_go = value;
            ok = o->vartok_go.rfind("go", 0) == 0;
        } else if (word == "--vartok-option" || word == "--opponent-option") {
            const std::string option = value;
            const size_t equals = option.find('=');
            ok = equals != std::string::npos && equals > 0;
            if (ok)
                (word == "--vartok-option" ? o->vartok_options : o->opponent_options)
                    .push_back("setoption name " + option.substr(0, equals) + " value " +
                               option.substr(equals + 1));
        } else if (word == "--opponent-name") {
            o->opponent_name = value;
        } else if (word == "--opponent-go") {
            o->opponent_go = value;
            ok = o->opponent_go.rfind("go", 0) == 0;
        } else if (word == "--engine") {
            o->engine = value;
        } else if (word == "--stockfish") {
            o->stockfish = value;
        } else if (word == "--pgn-extract") {
            o->pgn_extract = value;
        } else if (word == "--pgn") {
            o->pgn = value;
        } else if (word == "--openings") {
            o->openings = value;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "vartok-match: bad %s %s\n", word.c_str(), value);
            usage();
            return false;
        }
    }
    return true;
}

std::string today(const char *format) {
    char text[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(text, sizeof text, format, std::localtime(&now));
    return text;
}

// The games pgn-extract read without a complaint; -1 when it complained or did not run.
int games_read_cleanly(const std::string &pgn_extract, const std::string &pgn, int games,
                       std::string *report) {
    std::string output;
    if (run_and_collect({pgn_extract, "-o", "/dev/null", pgn}, &output) != 0) {
        *report = output;
        return -1;
    }
    *report = output;
    for (const char *complaint : {"Failed", "failed", "illegal", "Illegal", "inconsistent",
                                  "Warning", "warning", "error", "Error"})
        if (output.find(complaint) != std::string::npos) return -1;
    const std::string all = std::to_string(games) + (games == 1 ? " game" : " games") +
                            " matched out of " + std::to_string(games) + ".";
    return output.find(all) != std::string::npos ? games : -1;
}

// Rounded Elo figures print "0", never "-0".
double shown(double elo) {
    return std::fabs(elo) < 0.5 ? 0.0 : elo;
}

long percentile(std::vector<long> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1))];
}

} // namespace

int main(int argc, char **argv) {
    match_options o;
    if (!parse_options(argc, argv, &o)) return usage_status;
    if (o.pgn.empty())
        o.pgn = "match-skill" + std::to_string(o.skill) + "-" + today("%Y%m%d-%H%M%S") + ".pgn";
    struct stat existing;
    if (stat(o.pgn.c_str(), &existing) == 0) {
        std::fprintf(stderr, "vartok-match: %s exists; choose another --pgn\n", o.pgn.c_str());
        return usage_status;
    }
    for (const std::string &tool : {o.engine, o.stockfish, o.pgn_extract})
        if (access(tool.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "vartok-match: cannot run %s\n", tool.c_str());
            return usage_status;
        }

    std::vector<opening_line> openings{opening_line{}};
    if (!o.openings.empty()) {
        std::string error;
        if (!load_openings(o.openings, &openings, &error)) {
            std::fprintf(stderr, "vartok-match: %s\n", error.c_str());
            return usage_status;
        }
    }

    match_player vartok, stockfish;
    vartok.name = "Vartok";
    vartok.go = o.vartok_go;
    vartok.reply_timeout_ms = vartok_timeout_ms;
    vartok.seed_every_move = true;
    stockfish.name = "Stockfish (Skill Level " + std::to_string(o.skill) +
                     (o.stockfish_depth ? ", depth " + std::to_string(o.stockfish_depth) : "") +
                     ")";
    stockfish.go = o.stockfish_depth ? "go depth " + std::to_string(o.stockfish_depth)
                                     : "go movetime " + std::to_string(o.movetime);
    stockfish.reply_timeout_ms = o.movetime + stockfish_slack_ms;
    std::vector<std::string> opponent_setup = {"setoption name Skill Level value " +
                                               std::to_string(o.skill)};
    if (!o.opponent_name.empty()) {
        stockfish.name = o.opponent_name;
        stockfish.reply_timeout_ms = vartok_timeout_ms;
        opponent_setup = o.opponent_options;
    }
    if (!o.opponent_go.empty()) stockfish.go = o.opponent_go;
    stockfish.seed_every_move = o.opponent_seeds;
    if (!start_player(&vartok, o.engine, o.vartok_options) ||
        !start_player(&stockfish, o.stockfish, opponent_setup))
        return 1;

    if (o.opponent_name.empty())
        std::printf("Vartok (%s) against %s, stockfish at movetime %d ms, %d games\n",
                    o.vartok_go.c_str(), stockfish.name.c_str(), o.movetime, o.games);
    else
        std::printf("Vartok (%s) against %s (%s), %d games\n", o.vartok_go.c_str(),
                    stockfish.name.c_str(), stockfish.go.c_str(), o.games);
    if (!o.openings.empty())
        std::printf("%zu openings from %s, each played with both colours\n", openings.size(),
                    o.openings.c_str());
    match_score score;
    std::string pgn_text;
    for (int g = 1; g <= o.games; g++) {
        const bool vartok_white = g % 2 == 1;
        // A seed of its own for every move of every game (see match_player).
        vartok.seed_base = static_cast<unsigned>(g) * seeds_per_game;
        stockfish.seed_base = opponent_seeds_from + static_cast<unsigned>(g) * seeds_per_game;
        match_player *white = vartok_white ? &vartok : &stockfish;
        match_player *black = vartok_white ? &stockfish : &vartok;
        // Games 1 and 2 start from the first opening, 3 and 4 from the second, ...
        const opening_line &opening = openings[static_cast<size_t>((g - 1) / 2) % openings.size()];
        const game_result r = play_game(white, black, opening, o.max_plies);
        const std::string vartok_won = vartok_white ? "1-0" : "0-1";
        if (r.result == "1/2-1/2")
            score.draws++;
        else if (r.result == vartok_won)
            score.wins++;
        else
            score.losses++;
        pgn_game record{"Vartok match", today("%Y.%m.%d"), std::to_string(g),
                        white->name,    black->name,       r.result,
                        r.san,          r.termination};
        pgn_text += format_pgn(record);
        std::string error;
        if (!write_file_safely(o.pgn, pgn_text, &error)) {
            std::fprintf(stderr, "vartok-match: cannot write %s\n", error.c_str());
            return 1;
        }
        std::printf("game %d: %s - %s %s (%s, %zu half-moves)\n", g, white->name.c_str(),
                    black->name.c_str(), r.result.c_str(), r.termination.c_str(), r.san.size());
        std::fflush(stdout);
    }
    send_to_child(&vartok.process, "quit");
    send_to_child(&stockfish.process, "quit");
    finish_child(&vartok.process);
    finish_child(&stockfish.process);

    std::string report;
    const int checked = games_read_cleanly(o.pgn_extract, o.pgn, o.games, &report);
    if (checked < 0) {
        std::printf("pgn-extract did not accept every game of %s:\n%s", o.pgn.c_str(),
                    report.c_str());
        return 1;
    }
    std::printf("pgn-extract read all %d games of %s without an error\n", checked, o.pgn.c_str());
    const elo_estimate e = estimate_elo(score);
    std::printf("Score of Vartok: %d wins, %d draws, %d losses: %.1f/%d (%.1f%%)\n", score.wins,
                score.draws, score.losses, e.score * o.games, o.games, 100 * e.score);
    if (e.finite && std::isfinite(e.low) && std::isfinite(e.high))
        std::printf("Elo difference: %.0f +/- %.0f (95%% interval %.0f to %.0f)\n", shown(e.elo),
                    shown((e.high - e.low) / 2), shown(e.low), shown(e.high));
    else if (e.finite && std::isfinite(e.high))
        std::printf("Elo difference: %.0f, 95%% interval: below %.0f\n", e.elo, e.high);
    else if (e.finite)
        std::printf("Elo difference: %.0f, 95%% interval: above %.0f\n", e.elo, e.low);
    else if (e.score <= 0)
        std::printf("Elo difference: below %.0f (95%%): every game lost\n", e.high);
    else
        std::printf("Elo difference: above %.0f (95%%): every game won\n", e.low);
    std::printf("Vartok's moves: median %ld ms, 90%% within %ld ms, longest %ld ms\n",
                percentile(vartok.move_ms, 0.5), percentile(vartok.move_ms, 0.9),
                percentile(vartok.move_ms, 1.0));
    return 0;
}
