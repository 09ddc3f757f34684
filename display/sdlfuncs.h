// The window: opening it, presenting frames, reading keys.
#pragma once

#include <SDL.h>
#include <cstdint>

struct screen; // display/screen.h: the window, its surface and the frame buffer

constexpr int window_width = 640;
constexpr int window_height = 400;

// 0 on success; 1..4 when SDL, the window, the renderer or the surface fail (message
// printed). On failure everything already created is released again, so the game can
// go on without a window.
int init_screen_sdl(screen *s, const char *title);
int create_surface(screen *s);
// Converts the frame buffer to true colour and shows it scaled by two.
void update_screen(screen *s);
// Releases the window and SDL, if the window is open.
void close_window(screen *s);
// True once the person has closed the window: the game is to end.
bool window_closed(const screen *s);

// What poll_keycode answers when the window is closed: no character is this.
constexpr int32_t key_window_closed = INT32_MIN;
// One non-blocking poll: a typed character, 8, 13, 27, 0, or key_window_closed.
int32_t poll_keycode(screen *s);
// One non-blocking poll: the scancode of a key pressed, or 0 (also when the window is
// closed: window_closed() tells).
SDL_Scancode poll_keypress(screen *s);
// One event for the tile cursor: a key pressed, or a press of the left mouse button.
struct key_or_click {
    SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
    bool clicked = false;
    unsigned x = 0, y = 0; // where the click was, in pixels of the 320x200 picture
};
// One non-blocking poll as poll_keypress that also tells a click.
key_or_click poll_key_or_click(screen *s);
// Drops the text that keys pressed so far have typed: a key taken as a command is not also
// the answer to the message that follows it.
void drop_typed_text();
// Flushes standard output, then blocks until an event is pending (without taking it) or
// the timeout passes.
void wait_for_window_event(const screen *s);
// The same, waiting at most timeout_ms (and never longer than the usual wait).
void wait_for_window_event_within(const screen *s, int timeout_ms);
// Lets the window answer the desktop during long work: repaints it when it is uncovered
// and notes a close; keys stay queued. False once the window is closed. Cheap, and a no-op
// (true) when no window is open.
bool pump_window_events(screen *s);
