// The computer player: given a game, it decides the move of the side to move. It never
// changes the game; the caller plays the decision.
#pragma once

#include "ai/classic/ai_settings.h"
#include "ai/classic/search_context.h"
#include "ai/classic/search_observer.h"
#include "rules/game_state.h"

enum class ai_outcome : uint8_t {
    move,      // a searched move
    book_move, // a move of the opening book
    no_move,   // the side has no legal move at all
};

struct ai_decision {
    ai_outcome outcome;
    coord src, dst;
    uint8_t ascend; // the type a pawn reaching the last row becomes (type_rook..type_queen)
    int64_t score;
    uint8_t checkmate_found; // ply of the nearest mate met below the move, no_checkmate for none
    uint8_t opening;         // the book counter after this call: the caller stores it in the game
    uint64_t positions_rated;
    bool interrupted; // the observer's stop flag ended the search early
};

// Chooses the move for game.game_status.turn; the report lines ("depth 3: Analyzed ...",
// "Found my checkmate ...", "Moving e7 to e5 ...") go to the observer in order, each
// finished pass also as a record. Draws the tie-breaks and blunders from the context's
// random numbers, as the game always has; uses the context's scratch and nothing else. When the
// observer's stop flag is set it answers at once with the best root move rated so far (in
// the pass under way, or the earlier pass's choice if this one has rated nothing yet).
ai_decision choose_ai_move(search_context *context, const game_state &game,
                           const ai_settings &settings, const search_observer &observer);
