// Waiting for the window's next event.
#pragma once

#include <SDL.h>

// Blocks until an event is pending for the game (without taking it) or timeout_ms passes.
void wait_for_pending_event(SDL_Window *window, int timeout_ms);
