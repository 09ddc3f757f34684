#include "tests/ai/classic_reference/review_cases.h"

#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"

#include <climits>
#include <cstdio>
#include <random>

namespace {

// Opening, middlegame and endgame positions with castling, en passant and ascensions.
const char *const start_fens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5",
    "2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 40",
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 20",
    "7k/8/8/5Q2/8/8/8/K7 w - - 0 40",
    "k7/8/1K6/8/8/8/8/7R w - - 0 60",
    "r3k3/1P4P1/8/8/8/8/1p4p1/R3K3 w Qq - 0 30",
    "4k3/8/8/8/8/8/8/4K2R w K - 0 50",
    "3qk3/8/8/8/8/8/3Q4/3K4 w - - 0 1",
    "8/8/8/KPp4r/8/8/8/7k w - c6 0 1",
    "8/2k5/8/K1pP3r/8/8/8/8 w - c6 0 1",
    "4k3/PPP3PP/8/8/8/8/pp3ppp/4K3 w - - 0 1",
    "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1",
    "r3k2r/8/8/3q4/8/8/8/R3K2R w KQkq - 0 1",
    "3k4/8/8/8/8/8/4q3/R3K2R w KQ - 0 1",
};

struct walker {
    std::mt19937 rng;
    int below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
};

struct one_move {
    coord src, dst;
};

std::vector<one_move> all_legal(const struct board &b, uint8_t side) {
    std::vector<one_move> out;
    const coord king = find_king(&b, side);
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = b.tiles[row][col];
            if (tile == 0 || is_black(tile) != (side != 0)) continue;
            destination_list list;
            const uint8_t n = legal_moves(&b, {row, col}, &list, &king);
            for (int k = 0; k < n; k++) out.push_back({{row, col}, list.squares[k]});
        }
    return out;
}

// Plays `m`; a pawn reaching the last row becomes a random piece.
void play(struct board *b, const one_move &m, walker *w) {
    if (move_piece(b, m.src, m.dst))
        ascend_piece(b, m.dst, static_cast<uint8_t>(type_rook + w->below(4)));
}

void log_into(struct last_moves *h, const struct board &b, uint8_t turn) {
    h->position[h->index].board = b;
    h->position[h->index].turn = turn & 1;
    h->index = (h->index + 1) & 15;
}

// Fills the history with positions the search will meet one and two plies in, twice each,
// so that repetitions are found there; sometimes with the wrong turn bit.
void fill_history(review_case *c, walker *w) {
    c->history.index = static_cast<uint8_t>(w->below(16));
    const std::vector<one_move> mine = all_legal(c->board, c->turn);
    if (mine.empty()) return;
    const int picks = 1 + w->below(3);
    for (int p = 0; p < picks; p++) {
        struct board after = c->board;
        play(&after, mine[w->below(static_cast<int>(mine.size()))], w);
        const uint8_t bit = w->below(5) == 0 ? 0 : 1;
        const int copies = 1 + w->below(2);
        for (int k = 0; k < copies; k++) log_into(&c->history, after, bit);
        const std::vector<one_move> replies = all_legal(after, !c->turn);
        if (replies.empty()) continue;
        struct board later = after;
        play(&later, replies[w->below(static_cast<int>(replies.size()))], w);
        for (int k = 0; k < 2; k++) log_into(&c->history, later, w->below(5) == 0 ? 1 : 0);
    }
    if (w->below(3) == 0) log_into(&c->history, c->board, !c->turn);
}

review_case from_fen(const std::string &fen) {
    review_case c{};
    fen_position pos;
    std::string error;
    if (!load_fen(fen, &pos, &error)) {
        std::fprintf(stderr, "bad position %s: %s\n", fen.c_str(), error.c_str());
        std::abort();
    }
    // No game reaches a position where the side that just moved is in check.
    const coord resting_king = find_king(&pos.board, !pos.turn);
    if (king_threatened(&pos.board, &resting_king, resting_king)) {
        std::fprintf(stderr, "the side not to move is in check: %s\n", fen.c_str());
        std::abort();
    }
    c.fen = fen;
    c.board = pos.board;
    c.turn = pos.turn;
    c.moves_pawn_capture = pos.halfmoves;
    c.turn_count = 2 * (pos.fullmoves - 1) + 1 + pos.turn;
    if (c.turn_count < 2) c.turn_count = 2;
    c.depth1 = 3;
    c.depth2 = 3;
    c.deadend_score = -1988;
    c.deadend_limit = 548;
    c.seed = 1;
    c.threads = 1;
    c.plies = 1;
    return c;
}

const uint32_t turn_counts[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 20, 21, 41, 100, 1001, 4000000001u};
const uint32_t counters[] = {0, 3, 49, 50, 51, 74, 75, 76, 200};

} // namespace

std::string describe(const review_case &c) {
    char text[400];
    std::snprintf(text, sizeof text,
                  "%s | turn %c turn_count %u counter %u depth %u/%u blunders %u deadend %d/%d "
                  "book %u seed %u threads %u plies %d history index %u",
                  c.fen.c_str(), c.turn ? 'b' : 'w', c.turn_count, c.moves_pawn_capture, c.depth1,
                  c.depth2, c.blunders, c.deadend_score, c.deadend_limit, c.opening_calls, c.seed,
                  c.threads, c.plies, c.history.index);
    return text;
}

std::vector<review_case> random_cases(int count, uint32_t sequence) {
    walker w{std::mt19937(sequence)};
    std::vector<review_case> out;
    const int fens = static_cast<int>(sizeof start_fens / sizeof start_fens[0]);
    while (static_cast<int>(out.size()) < count) {
        review_case c = from_fen(start_fens[w.below(fens)]);
        const int walk = w.below(14);
        bool stuck = false;
        for (int p = 0; p < walk; p++) {
            const std::vector<one_move> moves = all_legal(c.board, c.turn);
            if (moves.empty()) {
                stuck = true;
                break;
            }
            play(&c.board, moves[w.below(static_cast<int>(moves.size()))], &w);
            c.turn = !c.turn;
        }
        // A side without a move is a rare case of its own; keep only a few.
        if (stuck && w.below(4) != 0) continue;
        fen_position pos{c.board, c.turn, 0, 1};
        c.fen = format_fen(pos);
        c.turn_count = turn_counts[w.below(sizeof turn_counts / sizeof turn_counts[0])];
        c.moves_pawn_capture =
            w.below(3) == 0 ? counters[w.below(sizeof counters / sizeof counters[0])] : 0;
        c.depth1 = static_cast<uint8_t>(1 + w.below(3));
        c.depth2 = static_cast<uint8_t>(c.depth1 + w.below(3));
        if (c.depth2 > 4) c.depth2 = 4;
        if (w.below(12) == 0) c.depth2 = static_cast<uint8_t>(c.depth1 - 1);
        if (w.below(20) == 0) c.depth1 = 0; // every root move stops at the depth limit
        const uint8_t blunder_choices[] = {0, 0, 0, 1, 2, 3, 7};
        c.blunders = blunder_choices[w.below(7)];
        const int dead = w.below(10);
        if (dead == 0) {
            // Milder pruning than this makes the plain player far too slow for a test.
            c.deadend_score = -1000 - w.below(2000);
            c.deadend_limit = 450 + w.below(700);
        } else if (dead == 1) {
            // Bounds that wrap around 32 bits; kept shallow since they prune nothing.
            const int32_t extremes[] = {INT32_MIN, INT32_MAX, -2147483000, 2147483000};
            c.deadend_score = extremes[w.below(4)];
            c.deadend_limit = extremes[w.below(4)];
            c.depth1 = 1;
            c.depth2 = static_cast<uint8_t>(1 + w.below(2));
        }
        if (w.below(3) == 0) fill_history(&c, &w);
        c.seed = static_cast<unsigned>(w.rng());
        c.threads = 1 + w.below(2);
        c.plies = 1 + (w.below(4) == 0 ? w.below(3) : 0);
        out.push_back(c);
    }
    return out;
}

std::vector<review_case> chosen_cases() {
    std::vector<review_case> out;
    auto add = [&out](const char *fen, uint32_t turn_count, uint8_t d1, uint8_t d2) {
        review_case c = from_fen(fen);
        c.turn_count = turn_count;
        c.depth1 = d1;
        c.depth2 = d2;
        out.push_back(c);
        return &out.back();
    };
    // Mates in one and two, for both colours, in the first and the second pass.
    add("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 20", 39, 1, 3);
    add("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 20", 2, 3, 3);
    add("r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 20", 40, 2, 4);
    add("k7/8/1K6/8/8/8/8/7R w - - 0 60", 119, 1, 2);
    add("6k1/5ppp/8/8/8/8/1Q3PPP/1R4K1 w - - 0 20", 39, 3, 4);
    add("2k5/8/1K6/8/8/8/8/3R4 w - - 0 60", 119, 3, 4);
    // Stalemate within reach, and positions without a legal move.
    add("7k/8/8/5Q2/8/8/8/K7 w - - 0 40", 79, 1, 3);
    add("7k/8/8/5Q2/8/8/8/K7 w - - 0 40", 79, 2, 4);
    add("k7/2Q5/1K6/8/8/8/8/8 b - - 0 40", 80, 1, 3);
    add("k7/1Q6/1K6/8/8/8/8/8 b - - 0 40", 80, 1, 3);
    add("7k/5Q2/6K1/8/8/8/8/8 b - - 0 50", 80, 2, 3);
    // Early in a game the move-count codes hide mates and stalemates from the search: a
    // side without any reply leaves the smallest score in the reply term.
    for (uint32_t turn_count : {2u, 3u}) {
        add("k7/8/1K6/8/8/8/8/7R w - - 60 60", turn_count, 1, 3);
        add("7k/8/8/5Q2/8/8/8/K7 w - - 80 40", turn_count, 2, 3);
        add("k7/8/1K6/8/8/8/8/7R w - - 60 60", turn_count, 3, 3);
    }
    // Ascensions: with capture, with check, with mate, for both colours.
    add("4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 40", 79, 1, 3);
    add("4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 40", 80, 2, 4);
    add("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 40", 79, 2, 4);
    add("k7/2P5/1K6/8/8/8/8/8 w - - 0 40", 79, 1, 3);
    add("7k/4P3/6K1/8/8/8/8/8 w - - 0 40", 79, 1, 4);
    add("2k5/4P3/4K3/8/8/8/8/8 w - - 0 40", 79, 1, 4);
    add("8/8/8/8/8/1k6/p7/2K5 b - - 0 40", 80, 1, 4);
    // Castling early and late.
    add("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 2, 1, 3);
    add("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 10, 2, 3);
    add("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 21, 2, 3);
    // The book: White's first move, Black's answers, and its calls running out.
    const char *start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    for (int plies = 1; plies <= 5; plies++) {
        review_case *c = add(start, 1, 1, 2);
        c->opening_calls = 2;
        c->plies = plies;
    }
    for (const char *fen : {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
                            "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 1",
                            "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1",
                            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"}) {
        for (uint8_t calls = 0; calls <= 2; calls++) {
            review_case *c = add(fen, 2, 1, 2);
            c->opening_calls = calls;
            c->plies = 3;
        }
    }
    // Whole games of computer moves: the book, repetitions, the move counter passing 50 and
    // 75, ascensions and mates met along the way.
    {
        review_case *c = add(start, 1, 2, 3);
        c->opening_calls = 2;
        c->plies = 30;
    }
    add("2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30", 59, 1, 3)->plies = 40;
    {
        review_case *c = add("k7/8/1K6/8/8/8/8/7R w - - 0 60", 119, 2, 3);
        c->moves_pawn_capture = 45;
        c->plies = 40;
    }
    {
        review_case *c = add("8/8/2k5/8/7r/8/6K1/R6R b - - 0 1", 40, 1, 2);
        c->moves_pawn_capture = 70;
        c->plies = 20;
    }
    // Defaults on the bench middlegame at a late turn: two passes.
    add("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 19, 2, 4);
    return out;
}
