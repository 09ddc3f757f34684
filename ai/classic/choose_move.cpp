// Choosing the computer's move: every legal move is rated to depth1; from the fourth
// half-move on, the moves that score at least halfway between the average and the best are
// rated again to depth2. Equal scores are broken at random, blunders are taken when asked
// for, and a draw is avoided while the computer is ahead.
#include "ai/classic/ai.h"
#include "ai/classic/opening.h"
#include "ai/classic/rate_move.h"
#include "ai/classic/score_math.h"
#include "ai/classic/search_context.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int64_t bestval_start = smallest_score + 1000;
constexpr int64_t draw_avoidance_floor = -536870910;
constexpr int8_t clear_lead = -1;         // a material balance below this is a lead of two units
constexpr int tie_break_mask = 7;         // one chance in eight for the later of equal moves
constexpr uint32_t single_pass_until = 3; // turn_count
constexpr int report_line_size = 96;

struct selection {
    struct move max;
    struct move max_nostale;
    bool chosen;
};

// Fills the cache in the first pass and lists the moves this pass rates, in visiting order.
uint32_t collect_jobs(search_context *ctx, const struct board &board, uint8_t turn, coord king_pos,
                      bool first_pass, int64_t bestval) {
    root_pass &pass = ctx->pass;
    const uint8_t colour = turn ? black_bit : 0;
    uint32_t total_moves = 0;
    pass.job_count = 0;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = board.tiles[row][col];
            if (tile == 0 || (tile & black_bit) != colour) continue;
            piece_all_moves &piece_moves = ctx->moves.squares[row][col];
            if (first_pass)
                piece_moves.move_count =
                    legal_moves(&board, coord{row, col}, &piece_moves.legal_moves, &king_pos);
            total_moves += piece_moves.move_count;
            for (int k = piece_moves.move_count - 1; k >= 0; k--) {
                if (piece_moves.moves[k].score < bestval) continue;
                struct move &job = pass.jobs[pass.job_count];
                job = {};
                job.src = coord{row, col};
                job.dst = piece_moves.legal_moves.squares[k];
                ctx->origins[pass.job_count++] = {row, col, static_cast<uint8_t>(k)};
            }
        }
    }
    return total_moves;
}

void report(const search_observer &observer, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

void report(const search_observer &observer, const char *format, ...) {
    if (!observer.report) return;
    char line[report_line_size];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    observer.report(observer.context, line);
}

void report_pass(const search_observer &observer, const root_pass &pass, uint64_t positions,
                 const struct move &best) {
    report(observer, "depth %u: Analyzed %lu possible situations.", pass.depth,
           static_cast<unsigned long>(positions));
    if (!observer.pass_done) return;
    observer.pass_done(observer.context, {pass.number, pass.depth, positions, best.src.row,
                                          best.src.col, best.dst.row, best.dst.col, best.score});
}

} // namespace

std::unique_ptr<search_context> new_search_context(unsigned seed) {
    auto ctx = std::make_unique<search_context>();
    ctx->random = seeded_random_numbers(seed);
    return ctx;
}

ai_decision choose_ai_move(search_context *ctx, const game_state &game, const ai_settings &settings,
                           const search_observer &observer) {
    root_pass &pass = ctx->pass;
    random_numbers &random = ctx->random;
    ai_decision decision{};
    decision.checkmate_found = no_checkmate;
    const book_answer book = ai_opening(game);
    decision.opening = book.opening;
    if (book.found) {
        decision.outcome = ai_outcome::book_move;
        decision.src = book.src;
        decision.dst = book.dst;
        return decision;
    }
    const struct board &board = game.board;
    const uint8_t turn = game.game_status.turn;
    const coord king_pos = find_king(&board, turn);
    clear_move_cache(&ctx->moves);
    pass.game = &game;
    pass.settings = &settings;
    pass.observer = &observer;

    // With depth2 below depth1 a single pass at depth1 is made.
    const uint8_t first_depth = settings.depth1;
    const uint8_t last_depth =
        settings.depth2 < settings.depth1 ? settings.depth1 : settings.depth2;
    selection sel{};
    sel.max.score = smallest_score;
    sel.max_nostale.score = smallest_score;
    unsigned d = first_depth; // wide, so that a second pass never wraps back below depth2
    uint64_t a = 0;
    int64_t bestval_limit2 = 0;
    int64_t bestval = bestval_start;
    uint8_t i = 0;
    struct move first_rated {};
    bool interrupted = false; // the caller's stop flag ended the search

    while (d <= last_depth) {
        const selection previous = sel; // the choice of the pass before, if any
        sel.max.score = smallest_score;
        const uint32_t total_moves = collect_jobs(ctx, board, turn, king_pos, i == 0, bestval);
        // Some legal move to answer with even when a stop comes before any rating.
        if (i == 0 && pass.job_count > 0) {
            first_rated = pass.jobs[0];
            first_rated.checkmate_found = no_checkmate;
        }
        bool stopped = false;
        int collected = 0;
        pass.number = i + 1;
        start_root_pass(&pass, static_cast<uint8_t>(d));
        for (int j = 0; j < pass.job_count && !stopped; j++) {
            const root_result *rated = await_root_result(&pass, j);
            if (!rated) {
                interrupted = stopped = true;
                break;
            }
            const root_result &r = *rated;
            collected++;
            if (!r.mate_reported) report_checkmate(observer, r.mv);
            const job_origin o = ctx->origins[j];
            struct move &mv = ctx->moves.squares[o.row][o.col].moves[o.k];
            mv = r.mv;
            a += r.a;
            if (i == 0) bestval_limit2 = wrap_add(bestval_limit2, mv.score);
            if (i == 0 && j == 0) first_rated = mv;
            if (mv.score > sel.max.score ||
                (mv.score == sel.max.score && (next_random(&random) & tie_break_mask) == 0)) {
                sel.max = mv;
                sel.chosen = true;
                if (sel.max.staledraw && sel.max.score >= draw_avoidance_floor && r.s < clear_lead)
                    report(observer, "Trying to avoid draw...");
                else
                    sel.max_nostale = sel.max;
            } else if (settings.blunders != 0 && next_random(&random) % settings.blunders == 0 &&
                       mv.score < sel.max.score) {
                sel.max = mv;
                stopped = true;
            }
            if (sel.max.score > mate_threshold) stopped = true;
        }
        finish_root_pass(&pass);
        decision.positions_rated += a;
        // Stopped before this pass rated anything: the earlier pass's choice stands.
        if (interrupted && collected == 0 && i > 0) sel = previous;
        if (stopped) break;

        report_pass(observer, pass, a, sel.max);
        if (i == 0 && total_moves == 0) {
            // The move-count rule kept the turn-start test from seeing mate or stalemate.
            clear_move_cache(&ctx->moves);
            decision.outcome = ai_outcome::no_move;
            return decision;
        }
        if (game.turn_count <= single_pass_until || last_depth == first_depth) break;
        if (i == 0) {
            const int64_t average = bestval_limit2 / static_cast<int64_t>(total_moves);
            report(observer, "Total moves: %u, average score: %lli", total_moves,
                   static_cast<long long>(average));
            bestval_limit2 = wrap_add(average, wrap_sub(sel.max.score, average) / 2);
            if (moves_above_score(ctx->moves, bestval_limit2) < 2) break;
            report(observer, "Recalculating moves with score >= %lli using depth %u.",
                   static_cast<long long>(bestval_limit2), static_cast<unsigned>(last_depth));
        }
        d += last_depth - first_depth;
        bestval = bestval_limit2;
        i++;
        a = 0;
    }
    clear_move_cache(&ctx->moves);

    // Only a rating at the very bottom of the score range can lose every comparison.
    if (!sel.chosen) sel.max = first_rated;
    if (sel.max.staledraw && sel.max_nostale.score != smallest_score) sel.max = sel.max_nostale;
    report(observer, "%u: Moving %c%c to %c%c (score: %lli)", game.turn_count,
           'a' + sel.max.src.col, '8' - sel.max.src.row, 'a' + sel.max.dst.col,
           '8' - sel.max.dst.row, static_cast<long long>(sel.max.score));
    decision.outcome = ai_outcome::move;
    decision.interrupted = interrupted;
    decision.checkmate_found = sel.max.checkmate_found;
    decision.src = sel.max.src;
    decision.dst = sel.max.dst;
    decision.score = sel.max.score;
    if (reaches_last_row(board.tiles[sel.max.src.row][sel.max.src.col], sel.max.dst))
        decision.ascend = sel.max.ascend == 0 ? type_queen : sel.max.ascend;
    return decision;
}
