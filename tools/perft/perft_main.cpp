// vartok-perft FEN DEPTH: counts the leaf nodes of the move tree with the game's own move
// generator and move execution, one line per root move, in the usual "divide" format.
#include "rules/board_queries.h"
#include "rules/fast/bitboards.h"
#include "rules/move_context.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"
#include "rules/notation/notation.h"
#include "tools/tool-help/tool_help.h"

#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A ascension counts once per piece, in the order stockfish lists them.
constexpr uint8_t ascension_types[] = {type_queen, type_rook, type_bishop, type_knight};
constexpr int ascension_choices = 4;
constexpr int max_depth = 20;
constexpr const char *usage =
    "usage: vartok-perft FEN DEPTH\n"
    "Counts the positions DEPTH half-moves (1 to 20) after FEN with the game's own move\n"
    "generator: one line per legal move (\"e2e4: 20\"), then the total and the speed.\n";

bool ascends(const struct board &brd, coord src, coord dst) {
    return is_pawn(brd.tiles[src.row][src.col]) && (dst.row == 0 || dst.row == 7);
}

// The square of the first king of `side` in index order, as find_king finds it.
coord king_of(const board_sets &sets, uint8_t side) {
    const uint64_t kings = sets.kind[(side ? black_bit : 0) | type_king];
    return kings ? bitboards::coord_of(std::countr_zero(kings)) : no_square;
}

// Calls visit(src, dst) for every legal move of `side`, pieces in board order.
template <typename Visit> void for_each_move(const move_context &ctx, uint8_t side, Visit visit) {
    const uint8_t colour = side ? black_bit : 0;
    destination_list list;
    for (uint64_t pieces = ctx.sets->colour[side ? 1 : 0]; pieces;) {
        const coord src = bitboards::coord_of(bitboards::pop_lowest(pieces));
        if ((ctx.brd->tiles[src.row][src.col] & black_bit) != colour) continue;
        const uint8_t count = legal_moves_in(ctx, src, &list);
        for (int i = 0; i < count; i++) visit(src, list.squares[i]);
    }
}

uint64_t perft(const struct board &brd, const board_sets &sets, uint8_t side, int depth);

// The leaves below one move; `ascension` picks the piece a ascending pawn becomes.
uint64_t perft_after(const struct board &brd, const board_sets &sets, uint8_t side, int depth,
                     coord src, coord dst, int ascension) {
    if (depth == 1) return 1;
    struct board next = brd;
    board_sets next_sets = sets;
    if (move_piece(&next, src, dst, &next_sets))
        ascend_piece(&next, dst, ascension_types[ascension], &next_sets);
    return perft(next, next_sets, !side, depth - 1);
}

uint64_t perft(const struct board &brd, const board_sets &sets, uint8_t side, int depth) {
    move_context ctx;
    prepare_move_context(&ctx, &brd, sets, king_of(sets, side));
    // Bulk counting at the last ply: a ascension counts once for each piece.
    if (depth == 1) return count_legal_moves_with_ascensions(ctx);
    uint64_t nodes = 0;
    for_each_move(ctx, side, [&](coord src, coord dst) {
        const int choices = ascends(brd, src, dst) ? ascension_choices : 1;
        for (int p = 0; p < choices; p++) nodes += perft_after(brd, sets, side, depth, src, dst, p);
    });
    return nodes;
}

} // namespace

int main(int argc, char **argv) {
    if (const int help = answer_help(argc, argv, usage); help >= 0) return help;
    if (argc != 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    fen_position pos;
    std::string error, ignored;
    if (!load_fen(argv[1], &pos, &error, &ignored)) {
        std::fprintf(stderr, "vartok-perft: %s\n", error.c_str());
        return 2;
    }
    if (!ignored.empty()) std::fprintf(stderr, "vartok-perft: %s\n", ignored.c_str());
    // Counting there would count captures of a king.
    if (const char *unreachable = unreachable_position(pos)) {
        std::fprintf(stderr, "vartok-perft: %s\n", unreachable);
        return 2;
    }
    char *end = nullptr;
    const long depth = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || depth < 1 || depth > max_depth) {
        std::fprintf(stderr, "vartok-perft: DEPTH must be a number from 1 to %d\n", max_depth);
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    uint64_t total = 0;
    const board_sets sets = sets_of(pos.board);
    move_context ctx;
    prepare_move_context(&ctx, &pos.board, sets, king_of(sets, pos.turn));
    for_each_move(ctx, pos.turn, [&](coord src, coord dst) {
        const bool ascension = ascends(pos.board, src, dst);
        for (int p = 0; p < (ascension ? ascension_choices : 1); p++) {
            const uint64_t n =
                perft_after(pos.board, sets, pos.turn, static_cast<int>(depth), src, dst, p);
            const std::string name = square_name(src) + square_name(dst);
            if (ascension)
                std::printf("%s%c: %" PRIu64 "\n", name.c_str(),
                            coordinate_ascension_letters[ascension_types[p]], n);
            else
                std::printf("%s: %" PRIu64 "\n", name.c_str(), n);
            total += n;
        }
    });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\nNodes searched: %" PRIu64 "\n", total);
    std::printf("Nodes per second: %.0f (%.3f s)\n", seconds > 0 ? total / seconds : 0.0, seconds);
    return 0;
}
