// What the running game keeps beside its position and record: the window and whether it is
// open, how the game is shown, the search's progress line and how the person's lines are read.
// Made once at the start and handed down by the turn loop.
#pragma once

#include "display/screen.h"
#include "game/input/line_input.h"
#include "game/view/search_progress.h"
#include "game/view/view.h"

#include <cstdint>

struct running_game {
    uint8_t graphics = 0; // the window is open (GRAPHICS asked for it and it opened)
    screen window;        // what the window shows and keeps; opened only with graphics
    view_state view;
    progress_line progress;
    person_input input;
};
