// The window: opening it, presenting frames, reading keys.
#pragma once

#include <SDL.h>
#include <cstdint>

extern SDL_Window *window;
extern SDL_Renderer *renderer;
extern SDL_Surface *surface; // 320x200 staging image of each frame

constexpr int window_width = 640;
constexpr int window_height = 400;

// 0 on success; 1..4 when SDL, the window, the renderer or the surface fail (message
// printed). On failure everything already created is released again, so the game can
// go on without a window.
int init_screen_sdl(const char *title);
int create_surface();
// Converts the frame buffer to true colour and shows it scaled by two.
void update_screen();
[[noreturn]] void exit_program();
// One non-blocking poll: a typed character, 8, 13, 27, or 0. Closing the window exits.
int32_t poll_keycode();
// One non-blocking poll: the scancode of a key pressed, or 0. Closing the window exits.
SDL_Scancode poll_keypress();
// Flushes standard output, then blocks until an event is pending (without taking it) or
// the timeout passes.
void wait_for_window_event();
// Lets the window answer the desktop during long work: repaints it when it is uncovered
// and ends the process (status 0) when it is closed; keys stay queued. Cheap, and a no-op
// when no window is open.
void pump_window_events();
