// The window: opening it, presenting frames, reading keys.
#pragma once

#include <cstdint>

// 0 on success; 1..4 when SDL, the window, the renderer or the surface fail (message printed).
int init_screen_sdl(const char *title);
void clear_movekeys();
void update_screen();
// One non-blocking poll: a typed character, 8, 13, 27, or 0. Closing the window exits.
int32_t poll_keycode();
// Blocks until an event is pending (without taking it) or the timeout passes.
void wait_for_window_event();
// Lets the window answer the desktop during long work, without taking key events.
void pump_window_events();
