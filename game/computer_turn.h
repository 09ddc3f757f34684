// The computer's half-move in the game: its decision is reported, played and recorded.
#pragma once

#include "ai/ai.h"
#include "game/game_record.h"
#include "rules/game_state.h"

// Lets the computer choose the move for the side to move and plays it on `live`. A side
// left without any legal move ends the game with the checkmate or stalemate message.
// Returns the decision that was played. A game that ends here has its result written into
// `record`, when given.
// With `announce_book`, a book move is reported like a searched one.
ai_decision do_ai_move(game_state *live, const ai_settings &settings, game_record *record = nullptr,
                       bool announce_book = false);

// The search observer of the game: report lines on standard output, the progress line on
// a terminal's standard error, and a window that keeps answering the desktop.
struct search_observer game_search_observer();
