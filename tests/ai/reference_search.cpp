// A copy of the rating search as first written, straight from its description, over the
// reference rules. The fast search must agree with it on every field and count.
// Rating of one move: material won, small bonuses, terminal results by the parity of the
// ply, the other side's mobility and its best reply. There is no other evaluation, and the
// dead-end test is the only pruning. Sums wrap instead of overflowing: a side without any
// reply leaves the smallest score in the reply term.
#include "tests/ai/reference_search.h"
#include "ai/ai_settings.h"
#include "ai/rate_move.h"
#include "rules/live_game.h"
#include "rules/pieces.h"
#include "rules/position_rules.h"
#include "tests/ai/reference_rules.h"

namespace {

constexpr int32_t queen_value = 994;
constexpr int32_t rook_value = 548;
constexpr int32_t knight_value = 305;
constexpr int32_t bishop_value = 350;
constexpr int32_t pawn_value = 100;

constexpr int64_t normal_check_score = 1;
constexpr int64_t lone_king_check_score = 32767;
constexpr uint32_t normal_pawn_move_score = 10;
constexpr uint32_t endgame_pawn_move_score = normal_pawn_move_score << 4;
constexpr int64_t draw_score = 6000;
constexpr int64_t stalemate_score = 4000;
constexpr int32_t mate_score = 2147483647;
constexpr int64_t castling_bonus = 1000;
constexpr uint32_t repetition_counts_from = 4; // turn_count
constexpr uint32_t mobility_counts_after = 5;  // turn_count
constexpr uint8_t promotion_types[] = {type_rook, type_knight, type_bishop, type_queen};
constexpr int mobility_shift_limit = 32;

int64_t wrap_add(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) + static_cast<uint64_t>(y));
}
int64_t wrap_sub(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) - static_cast<uint64_t>(y));
}

struct material {
    uint8_t queens, rooks, bishops, knights, pawns;
};

material count_material(const struct board *brd, uint8_t side) {
    material m;
    piece_count(brd, side, &m.queens, &m.rooks, &m.bishops, &m.knights, &m.pawns);
    return m;
}

// Twice the queens plus the rooks plus half the minor pieces.
int8_t material_measure(const material &m) {
    return static_cast<int8_t>(2 * m.queens + m.rooks + (m.bishops + m.knights) / 2);
}

bool odd_ply(uint8_t depth) {
    return (depth & 1) != 0;
}

struct rating_context {
    struct move *mv;
    const struct board *temp;
    uint8_t turn;
    coord king_pos; // the other side's king
    int8_t non_aggressiveness;
    int32_t deadend_score;
    search_state *st;
};

bool passes_deadend_test(const rating_context &c) {
    const uint8_t depth = c.st->depth;
    const uint32_t slope = static_cast<uint32_t>(deadend_limit) * depth;
    if (odd_ply(depth)) {
        const auto bound = static_cast<int32_t>(static_cast<uint32_t>(c.deadend_score) + slope);
        return c.mv->score > bound;
    }
    const auto bound = static_cast<int32_t>(0u - static_cast<uint32_t>(c.deadend_score) - slope);
    return c.mv->score < bound;
}

// Dead-end test, then every reply of the other side one ply deeper, then the mobility and
// best-reply terms.
void continuation(const rating_context &c) {
    struct move *mv = c.mv;
    search_state *st = c.st;
    if (!passes_deadend_test(c)) return;

    struct move opmax {};
    opmax.score = smallest_score;
    struct move lmove {};
    uint32_t legal_move_count = 0;
    const uint8_t other = c.turn ? 0 : 1;
    const uint8_t other_colour = other ? black_bit : 0;
    destination_list list;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = c.temp->tiles[row][col];
            if (tile == 0 || (tile & black_bit) != other_colour) continue;
            const coord pc{row, col};
            const uint8_t count = ref_legal_moves(c.temp, pc, &list, &c.king_pos);
            if (count == 0) continue;
            legal_move_count += count;
            lmove.src = pc;
            for (int k = count - 1; k >= 0; k--) {
                lmove.dst = list.squares[k];
                ref_rate_move(&lmove, c.temp, other, st);
                if (lmove.score > opmax.score) opmax = lmove;
                if (lmove.staledraw) {
                    mv->staledraw = 1;
                } else {
                    if (lmove.checkmate_found < mv->checkmate_found)
                        mv->checkmate_found = lmove.checkmate_found;
                    if (opmax.score > mate_threshold) break;
                }
            }
        }
    }

    const uint8_t depth = st->depth;
    if (turn_count > mobility_counts_after && depth < mobility_shift_limit)
        mv->score = wrap_sub(mv->score, legal_move_count >> depth);
    if (odd_ply(depth))
        mv->score = wrap_sub(mv->score, opmax.score / (c.non_aggressiveness * depth));
    else
        mv->score = wrap_sub(mv->score, wrap_add(opmax.score, opmax.score));
}

int64_t mate_value(uint8_t depth) {
    return odd_ply(depth) ? mate_score : mate_score / depth;
}

// Tries rook, knight, bishop and queen on the promotion square; `ascend` keeps the best,
// while `score` keeps what the last candidate, the queen, was worth.
void rate_promotion(rating_context &c, struct board *temp, coord dst) {
    struct move *mv = c.mv;
    const uint8_t depth = c.st->depth;
    const int64_t noascend_score = mv->score;
    int64_t ascend_max_score = smallest_score;
    for (uint8_t ascend : promotion_types) {
        ascend_piece(temp, dst, ascend);
        const int stale = ref_check_stale(temp, c.king_pos, no_repetition_test);
        const auto value = static_cast<int64_t>(ascend_value(ascend));
        if (stale == stale_check) {
            mv->score = noascend_score + 1;
            continuation(c);
        } else if (stale == stale_stalemate) {
            mv->score = odd_ply(depth) ? noascend_score + stalemate_score
                                       : noascend_score - stalemate_score;
        } else if (stale == stale_checkmate) {
            const int64_t mate = odd_ply(depth) ? mate_score : mate_score / depth;
            mv->score = wrap_add(wrap_add(noascend_score, value), mate);
        } else {
            mv->score = wrap_add(noascend_score, value);
        }
        if (mv->score >= ascend_max_score) {
            ascend_max_score = mv->score;
            mv->ascend = ascend;
        }
    }
}

} // namespace

int8_t ref_rate_move(struct move *mv, const struct board *brd, uint8_t turn, search_state *st) {
    int64_t check_score = normal_check_score;
    int32_t deadend_score = global_deadend_score;
    uint32_t pawn_move_score = normal_pawn_move_score;
    mv->score = 0;
    mv->ascend = 0;
    mv->staledraw = 0;
    mv->checkmate_found = no_checkmate;

    if (st->depth >= st->max_depth) return -1;
    if (st->cancel && st->cancel->load(std::memory_order_relaxed)) return -1;
    struct board temp = *brd;
    st->depth++;
    const uint8_t depth = st->depth;

    const uint8_t other = turn ? 0 : 1;
    const material cur_op = count_material(brd, other);
    const material cur_my = count_material(brd, turn);
    int8_t s = material_measure(cur_op);
    const int8_t r = material_measure(cur_my);
    int8_t non_aggressiveness = 1;
    if (s <= 1) {
        if (r <= 2) pawn_move_score = endgame_pawn_move_score;
        if (s == 0) {
            check_score = lone_king_check_score;
            deadend_score = static_cast<int32_t>(static_cast<uint32_t>(deadend_score) -
                                                 static_cast<uint32_t>(deadend_limit));
        }
    } else {
        if (cur_op.queens > cur_my.queens) non_aggressiveness++;
        if (cur_op.rooks > cur_my.rooks)
            non_aggressiveness =
                static_cast<int8_t>(non_aggressiveness + (cur_op.rooks - cur_my.rooks) / 2);
        s = static_cast<int8_t>(s - r);
    }

    st->a++;

    const uint8_t piece = brd->tiles[mv->src.row][mv->src.col];
    const int col_change = mv->dst.col - mv->src.col;
    if ((piece & type_mask) == type_king && (col_change == 2 || col_change == -2)) {
        // turn_count is at least 2 whenever a search runs; the guard only keeps a
        // misused call from dividing by zero.
        const uint32_t full_moves = turn_count / 2 ? turn_count / 2 : 1;
        mv->score += castling_bonus / full_moves;
    }
    if (is_pawn(piece)) mv->score += pawn_move_score;

    const int ascend_required = move_piece(&temp, mv->src, mv->dst);
    const coord king_pos = find_king(&temp, other);
    const material mov_op = count_material(&temp, other);
    mv->score += (cur_op.queens - mov_op.queens) * queen_value;
    mv->score += (cur_op.rooks - mov_op.rooks) * rook_value;
    mv->score += (cur_op.knights - mov_op.knights) * knight_value;
    mv->score += (cur_op.bishops - mov_op.bishops) * bishop_value;
    mv->score += (cur_op.pawns - mov_op.pawns) * pawn_value;

    int stale = ref_check_stale(&temp, king_pos, depth);
    rating_context c{mv, &temp, turn, king_pos, non_aggressiveness, deadend_score, st};
    if (stale >= stale_repetition && turn_count < repetition_counts_from) stale = stale_nothing;
    if (stale >= stale_repetition) {
        mv->score += odd_ply(depth) ? draw_score : -draw_score;
        mv->staledraw = 1;
    } else if (stale == stale_stalemate) {
        mv->score += odd_ply(depth) ? stalemate_score : -stalemate_score;
        if (depth <= 2) mv->staledraw = 1;
    } else if (stale == stale_checkmate) {
        mv->score += odd_ply(depth) ? mate_score - depth : mate_value(depth);
        mv->checkmate_found = depth;
    } else {
        if (stale == stale_check) mv->score += check_score;
        if (!ascend_required)
            continuation(c);
        else
            rate_promotion(c, &temp, mv->dst);
    }
    st->depth--;
    return s;
}
