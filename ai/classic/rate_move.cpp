// Rating of one move: material won, small bonuses, terminal results by the parity of the
// ply, the other side's mobility and its best reply. There is no other evaluation, and the
// dead-end test is the only pruning. Sums wrap instead of overflowing: a side without any
// reply leaves the smallest score in the reply term.
#include "ai/classic/rate_move.h"
#include "ai/classic/position_facts.h"
#include "ai/classic/position_verdict.h"
#include "ai/classic/score_math.h"
#include "rules/fast/bitboards.h"
#include "rules/move_context.h"
#include "rules/move_piece.h"
#include "rules/position_rules.h"

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
constexpr int32_t classic_mate_score = 2147483647;
constexpr int64_t castling_bonus = 1000;
constexpr uint32_t mobility_counts_after = 5; // turn_count
constexpr uint8_t ascension_types[] = {type_rook, type_knight, type_bishop, type_queen};
constexpr int mobility_shift_limit = 32;

bool odd_ply(uint8_t depth) {
    return (depth & 1) != 0;
}

// What the material on the board means for every move of one side in one position: the
// same for all of them, so worked out once per position.
struct mover_terms {
    int8_t s; // the material balance the rater returns
    int8_t non_aggressiveness;
    uint32_t pawn_move_score;
    int64_t check_score;
    int32_t deadend_score;
    int32_t capture_value[kind_slots]; // material won by taking a piece of each kind
};

mover_terms terms_for(const position_facts &facts, uint8_t turn, const search_state &st) {
    mover_terms t{};
    t.check_score = normal_check_score;
    t.deadend_score = st.global_deadend_score;
    t.pawn_move_score = normal_pawn_move_score;
    const uint8_t other = turn ? 0 : 1;
    const material cur_op = material_of(facts, other);
    const material cur_my = material_of(facts, turn);
    t.s = material_measure(cur_op);
    const int8_t r = material_measure(cur_my);
    t.non_aggressiveness = 1;
    if (t.s <= 1) {
        if (r <= 2) t.pawn_move_score = endgame_pawn_move_score;
        if (t.s == 0) {
            t.check_score = lone_king_check_score;
            t.deadend_score = static_cast<int32_t>(static_cast<uint32_t>(t.deadend_score) -
                                                   static_cast<uint32_t>(st.deadend_limit));
        }
    } else {
        if (cur_op.queens > cur_my.queens) t.non_aggressiveness++;
        if (cur_op.rooks > cur_my.rooks)
            t.non_aggressiveness =
                static_cast<int8_t>(t.non_aggressiveness + (cur_op.rooks - cur_my.rooks) / 2);
        t.s = static_cast<int8_t>(t.s - r);
    }
    const uint8_t c = other ? black_bit : 0;
    t.capture_value[c | type_queen] = queen_value;
    t.capture_value[c | type_rook] = rook_value;
    t.capture_value[c | type_knight] = knight_value;
    t.capture_value[c | type_bishop] = bishop_value;
    t.capture_value[c | type_pawn] = pawn_value;
    return t;
}

int8_t rate(struct move *mv, const struct board *brd, const board_sets &sets,
            const position_facts &facts, const mover_terms &terms, uint8_t turn, search_state *st);

// Rates the replies one ply deeper; the search itself recurses, a split root move lists its
// replies or takes their ratings made elsewhere.
struct recursive_replies {
    void operator()(struct move *reply, const struct board *brd, const board_sets &sets,
                    const position_facts &facts, const mover_terms &terms, uint8_t turn,
                    search_state *st) const {
        rate(reply, brd, sets, facts, terms, turn, st);
    }
};

struct rating_context {
    struct move *mv;
    const struct board *temp;
    const board_sets *sets;      // of temp
    const position_facts *facts; // of temp
    uint8_t turn;
    coord king_pos; // the other side's king
    int8_t non_aggressiveness;
    int32_t deadend_score;
    search_state *st;
};

bool passes_deadend_test(const rating_context &c) {
    const uint8_t depth = c.st->depth;
    const uint32_t slope = static_cast<uint32_t>(c.st->deadend_limit) * depth;
    if (odd_ply(depth)) {
        const auto bound = static_cast<int32_t>(static_cast<uint32_t>(c.deadend_score) + slope);
        return c.mv->score > bound;
    }
    const auto bound = static_cast<int32_t>(0u - static_cast<uint32_t>(c.deadend_score) - slope);
    return c.mv->score < bound;
}

// At the last ply every reply returns at once with score 0: only their number matters
// (for the mobility term), or merely whether there is one.
void count_replies(const verdict *v, uint32_t turn_count, uint32_t *legal_move_count,
                   bool *any_reply) {
    const bool need_count = turn_count > mobility_counts_after;
    if (!need_count) {
        *any_reply = v->stale < stale_stalemate;
        return;
    }
    if (v->stale >= stale_stalemate) return; // no reply at all
    *legal_move_count = count_legal_moves(v->ctx);
    *any_reply = *legal_move_count != 0;
}

// Dead-end test, then every reply of the other side one ply deeper, then the mobility and
// best-reply terms.
template <typename Replies>
void continuation(const rating_context &c, verdict *v, Replies &replies) {
    struct move *mv = c.mv;
    search_state *st = c.st;
    if (!passes_deadend_test(c)) return;
    if (!v->prepared) judge_mobility(v, c.temp, *c.sets, c.king_pos);

    struct move opmax {};
    opmax.score = smallest_score;
    uint32_t legal_move_count = 0;
    const uint8_t other = c.turn ? 0 : 1;
    if (st->depth >= st->max_depth) {
        bool any_reply = false;
        count_replies(v, st->turn_count, &legal_move_count, &any_reply);
        if (any_reply) opmax.score = 0;
    } else {
        struct move lmove {};
        const mover_terms terms = terms_for(*c.facts, other, *st);
        destination_list list;
        // The other side's pieces in index order, a8 to h1.
        for (uint64_t pieces = c.sets->colour[other]; pieces;) {
            const coord pc = bitboards::coord_of(bitboards::pop_lowest(pieces));
            const uint8_t count = legal_moves_in(v->ctx, pc, &list);
            if (count == 0) continue;
            legal_move_count += count;
            lmove.src = pc;
            for (int k = count - 1; k >= 0; k--) {
                lmove.dst = list.squares[k];
                replies(&lmove, c.temp, *c.sets, *c.facts, terms, other, st);
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
    if (st->turn_count > mobility_counts_after && depth < mobility_shift_limit)
        mv->score = wrap_sub(mv->score, legal_move_count >> depth);
    if (odd_ply(depth))
        mv->score = wrap_sub(mv->score, opmax.score / (c.non_aggressiveness * depth));
    else
        mv->score = wrap_sub(mv->score, wrap_add(opmax.score, opmax.score));
}

int64_t mate_value(uint8_t depth) {
    return odd_ply(depth) ? classic_mate_score : classic_mate_score / depth;
}

// Tries rook, knight, bishop and queen on the ascension square; `ascend` keeps the best,
// while `score` keeps what the last candidate, the queen, was worth.
template <typename Replies>
void rate_ascension(const rating_context &outer, struct board *temp, board_sets *sets, coord dst,
                    Replies &replies) {
    rating_context c = outer;
    struct move *mv = c.mv;
    const uint8_t depth = c.st->depth;
    const uint8_t colour = c.turn ? black_bit : 0;
    const int64_t noascend_score = mv->score;
    int64_t ascend_max_score = smallest_score;
    position_facts ascended = *c.facts;
    ascended.count[colour | type_pawn]--;
    c.facts = &ascended;
    for (uint8_t ascend : ascension_types) {
        ascend_piece(temp, dst, ascend, sets);
        ascended.count[colour | ascend]++;
        verdict v;
        judge(&v, c.st->status, temp, *sets, c.king_pos, no_repetition_test);
        const auto value = static_cast<int64_t>(ascend_value(ascend));
        if (v.stale == stale_check) {
            mv->score = noascend_score + 1;
            continuation(c, &v, replies);
        } else if (v.stale == stale_stalemate) {
            mv->score = odd_ply(depth) ? noascend_score + stalemate_score
                                       : noascend_score - stalemate_score;
        } else if (v.stale == stale_checkmate) {
            mv->score = wrap_add(wrap_add(noascend_score, value), mate_value(depth));
        } else {
            mv->score = wrap_add(noascend_score, value);
        }
        if (mv->score >= ascend_max_score) {
            ascend_max_score = mv->score;
            mv->ascend = ascend;
        }
        ascended.count[colour | ascend]--;
    }
}

template <typename Replies>
int8_t rate_with(struct move *mv, const struct board *brd, const board_sets &sets,
                 const position_facts &facts, const mover_terms &terms, uint8_t turn,
                 search_state *st, Replies &replies) {
    mv->score = 0;
    mv->ascend = 0;
    mv->staledraw = 0;
    mv->checkmate_found = no_checkmate;

    if (st->depth >= st->max_depth) return -1;
    if (st->cancel && st->cancel->load(std::memory_order_relaxed)) return -1;
    struct board temp = *brd;
    board_sets temp_sets = sets;
    st->depth++;
    const uint8_t depth = st->depth;

    const uint8_t other = turn ? 0 : 1;
    const int8_t s = terms.s;

    st->a++;

    const uint8_t piece = brd->tiles[mv->src.row][mv->src.col];
    const uint8_t target = brd->tiles[mv->dst.row][mv->dst.col];
    const int col_change = mv->dst.col - mv->src.col;
    if ((piece & type_mask) == type_king && (col_change == 2 || col_change == -2)) {
        // turn_count is at least 2 whenever a search runs; the guard only keeps a
        // misused call from dividing by zero.
        const uint32_t full_moves = st->turn_count / 2 ? st->turn_count / 2 : 1;
        mv->score += castling_bonus / full_moves;
    }
    if (is_pawn(piece)) mv->score += terms.pawn_move_score;

    // The board after the move, known without counting: a capture removes one piece of the
    // other side (en passant: a pawn beside the mover), a king move moves the mover's king.
    position_facts next = facts;
    if (target != 0) {
        next.count[kind_index(target)]--;
        mv->score += terms.capture_value[kind_index(target)];
    } else if ((piece & type_mask) == type_pawn && col_change != 0) {
        next.count[(other ? black_bit : 0) | type_pawn]--;
        mv->score += pawn_value;
    }
    if ((piece & type_mask) == type_king) next.king[turn] = mv->dst;

    const int ascend_required = move_piece(&temp, mv->src, mv->dst, &temp_sets);
    const coord king_pos = next.king[other];

    verdict v;
    judge(&v, st->status, &temp, temp_sets, king_pos, depth);
    int stale = v.stale;
    rating_context c{
        mv, &temp, &temp_sets, &next, turn, king_pos, terms.non_aggressiveness, terms.deadend_score,
        st};
    if (stale >= stale_repetition && st->turn_count < repetition_counts_from) stale = stale_nothing;
    if (stale >= stale_repetition) {
        mv->score += odd_ply(depth) ? draw_score : -draw_score;
        mv->staledraw = 1;
    } else if (stale == stale_stalemate) {
        mv->score += odd_ply(depth) ? stalemate_score : -stalemate_score;
        if (depth <= 2) mv->staledraw = 1;
    } else if (stale == stale_checkmate) {
        mv->score += odd_ply(depth) ? classic_mate_score - depth : mate_value(depth);
        mv->checkmate_found = depth;
    } else {
        if (stale == stale_check) mv->score += terms.check_score;
        if (!ascend_required)
            continuation(c, &v, replies);
        else
            rate_ascension(c, &temp, &temp_sets, mv->dst, replies);
    }
    st->depth--;
    return s;
}

int8_t rate(struct move *mv, const struct board *brd, const board_sets &sets,
            const position_facts &facts, const mover_terms &terms, uint8_t turn, search_state *st) {
    recursive_replies replies;
    return rate_with(mv, brd, sets, facts, terms, turn, st, replies);
}

// Lists the replies instead of rating them. Each looks worthless, so none ends a piece's
// list early: every reply the search might rate is listed.
struct reply_lister {
    reply_split *split;
    void operator()(struct move *reply, const struct board *brd, const board_sets &sets,
                    const position_facts &facts, const mover_terms &, uint8_t turn,
                    search_state *) const {
        if (split->replies.empty()) {
            split->after = *brd;
            split->sets = sets;
            split->facts = facts;
            split->turn = turn;
        }
        split->replies.push_back({reply->src, reply->dst});
        reply->score = smallest_score;
        reply->ascend = 0;
        reply->staledraw = 0;
        reply->checkmate_found = no_checkmate;
    }
};

// Takes the replies' ratings, made elsewhere, in the order the search asks for them.
struct reply_collector {
    const reply_rating *ratings;
    int next = 0;
    void operator()(struct move *reply, const struct board *, const board_sets &,
                    const position_facts &, const mover_terms &, uint8_t, search_state *st) {
        const reply_rating &r = ratings[next++];
        reply->score = r.mv.score;
        reply->ascend = r.mv.ascend;
        reply->staledraw = r.mv.staledraw;
        reply->checkmate_found = r.mv.checkmate_found;
        st->a += r.a;
    }
};

} // namespace

uint64_t ascend_value(uint8_t piece) {
    switch (piece) {
    case type_queen:
        return queen_value;
    case type_bishop:
        return bishop_value;
    case type_rook:
        return rook_value;
    default:
        return knight_value;
    }
}

int8_t rate_move(struct move *mv, const struct board *brd, uint8_t turn, search_state *st) {
    const position_facts facts = facts_of(brd);
    return rate(mv, brd, sets_of(*brd), facts, terms_for(facts, turn, *st), turn, st);
}

bool split_replies(const struct move &mv, const struct board *brd, uint8_t turn,
                   const search_state &st, reply_split *split) {
    split->replies.clear();
    // A ascension rates the replies of up to four positions: it stays one piece of work.
    if (reaches_last_row(brd->tiles[mv.src.row][mv.src.col], mv.dst)) return false;
    search_state scratch = st;
    scratch.depth = 0;
    struct move probe = mv;
    reply_lister lister{split};
    const position_facts facts = facts_of(brd);
    rate_with(&probe, brd, sets_of(*brd), facts, terms_for(facts, turn, st), turn, &scratch,
              lister);
    return !split->replies.empty();
}

void rate_split_reply(const reply_split &split, int k, search_state *st, reply_rating *out) {
    const uint64_t before = st->a;
    st->depth = 1; // the replies of a root move are rated at ply 2
    // Rated on this thread's stack: neighbouring ratings, written by other threads at the
    // same time, share cache lines with `out`.
    struct move mv {};
    mv.src = split.replies[k].src;
    mv.dst = split.replies[k].dst;
    rate(&mv, &split.after, split.sets, split.facts, terms_for(split.facts, split.turn, *st),
         split.turn, st);
    st->depth = 0;
    out->mv = mv;
    out->a = st->a - before;
}

int8_t rate_move_from_replies(struct move *mv, const struct board *brd, uint8_t turn,
                              search_state *st, const reply_split &split,
                              const reply_rating *ratings) {
    (void)split;
    reply_collector collector{ratings};
    st->depth = 0;
    const position_facts facts = facts_of(brd);
    return rate_with(mv, brd, sets_of(*brd), facts, terms_for(facts, turn, *st), turn, st,
                     collector);
}
