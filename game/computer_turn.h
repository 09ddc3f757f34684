// The computer's half-move in the game: its decision is reported, played and recorded.
#pragma once

#include "ai/ai.h"
#include "rules/game_state.h"

// Lets the computer choose the move for the side to move and plays it on `live`. A side
// left without any legal move ends the game with the checkmate or stalemate message.
// Returns the decision that was played.
ai_decision do_ai_move(game_state *live, const ai_settings &settings);

// The search observer of the game: report lines on standard output, the progress line on
// a terminal's standard error, and a window that keeps answering the desktop.
struct search_observer game_search_observer();
