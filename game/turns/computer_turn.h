// The computer's half-move in the game: its decision is reported, played and recorded.
#pragma once

#include "ai/classic/ai.h"
#include "ai/strong/strong_player.h"
#include "game/game_ending.h"
#include "game/options/game_options.h"
#include "rules/game_state.h"
#include "rules/time/chess_clock.h"
#include "rules/time/move_budget.h"

#include <optional>

struct running_game;
#include <string>

struct computer_move {
    ai_decision decision;              // the move played, when the game goes on
    std::optional<game_ending> ending; // the game ends here instead
};

// Lets the computer choose the move for the side to move and plays it on `live`, with the
// scratch and random numbers of `search`. A side left without any legal move ends the game
// with the checkmate or stalemate message; a window closed during the search ends it at
// once. With `announce_book`, a book move is reported like a searched one.
// With a `budget` (a game on clocks) the search that would overrun it is cut short: a first
// pass at depth1 is searched first, and played when the full search runs out of time.
computer_move do_ai_move(running_game *run, search_context *search, game_state *live,
                         const ai_settings &settings, bool announce_book = false,
                         const move_budget *budget = nullptr);

// The strong player's half-move: searched for `settings`, announced with the game's line
// ("12: Moving e2 to e4") and one line of its own (depth, score, positions, time, line),
// played on `live`. A side without a legal move ends the game; a closed window too.
computer_move do_strong_move(running_game *run, strong_memory *memory, game_state *live,
                             const strong_settings &settings);

// The strong player's settings for the game's half-move `turn_count`: its time a move (or
// its share of `clock`, when given), the draw rules it steers by, its strength (ELO=).
strong_settings strong_settings_for(const game_options &options, const chess_clock *clock,
                                    uint8_t side, uint32_t turn_count);

// "Ascended to queen": the line after the computer's move that made a pawn `became`.
void announce_ascension(uint8_t became);

// "Hint: e2-e4", "Hint: e7-e8=Q": a hint's move as every player's hint shows it.
std::string hint_text(coord src, coord dst, uint8_t ascend);

// What the game's search observer reaches: the running game, and the flag a close of the
// window raises (null: none is raised).
struct game_watch {
    running_game *run;
    std::atomic<bool> *stop = nullptr;
};

// The search observer of the game: report lines on standard output, the progress line on
// a terminal's standard error, and a window that keeps answering the desktop; a close of
// the window raises `watch->stop` (when given), which ends the search at once.
struct search_observer game_search_observer(game_watch *watch);
