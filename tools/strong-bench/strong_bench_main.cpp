// vartok-strong-bench: searches fixed positions to a fixed depth on one thread with a fresh
// table each, and prints the node count (the signature: any change in what the search does
// shows in it) and the speed.
//   vartok-strong-bench [DEPTH]          the bench
//   vartok-strong-bench search FEN MS    one search with a time limit, its iterations
#include "ai/strong/strong_player.h"
#include "rules/notation/fen.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int default_depth = 16;
constexpr int bench_hash_mb = 16;

constexpr const char *bench_positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 w - - 0 10",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13",
    "8/8/4k3/8/2K5/8/3Q4/8 w - - 0 1",
    "4rrk1/pp1n3p/3q2pQ/2p1pb2/2PP4/2P3N1/P2B2PP/4RRK1 b - - 7 19",
    "r3r1k1/2p2ppp/p1p1bn2/8/1q2P3/2NPQN2/PPP3PP/R4RK1 b - - 2 15",
};

bool load(const std::string &fen, game_state *game) {
    fen_position pos;
    std::string error;
    if (!load_fen(fen, &pos, &error)) {
        std::fprintf(stderr, "vartok-strong-bench: %s\n", error.c_str());
        return false;
    }
    *game = game_from_position(pos, 1);
    return true;
}

void print_iteration(void *context, const strong_iteration &it) {
    std::printf("%s\n", strong_report(*static_cast<const game_state *>(context), it).c_str());
}

int run_bench(int depth) {
    uint64_t nodes = 0;
    int64_t ms = 0;
    for (const char *fen : bench_positions) {
        game_state game;
        if (!load(fen, &game)) return 1;
        strong_settings settings;
        settings.time = {};
        settings.depth_limit = depth;
        settings.hash_mb = bench_hash_mb;
        const auto start = std::chrono::steady_clock::now();
        const strong_decision d = choose_strong_move(game, settings, strong_observer{});
        ms += std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
        nodes += d.result.nodes;
        std::printf("%-72s %10" PRIu64 "\n", fen, d.result.nodes);
    }
    std::printf("positions searched: %" PRIu64 "\n", nodes);
    std::printf("time: %" PRId64 " ms\n", ms);
    std::printf("positions per second: %" PRIu64 "\n", ms ? nodes * 1000 / uint64_t(ms) : nodes);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "search" && argc == 4) {
        game_state game;
        if (!load(argv[2], &game)) return 1;
        strong_settings settings;
        settings.time = limits_for_move_time(std::atoll(argv[3]), 0);
        strong_observer observer;
        observer.context = &game;
        observer.iteration_done = print_iteration;
        choose_strong_move(game, settings, observer);
        return 0;
    }
    if (argc > 2 || (argc == 2 && std::atoi(argv[1]) <= 0)) {
        std::fprintf(stderr, "usage: vartok-strong-bench [DEPTH] | search FEN MS\n");
        return 2;
    }
    return run_bench(argc == 2 ? std::atoi(argv[1]) : default_depth);
}
