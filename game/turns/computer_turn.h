// The computer's half-move in the game: a player's decision is reported, played and recorded.
#pragma once

#include "ai/classic/ai.h"
#include "ai/player.h"
#include "ai/strong/strong_as_player.h"
#include "game/game_ending.h"
#include "game/options/game_options.h"
#include "game/turns/game_timing.h"
#include "rules/game_state.h"

#include <optional>

struct running_game;
#include <string>

struct computer_move {
    ai_decision decision;              // the move played, when the game goes on
    std::optional<game_ending> ending; // the game ends here instead
};

// Asks `p` for the move of the side to move in `game` (whose `now` is `live`) and plays it
// on `live`. While it thinks the text report, the progress line and the window's panel
// show it, and a close of the window stops it and ends the game. A player's own report
// lines are printed as they come, or, on `clocks`, held until its move is known: a move cut
// short by the clock then ends with "(one pass: out of time)". A move its lines did not
// name is announced ("12: Moving e2 to e4") with its summary; a book move only with
// `announce_book`. A side without a legal move ends the game with the checkmate or stalemate
// message; a player that resigns, fails, or (on clocks) does not answer in time, ends it.
// A `front` (the full-screen board) hears the thinking too, and its stop ends it.
computer_move do_player_move(running_game *run, player *p, game_state *live, const game_moves &game,
                             const player_limits &limits, bool announce_book,
                             const game_timing *clocks, const player_observer *front = nullptr);

// The classic player's move with the scratch and random numbers of `search`, with no clock.
computer_move do_ai_move(running_game *run, search_context *search, game_state *live,
                         const ai_settings &settings, bool announce_book = false);

// The limits of the game's move: both clocks as they stand, when the game has clocks; else
// none, and each player thinks as its habit is.
player_limits limits_of_game(const game_timing &timing);

// The strong player's habits in the game: its time a move (MOVETIME=), the game's draw rules
// or FIDE's, its strength (ELO=) and, below full strength, the seed of its choices (SEED=,
// else a fresh one every move).
strong_setup game_strong_setup(const game_options &options);

// "Hint: e2-e4" from `p` thinking quietly on the game's position, or why there is none.
std::string player_hint(running_game *run, player *p, const game_moves &game);

// "Ascended to queen": the line after the computer's move that made a pawn `became`.
void announce_ascension(uint8_t became);

// "Hint: e2-e4", "Hint: e7-e8=Q": a hint's move as every player's hint shows it.
std::string hint_text(coord src, coord dst, uint8_t ascend);
