// On X11 the game waits on its display connection itself. SDL's own wait arms a wake-up
// for other threads: an event that arrives meanwhile (a key, the close) makes SDL send a
// message to the window through a second connection. When the close ended the game, that
// message could reach the server after the window was destroyed, and the X error that
// followed at SDL_Quit ended the process with status 1. The game does all its SDL work on
// one thread and needs no wake-up.
#include "display/window_wait.h"

#include <SDL_syswm.h>
#include <poll.h>

namespace {

// The descriptor of the window's display connection, or -1 where it is not known.
int display_connection(SDL_Window *window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
#endif
    return -1;
}

bool event_pending() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

} // namespace

void wait_for_pending_event(SDL_Window *window, int timeout_ms) {
    const int connection = display_connection(window);
    if (connection < 0) {
        SDL_WaitEventTimeout(nullptr, timeout_ms);
        return;
    }
    if (event_pending()) return;
    pollfd readable{connection, POLLIN, 0};
    poll(&readable, 1, timeout_ms);
}

bool wait_for_event_within(SDL_Window *window, int timeout_ms) {
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
        if (event_pending()) return true;
        int left = -1;
        if (timeout_ms >= 0) {
            const Uint64 used = SDL_GetTicks64() - start;
            if (used >= static_cast<Uint64>(timeout_ms)) return false;
            left = timeout_ms - static_cast<int>(used);
        }
        wait_for_pending_event(window, left);
    }
}
