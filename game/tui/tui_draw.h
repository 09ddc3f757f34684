// Draws a tui_view on the screen (ncurses), at the layout of the terminal's size.
#pragma once

#include "game/tui/tui_layout.h"
#include "game/tui/tui_view.h"

// Sets up the colour pairs; call once after the terminal is taken.
void tui_init_colours();

// Draws the whole view and updates the screen (only what changed reaches the terminal).
void tui_draw(const tui_layout &layout, const tui_view &view, int columns, int rows);
