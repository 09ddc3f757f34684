// vartok-ai-bench [ROUNDS]: lets the computer player move at the default depths in a fixed
// set of positions, first on one thread, then on every core, and prints the positions rated
// (a signature that changes only when the search does), the wall time and the rate. Each
// position is searched ROUNDS times (default 3) and the fastest time kept, since the
// machine is shared. The report lines of both runs must be identical; the bench says so.
// Last, a scheduling model replays the positions rated by each piece of work of the
// parallel passes to tell how the search would scale on more cores.
#include "ai/classic/ai.h"
#include "ai/classic/root_rating.h"
#include "tools/tool-help/tool_help.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

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
    double processor_seconds[position_count]; // of all threads, in the fastest round
    std::string report;                       // everything the computer player printed
};

void keep_report_line(void *context, const char *line) {
    std::string *report = static_cast<std::string *>(context);
    *report += line;
    *report += '\n';
}

// The pieces of work of one parallel pass: positions rated and the root move of each.
struct pass_tasks {
    std::vector<uint64_t> positions;
    std::vector<int> root_move;
};

void keep_task_sizes(void *context, const uint64_t *positions, const int *root_move, int count) {
    auto *passes = static_cast<std::vector<pass_tasks> *>(context);
    passes->push_back({std::vector<uint64_t>(positions, positions + count),
                       std::vector<int>(root_move, root_move + count)});
}

// Processor time of the whole process (every thread), in seconds.
double processor_time() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One search of position p on `threads` threads, kept in `out` when it is the fastest so far;
// the report lines of the first round are kept.
void time_search(const game_state &game, unsigned threads, int p, int round, run_figures *out,
                 std::vector<pass_tasks> *task_sizes) {
    ai_settings settings;
    settings.threads = threads;
    std::string discarded;
    search_observer observer;
    observer.context = round == 0 ? &out->report : &discarded;
    observer.report = keep_report_line;
    if (task_sizes) {
        observer.task_sizes = keep_task_sizes;
        observer.context = task_sizes;
        observer.report = nullptr;
    }
    const auto search = new_search_context(seed);
    const double processor_start = processor_time();
    const auto start = std::chrono::steady_clock::now();
    const ai_decision decision = choose_ai_move(search.get(), game, settings, observer);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out->rated[p] = decision.positions_rated;
    if (round == 0 || seconds < out->seconds[p]) {
        out->seconds[p] = seconds;
        out->processor_seconds[p] = processor_time() - processor_start;
    }
}

// Runs every position `rounds` times on one thread and on `threads` threads (either figures
// may be null: that run is left out). The two alternate search by search, so that a busy spell of a
// shared machine falls on both and their ratio holds.
bool run_positions(unsigned threads, int rounds, run_figures *single, run_figures *parallel,
                   FILE *figures, std::vector<pass_tasks> *task_sizes = nullptr) {
    if (single) single->report.clear();
    if (parallel) parallel->report.clear();
    for (int p = 0; p < position_count; p++) {
        fen_position pos;
        std::string error;
        if (!load_fen(positions[p].fen, &pos, &error)) {
            std::fprintf(figures, "bad bench position: %s\n", error.c_str());
            return false;
        }
        const game_state game = game_from_position(pos, positions[p].turn);
        for (int round = 0; round < rounds; round++) {
            if (single) time_search(game, 1, p, round, single, nullptr);
            if (parallel) time_search(game, threads, p, round, parallel, task_sizes);
        }
    }
    return true;
}

void print_figures(FILE *f, const char *title, const run_figures &r) {
    uint64_t rated = 0;
    double seconds = 0, processor_seconds = 0;
    std::fprintf(f, "%s\n", title);
    for (int p = 0; p < position_count; p++) {
        std::fprintf(f, "  %-72s turn %2u: %9llu positions %8.3f s\n", positions[p].fen,
                     positions[p].turn, static_cast<unsigned long long>(r.rated[p]), r.seconds[p]);
        rated += r.rated[p];
        seconds += r.seconds[p];
        processor_seconds += r.processor_seconds[p];
    }
    std::fprintf(f,
                 "  total: %llu positions rated in %.3f s, %.0f positions per second, "
                 "%.3f s of processor time\n",
                 static_cast<unsigned long long>(rated), seconds,
                 seconds > 0 ? rated / seconds : 0.0, processor_seconds);
}

// Time to rate `work` (in positions) on `cores` workers, each taking the next piece in order
// as soon as it is free.
uint64_t makespan(const std::vector<uint64_t> &work, unsigned cores) {
    std::vector<uint64_t> free_at(cores, 0);
    for (uint64_t w : work) {
        size_t first = 0;
        for (size_t c = 1; c < cores; c++)
            if (free_at[c] < free_at[first]) first = c;
        free_at[first] += w;
    }
    uint64_t end = 0;
    for (uint64_t t : free_at) end = t > end ? t : end;
    return end;
}

// The whole root moves of a pass, as the search shared them out before it split them.
std::vector<uint64_t> root_move_sizes(const pass_tasks &pass) {
    std::vector<uint64_t> sizes;
    for (size_t t = 0; t < pass.positions.size(); t++) {
        if (t == 0 || pass.root_move[t] != pass.root_move[t - 1]) sizes.push_back(0);
        sizes.back() += pass.positions[t];
    }
    return sizes;
}

void print_model(const std::vector<pass_tasks> &passes) {
    constexpr unsigned core_counts[] = {1, 2, 4, 8, 16, 64};
    std::printf("scheduling model (the positions of each piece of work replayed in order):\n");
    size_t pieces = 0;
    for (const pass_tasks &p : passes) pieces += p.positions.size();
    std::printf("  %zu passes, %zu pieces of work\n", passes.size(), pieces);
    for (unsigned cores : core_counts) {
        uint64_t total = 0, split = 0, whole = 0;
        for (const pass_tasks &p : passes) {
            for (uint64_t w : p.positions) total += w;
            split += makespan(p.positions, cores);
            whole += makespan(root_move_sizes(p), cores);
        }
        std::printf("  %2u cores: %.2fx with replies split, %.2fx with root moves only\n", cores,
                    split ? double(total) / double(split) : 0.0,
                    whole ? double(total) / double(whole) : 0.0);
    }
}

} // namespace

int main(int argc, char **argv) {
    constexpr int default_rounds = 3;
    constexpr int most_rounds = 100;
    constexpr const char *usage =
        "usage: vartok-ai-bench [ROUNDS]\n"
        "Lets the computer player move at the default depths in five fixed positions, each\n"
        "ROUNDS times (1 to 100, default 3), on one thread and on every core, and prints the\n"
        "positions rated, the fastest times and the speed-up.\n";
    if (const int help = answer_help(argc, argv, usage); help >= 0) return help;
    const int rounds = argc > 1 ? std::atoi(argv[1]) : default_rounds;
    if (argc > 2 || rounds < 1 || rounds > most_rounds) {
        std::fputs(usage, stderr);
        return 2;
    }
    static run_figures single, parallel;
    const unsigned cores = default_search_threads();
    if (!run_positions(cores, rounds, &single, &parallel, stdout)) return 1;
    print_figures(stdout, "one thread:", single);
    const std::string title = "all cores (" + std::to_string(cores) + " threads):";
    print_figures(stdout, title.c_str(), parallel);

    double t1 = 0, tn = 0;
    for (int p = 0; p < position_count; p++) t1 += single.seconds[p], tn += parallel.seconds[p];
    double c1 = 0, cn = 0;
    for (int p = 0; p < position_count; p++)
        c1 += single.processor_seconds[p], cn += parallel.processor_seconds[p];
    std::printf("speed-up: %.2f\n", tn > 0 ? t1 / tn : 0.0);
    // Work the threads add (listing replies, putting root moves together, waiting): with
    // idle cores the speed-up approaches the number of cores divided by this.
    std::printf("processor time on all cores / on one thread: %.3f\n", c1 > 0 ? cn / c1 : 0.0);
    const bool same = single.report == parallel.report;
    std::printf("report lines %s\n", same ? "identical" : "DIFFER between the runs");

    // The pieces of work do not depend on the number of threads, as long as there are two.
    static run_figures modelled;
    std::vector<pass_tasks> passes;
    constexpr unsigned model_threads = 2;
    if (!run_positions(model_threads, 1, nullptr, &modelled, stdout, &passes)) return 1;
    print_model(passes);
    return same ? 0 : 1;
}
