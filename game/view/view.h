// How the game is shown beyond the plain board: the words UNICODE, FLIP and PANEL, and what
// the window's side panel tells. Without those words nothing here changes a byte or a pixel.
#pragma once

#include "ai/classic/search_observer.h"
#include "display/board_view.h"
#include "display/side_panel.h"
#include "game/options/game_options.h"
#include "game/records/game_record.h"
#include "game/view/panel_text.h"
#include "rules/game_state.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"

#include <chrono>
#include <string>
#include <vector>

struct screen;

struct view_state {
    bool unicode = false;     // chess symbols in the text board
    bool colours = false;     // ... on coloured squares
    bool flipped = false;     // Black's side at the bottom, in the text and in the window
    bool panel = false;       // the window's side panel and the last move's marks
    screen *window = nullptr; // the window the panel is drawn in; null without one
    // What the panel shows.
    const game_state *shown_game = nullptr;
    const chess_clock *shown_clock = nullptr; // the game's clocks; null without them
    std::vector<panel_move> played;
    bool thinking = false;
    // The strong player's or an engine's score in place of the classic's moves rated, when
    // `player_thinking`.
    bool player_thinking = false;
    std::string thinking_score;
    std::string game_result; // the heading of a finished game; empty while it goes on
    search_progress last_progress{};
    std::chrono::steady_clock::time_point last_redraw{};
};

// Chooses the view for this run, once the window is open (or known to stay shut). FLIP
// turns the board only when a person plays Black against the computer alone. The panel
// starts with the moves a resumed game has already played; `live` is the game it shows.
void view_start(view_state *view, screen *window, const game_options &options,
                const game_state *live, const game_record &record);

// The game's clocks, shown in the panel; null (the default) for a game without them.
void view_clocks(view_state *view, const chess_clock *clock);

// The half-move `move` was just played from `before` (the game as it stood before it).
void view_move_played(view_state *view, const game_state &before, const san_move &move);

// The search's progress, shown as "Thinking..." in the panel a few times a second.
void view_search_progress(view_state *view, const search_progress &progress);

// The strong player's or an engine's thinking, shown as "Thinking..." with the depth and the
// score ("+0.35", "mate in 3") in the panel a few times a second; the clocks tick meanwhile.
void view_player_thinking(view_state *view, int depth, const std::string &score);

// The board is being drawn anew: a search shown in the panel is over.
void view_board_drawn(view_state *view);
// The game is over with `result` ("1-0", "0-1", "1/2-1/2"): the panel says so in place of
// whose move it is, and the window is drawn again. Nothing changes without the panel.
void view_game_over(view_state *view, const char *result);
// What the panel shows now.
void view_panel(const view_state &view, side_panel *panel);
// The last move's squares when the panel is on; none otherwise.
last_move_squares view_last_move(const view_state &view);
