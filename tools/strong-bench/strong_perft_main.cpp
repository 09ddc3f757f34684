// vartok-strong-perft FEN DEPTH: counts the leaf nodes of the move tree with the strong
// player's fast move generator and make/unmake, one line per root move in the usual
// "divide" format, then "Nodes searched: N", as vartok-perft and stockfish print them.
#include "rules/fast/fast_moves.h"
#include "rules/notation/fen.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int max_depth = 12;

uint64_t perft(fast::position &pos, int depth) {
    if (depth == 0) return 1;
    fast::move_list list;
    fast::generate_moves(pos, fast::move_kind::all, &list);
    uint64_t n = 0;
    for (int i = 0; i < list.count; i++) {
        fast::undo_record undo;
        fast::make_move(&pos, list.moves[i], &undo);
        if (!fast::mover_in_check(pos)) n += perft(pos, depth - 1);
        fast::unmake_move(&pos, undo);
    }
    return n;
}

std::string move_name(fast::move16 m) {
    const int from = fast::move_from(m), to = fast::move_to(m);
    std::string s = {static_cast<char>('a' + from % 8), static_cast<char>('8' - from / 8),
                     static_cast<char>('a' + to % 8), static_cast<char>('8' - to / 8)};
    constexpr char letters[] = "   rnbq";
    if (fast::move_ascend(m)) s += letters[fast::move_ascend(m)];
    return s;
}

} // namespace

int main(int argc, char **argv) {
    const int depth = argc == 3 ? std::atoi(argv[2]) : 0;
    if (argc != 3 || depth < 1 || depth > max_depth) {
        std::fprintf(stderr, "usage: vartok-strong-perft FEN DEPTH (1 to %d)\n", max_depth);
        return 2;
    }
    fen_position fp;
    std::string error;
    if (!load_fen(argv[1], &fp, &error)) {
        std::fprintf(stderr, "vartok-strong-perft: %s\n", error.c_str());
        return 2;
    }
    fast::position pos = fast::position_from_board(fp.board, fp.turn, fp.halfmoves);
    fast::move_list legal;
    fast::legal_moves_of(pos, &legal);
    uint64_t total = 0;
    for (int i = 0; i < legal.count; i++) {
        fast::undo_record undo;
        fast::make_move(&pos, legal.moves[i], &undo);
        const uint64_t n = perft(pos, depth - 1);
        fast::unmake_move(&pos, undo);
        std::printf("%s: %" PRIu64 "\n", move_name(legal.moves[i]).c_str(), n);
        total += n;
    }
    std::printf("\nNodes searched: %" PRIu64 "\n", total);
    return 0;
}
