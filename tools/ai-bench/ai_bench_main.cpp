// vartok-ai-bench [ROUNDS]: lets the computer player move at the default depths in a fixed
// set of positions, first on one thread, then on every core, and prints the positions rated
// (a signature that changes only when the search does), the wall time and the rate. Each
// position is searched ROUNDS times (default 3) and the fastest time kept, since the
// machine is shared. The report lines of both runs must be identical; the bench says so.
#include "ai/ai.h"
#include "ai/root_rating.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct bench_position {
    const char *fen;
    uint32_t turn;
};

constexpr bench_position positions[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 10},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 20},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 20},
    {"r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5", 12},
    {"2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30", 30},
};
constexpr int position_count = sizeof positions / sizeof positions[0];
constexpr unsigned seed = 1;

struct run_figures {
    uint64_t rated[position_count];
    double seconds[position_count];
    std::string report; // everything the computer player printed
};

void keep_report_line(void *context, const char *line) {
    std::string *report = static_cast<std::string *>(context);
    *report += line;
    *report += '\n';
}

// Runs every position `rounds` times; the report lines of the first round are kept.
bool run_positions(unsigned threads, int rounds, run_figures *out, FILE *figures) {
    ai_settings settings;
    settings.threads = threads;
    out->report.clear();
    std::string discarded;
    for (int p = 0; p < position_count; p++) {
        fen_position pos;
        std::string error;
        if (!load_fen(positions[p].fen, &pos, &error)) {
            std::fprintf(figures, "bad bench position: %s\n", error.c_str());
            return false;
        }
        const game_state game = game_from_position(pos, positions[p].turn);
        for (int round = 0; round < rounds; round++) {
            search_observer observer;
            observer.context = round == 0 ? &out->report : &discarded;
            observer.report = keep_report_line;
            std::srand(seed);
            const auto start = std::chrono::steady_clock::now();
            const ai_decision decision = choose_ai_move(game, settings, observer);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            out->rated[p] = decision.positions_rated;
            if (round == 0 || seconds < out->seconds[p]) out->seconds[p] = seconds;
        }
    }
    return true;
}

void print_figures(FILE *f, const char *title, const run_figures &r) {
    uint64_t rated = 0;
    double seconds = 0;
    std::fprintf(f, "%s\n", title);
    for (int p = 0; p < position_count; p++) {
        std::fprintf(f, "  %-72s turn %2u: %9llu positions %8.3f s\n", positions[p].fen,
                     positions[p].turn, static_cast<unsigned long long>(r.rated[p]), r.seconds[p]);
        rated += r.rated[p];
        seconds += r.seconds[p];
    }
    std::fprintf(f, "  total: %llu positions rated in %.3f s, %.0f positions per second\n",
                 static_cast<unsigned long long>(rated), seconds,
                 seconds > 0 ? rated / seconds : 0.0);
}

} // namespace

int main(int argc, char **argv) {
    constexpr int default_rounds = 3;
    constexpr int most_rounds = 100;
    const int rounds = argc > 1 ? std::atoi(argv[1]) : default_rounds;
    if (rounds < 1 || rounds > most_rounds) {
        std::fprintf(stderr, "usage: vartok-ai-bench [ROUNDS from 1 to %d]\n", most_rounds);
        return 2;
    }
    static run_figures single, parallel;
    const unsigned cores = default_search_threads();
    if (!run_positions(1, rounds, &single, stdout)) return 1;
    print_figures(stdout, "one thread:", single);
    if (!run_positions(cores, rounds, &parallel, stdout)) return 1;
    const std::string title = "all cores (" + std::to_string(cores) + " threads):";
    print_figures(stdout, title.c_str(), parallel);

    double t1 = 0, tn = 0;
    for (int p = 0; p < position_count; p++) t1 += single.seconds[p], tn += parallel.seconds[p];
    std::printf("speed-up: %.2f\n", tn > 0 ? t1 / tn : 0.0);
    const bool same = single.report == parallel.report;
    std::printf("report lines %s\n", same ? "identical" : "DIFFER between the runs");
    return same ? 0 : 1;
}
