// The rating search: plays a move on a scratch board and rates every reply recursively.
#pragma once

#include "ai/classic/position_facts.h"
#include "ai/classic/search_state.h"
#include "rules/board.h"
#include "rules/fast/bitboards.h"

#include <vector>

constexpr int64_t smallest_score = INT64_MIN;
// A score above this is a mate found by the side that made the rated move.
constexpr int64_t mate_threshold = 2147483646;

// Rates `mv` (src, dst) in `brd` for `turn` (0 White, 1 Black), the side making it. Writes
// score, ascend, checkmate_found and staledraw; returns the material balance (negative when
// the mover is ahead), or -1 when the depth limit stopped the call.
int8_t rate_move(struct move *mv, const struct board *brd, uint8_t turn, search_state *st);

// Material added for a ascension to `piece`.
uint64_t ascend_value(uint8_t piece);

// One root move's rating split into the ratings of its replies, which are independent of
// each other and can be made on other threads; put together in order they give exactly
// what rate_move gives.
struct reply_split {
    struct board after; // the position after the root move, in which the replies are made
    board_sets sets;
    position_facts facts;
    uint8_t turn; // the side replying
    struct reply_move {
        coord src, dst;
    };
    std::vector<reply_move> replies; // in the order the search rates them
};

struct reply_rating {
    struct move mv;
    uint64_t a; // positions rated below and including the reply
};

// Lists the replies that rating `mv` (a root move, ply 1) to st.max_depth may rate. False
// when there is nothing to split: no reply is rated, or the move ascends a pawn.
bool split_replies(const struct move &mv, const struct board *brd, uint8_t turn,
                   const search_state &st, reply_split *split);

// Rates reply k of the split; st carries the settings and max_depth of the root's search.
void rate_split_reply(const reply_split &split, int k, search_state *st, reply_rating *out);

// Rates the root move with the replies' ratings at hand (all of them); the same result,
// ratings and count of positions (in st->a) as rate_move. Replies the search would skip
// after a mate are not counted.
int8_t rate_move_from_replies(struct move *mv, const struct board *brd, uint8_t turn,
                              search_state *st, const reply_split &split,
                              const reply_rating *ratings);
