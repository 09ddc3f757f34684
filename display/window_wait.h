// Waiting for the window's next event.
#pragma once

#include <SDL.h>

// Blocks until an event is pending for the game (without taking it) or timeout_ms passes.
void wait_for_pending_event(SDL_Window *window, int timeout_ms);

// Waits until an event is pending for the game (without taking it) or timeout_ms passes; a
// negative timeout waits without limit. Wake-ups that bring no event for the game wait again
// for the rest of the time. Returns whether an event is pending.
bool wait_for_event_within(SDL_Window *window, int timeout_ms);
