// The full-screen board while a game runs: the terminal, the keys read so far, the layout
// for the terminal's size and what is shown.
#pragma once

#include "game/tui/tui_history.h"
#include "game/tui/tui_keys.h"
#include "game/tui/tui_layout.h"
#include "game/tui/tui_terminal.h"
#include "game/tui/tui_view.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"

#include <optional>

#include <vector>

struct tui_session {
    tui_terminal terminal;
    tui_key_reader reader;
    int columns = 0;
    int rows = 0;
    tui_layout layout;
    tui_view view;
    tui_line_history history;        // the lines typed at the prompt
    std::optional<san_move> premove; // the person's move, chosen while the computer thought
};

// How often the screen is brought up to date while something runs (a clock, a search).
constexpr int tui_tick_ms = 100;

// Waits at most `wait_ms` for keys (without using the processor) and returns those typed.
// False when the input has ended.
bool tui_wait_keys(tui_session *session, int wait_ms, std::vector<tui_key> *keys);

// The clocks as they read now, the running one marked.
void tui_show_clocks(tui_view *view, const chess_clock *clock);

// Follows a change of the terminal's size, then draws the view.
void tui_redraw(tui_session *session);
