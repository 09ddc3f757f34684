// vartok-match: plays games of vartok-engine (or any engine) against stockfish at a chosen
// Skill Level or any other engine, UCI or xboard, colours alternating, writes them as PGN,
// has pgn-extract read them back, and prints the score and the Elo difference with its 95%
// margin.
#include "client/uci_lines.h"
#include "elo/elo.h"
#include "game/records/atomic_file.h"
#include "game/records/pgn_text.h"
#include "match_game.h"
#include "match_options.h"
#include "program_output.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int usage_status = 2;
constexpr long search_timeout_ms = 10 * 60 * 1000; // a search without a time limit
constexpr long movetime_slack_ms = 30000;
constexpr unsigned seeds_per_game = 1000;            // more than the half-moves of a game
constexpr unsigned opponent_seeds_from = 500000000u; // apart from Vartok's seeds

std::string today(const char *format) {
    char text[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(text, sizeof text, format, std::localtime(&now));
    return text;
}

// "Stockfish (Skill Level 0)" -> "stockfish-skill-level-0", for a file name.
std::string file_part(const std::string &name) {
    std::string part;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.')
            part += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!part.empty() && part.back() != '-')
            part += '-';
    }
    while (!part.empty() && part.back() == '-') part.pop_back();
    return part.empty() ? "engine" : part;
}

// The games pgn-extract read without a complaint; -1 when it complained or did not run.
int games_read_cleanly(const std::string &pgn_extract, const std::string &pgn, int games,
                       std::string *report) {
    if (run_and_collect({pgn_extract, "-o", "/dev/null", pgn}, report) != 0) return -1;
    for (const char *complaint : {"Failed", "failed", "illegal", "Illegal", "inconsistent",
                                  "Warning", "warning", "error", "Error"})
        if (report->find(complaint) != std::string::npos) return -1;
    const std::string all = std::to_string(games) + (games == 1 ? " game" : " games") +
                            " matched out of " + std::to_string(games) + ".";
    return report->find(all) != std::string::npos ? games : -1;
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

void print_elo(const elo_estimate &e) {
    if (e.finite && std::isfinite(e.low) && std::isfinite(e.high))
        std::printf("Elo difference: %.0f +/- %.0f (95%% interval %.0f to %.0f)\n", shown(e.elo),
                    shown((e.high - e.low) / 2), shown(e.low), shown(e.high));
    else if (e.finite && std::isfinite(e.high))
        std::printf("Elo difference: %.0f, 95%% interval: below %.0f\n", e.elo, e.high);
    else if (e.finite)
        std::printf("Elo difference: %.0f, 95%% interval: above %.0f\n", e.elo, e.low);
    // A sweep has a bound only, whose sign is printed always: after two lost games the
    // bound is still above zero.
    else if (e.score <= 0)
        std::printf("Elo difference: below %+.0f (95%%): every game lost\n", shown(e.high));
    else
        std::printf("Elo difference: above %+.0f (95%%): every game won\n", shown(e.low));
}

// The players as the options describe them; the opponent's name waits for its engine.
void set_up_players(const match_options &o, match_player *vartok, match_player *opponent) {
    vartok->command = o.vartok.command;
    vartok->protocol = o.vartok.protocol;
    vartok->options = o.vartok.options;
    vartok->name = o.vartok.name;
    limits_of_go(o.vartok.go, &vartok->limits);
    vartok->limits.deadline_ms = search_timeout_ms;

    opponent->command = o.opponent.command;
    opponent->protocol = o.opponent.protocol;
    opponent->options = o.opponent.options;
    opponent->name = o.opponent.name;
    opponent->seed_every_move = o.opponent.seeds;
    if (o.default_opponent || o.skill_given)
        opponent->options.insert(opponent->options.begin(),
                                 {"Skill Level", std::to_string(o.skill)});
    if (o.default_opponent)
        opponent->name = "Stockfish (Skill Level " + std::to_string(o.skill) +
                         (o.stockfish_depth ? ", depth " + std::to_string(o.stockfish_depth) : "") +
                         ")";
    if (!o.opponent.go.empty()) {
        limits_of_go(o.opponent.go, &opponent->limits);
    } else if (o.stockfish_depth) {
        opponent->limits.depth = o.stockfish_depth;
    } else {
        opponent->limits.movetime_ms = o.movetime;
    }
    const int movetime = opponent->limits.movetime_ms;
    opponent->limits.deadline_ms =
        movetime > 0 && o.opponent.name.empty() ? movetime + movetime_slack_ms : search_timeout_ms;
}

bool declares(const engine_client &client, const std::string &option) {
    return std::find(client.option_names.begin(), client.option_names.end(), option) !=
           client.option_names.end();
}

} // namespace

int main(int argc, char **argv) {
    match_options o;
    std::string error;
    if (!parse_match_options(argc, argv, VARTOK_ENGINE_PATH, &o, &error)) {
        std::fprintf(stderr, "vartok-match: %s\n%s", error.c_str(), match_usage());
        return usage_status;
    }
    if (o.help) {
        std::fputs(match_usage(), stdout);
        return 0;
    }
    if (!o.pgn.empty()) {
        struct stat existing;
        if (stat(o.pgn.c_str(), &existing) == 0) {
            std::fprintf(stderr, "vartok-match: %s exists; choose another --pgn\n", o.pgn.c_str());
            return usage_status;
        }
    }
    std::vector<opening_line> openings{opening_line{}};
    if (!o.openings.empty() && !load_openings(o.openings, &openings, &error)) {
        std::fprintf(stderr, "vartok-match: %s\n", error.c_str());
        return usage_status;
    }

    match_player vartok, opponent;
    set_up_players(o, &vartok, &opponent);
    for (match_player *p : {&vartok, &opponent})
        if (!start_player(p, &error)) {
            std::fprintf(stderr, "vartok-match: %s\n", error.c_str());
            return 1;
        }
    // Vartok's engine gets a seed for every move; another engine has no Seed to take.
    vartok.seed_every_move = o.vartok.seeds && declares(vartok.client, "Seed");
    if (o.pgn.empty()) {
        o.pgn = "match-" + file_part(opponent.name) + "-" + today("%Y%m%d-%H%M%S") + ".pgn";
        struct stat existing;
        if (stat(o.pgn.c_str(), &existing) == 0) {
            std::fprintf(stderr, "vartok-match: %s exists; choose another --pgn\n", o.pgn.c_str());
            return usage_status;
        }
    }

    char clock_text[64] = "";
    if (o.clock_base_ms)
        std::snprintf(clock_text, sizeof clock_text, ", clocks %g s + %g s",
                      o.clock_base_ms / 1000.0, o.clock_increment_ms / 1000.0);
    if (o.default_opponent && !o.stockfish_depth && o.opponent.go.empty() && !o.clock_base_ms)
        std::printf("%s (%s) against %s, stockfish at movetime %d ms, %d games\n",
                    vartok.name.c_str(), o.vartok.go.c_str(), opponent.name.c_str(), o.movetime,
                    o.games);
    else
        std::printf("%s (%s) against %s (%s), %d games%s\n", vartok.name.c_str(),
                    o.vartok.go.c_str(), opponent.name.c_str(),
                    uci_go_command(opponent.limits).c_str(), o.games, clock_text);
    if (!o.openings.empty())
        std::printf("%zu openings from %s, each played with both colours\n", openings.size(),
                    o.openings.c_str());
    const match_clock clock{o.clock_base_ms, o.clock_increment_ms};
    match_score score;
    std::string pgn_text;
    for (int g = 1; g <= o.games; g++) {
        const bool vartok_white = g % 2 == 1;
        // A seed of its own for every move of every game (see match_player).
        vartok.seed_base = static_cast<unsigned>(g) * seeds_per_game;
        opponent.seed_base = opponent_seeds_from + static_cast<unsigned>(g) * seeds_per_game;
        match_player *white = vartok_white ? &vartok : &opponent;
        match_player *black = vartok_white ? &opponent : &vartok;
        // Games 1 and 2 start from the first opening, 3 and 4 from the second, ...
        const opening_line &opening = openings[static_cast<size_t>((g - 1) / 2) % openings.size()];
        const game_result r = play_game(white, black, opening, o.max_plies, clock);
        const std::string vartok_won = vartok_white ? "1-0" : "0-1";
        if (r.result == "1/2-1/2")
            score.draws++;
        else if (r.result == vartok_won)
            score.wins++;
        else
            score.losses++;
        pgn_game record;
        record.tags = {{"Event", "Vartok match"},
                       {"Date", today("%Y.%m.%d")},
                       {"Round", std::to_string(g)},
                       {"White", white->name},
                       {"Black", black->name}};
        record.moves = r.san;
        record.final_comment = r.termination;
        record.result = r.result;
        pgn_text += format_pgn(record);
        if (!write_file_atomically(o.pgn, pgn_text, &error)) {
            std::fprintf(stderr, "vartok-match: %s\n", error.c_str());
            return 1;
        }
        std::printf("game %d: %s - %s %s (%s, %zu half-moves)\n", g, white->name.c_str(),
                    black->name.c_str(), r.result.c_str(), r.termination.c_str(), r.san.size());
        std::fflush(stdout);
    }
    stop_engine(&vartok.client);
    stop_engine(&opponent.client);

    std::string report;
    const int checked = games_read_cleanly(o.pgn_extract, o.pgn, o.games, &report);
    if (checked < 0) {
        std::printf("pgn-extract did not accept every game of %s:\n%s", o.pgn.c_str(),
                    report.c_str());
        return 1;
    }
    std::printf("pgn-extract read all %d games of %s without an error\n", checked, o.pgn.c_str());
    const elo_estimate e = estimate_elo(score);
    std::printf("Score of %s: %d wins, %d draws, %d losses: %.1f/%d (%.1f%%)\n",
                vartok.name.c_str(), score.wins, score.draws, score.losses, e.score * o.games,
                o.games, 100 * e.score);
    print_elo(e);
    std::printf("%s's moves: median %ld ms, 90%% within %ld ms, longest %ld ms\n",
                vartok.name.c_str(), percentile(vartok.move_ms, 0.5),
                percentile(vartok.move_ms, 0.9), percentile(vartok.move_ms, 1.0));
    return 0;
}
