#include "game/view/game_window.h"
#include "display/screen.h"
#include "display/sdlfuncs.h"

screen *game_screen() {
    // One window a run: its frame, queues, font and images live as long as the program.
    static screen the_screen;
    return &the_screen;
}

bool window_closed() {
    return window_closed(game_screen());
}

bool pump_window_events() {
    return pump_window_events(game_screen());
}
