#include "display/sdlfuncs.h"

#include "display/dbuff.h"
#include "display/palette.h"
#include "display/screen.h"
#include "display/window_wait.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Waits are cut into slices so that a stuck event source cannot hold the game forever.
constexpr int event_wait_slice_ms = 500;
// The desktop pings a window every few seconds; answering within this is plenty.
constexpr Uint32 pump_interval_ms = 50;

uint32_t rgbx_word(uint8_t color) {
    rgb c = colour_rgb(color);
    return uint32_t(c.r) << 24 | uint32_t(c.g) << 16 | uint32_t(c.b) << 8;
}

void release_window(screen *s) {
    if (s->surface) SDL_FreeSurface(s->surface);
    if (s->renderer) SDL_DestroyRenderer(s->renderer);
    if (s->window) SDL_DestroyWindow(s->window);
    s->surface = nullptr;
    s->renderer = nullptr;
    s->window = nullptr;
    SDL_Quit();
}

SDL_Window *create_window(const char *title) {
    SDL_Window *w = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     window_width, window_height, SDL_WINDOW_OPENGL);
    // A display without OpenGL still takes a plain window.
    if (!w)
        w = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, window_width,
                             window_height, 0);
    return w;
}

SDL_Renderer *create_renderer(SDL_Window *w) {
    SDL_Renderer *r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED);
    if (!r) r = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE);
    return r;
}

// A re-exposed window shows the frame again; the frame buffer still holds it while
// the game waits for a key.
void handle_window_event(screen *s, const SDL_Event &event) {
    if (event.window.event == SDL_WINDOWEVENT_EXPOSED) update_screen(s);
}

// Without a display SDL falls back to an invisible off-screen window in which no key can
// ever be pressed. That counts as no display, unless such a driver was asked for by name
// (the tests do).
bool invisible_by_default() {
    const char *driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return true;
    const bool invisible =
        std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    const char *requested = SDL_GetHint(SDL_HINT_VIDEODRIVER); // also the environment variable
    return invisible && (requested == nullptr || std::strstr(requested, driver) == nullptr);
}

// SDL fell back to an invisible driver. Where the environment names a display, SDL is
// asked for that display's driver by name: its error says why the display could not be
// used. Leaves the reason in SDL_GetError.
void explain_missing_display() {
    struct named_display {
        const char *variable;
        const char *driver;
    };
    constexpr named_display displays[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};
    for (const named_display &d : displays) {
        const char *name = std::getenv(d.variable);
        if (name == nullptr || *name == '\0') continue;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (SDL_VideoInit(d.driver) == 0) {
            SDL_VideoQuit(); // there now, but not when it was needed
            continue;
        }
        const std::string reason = SDL_GetError();
        SDL_SetError("%s (%s is \"%s\")", reason.c_str(), d.variable, name);
        return;
    }
    SDL_SetError("no display to open a window on");
}

// The window shows the picture stretched over its whole size.
key_or_click click_in_picture(const screen *s, const SDL_MouseButtonEvent &button) {
    key_or_click answer;
    int width = window_width, height = window_height;
    if (s->window) SDL_GetWindowSize(s->window, &width, &height);
    if (button.x < 0 || button.y < 0 || width <= 0 || height <= 0) return answer;
    answer.clicked = true;
    answer.x = unsigned(int64_t(button.x) * screen_width / width);
    answer.y = unsigned(int64_t(button.y) * screen_height / height);
    return answer;
}

} // namespace

int init_screen_sdl(screen *s, const char *title) {
    // Ctrl-C at the terminal ends the game at once, as in text mode, instead of becoming a
    // close request that waits for the next poll.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) >= 0;
    const bool invisible = started && invisible_by_default();
    if (invisible) explain_missing_display();
    if (!started || invisible) {
        std::printf("Could not initialize SDL2: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    s->closed = false;
    s->window = create_window(title);
    if (!s->window) {
        std::puts("Error while creating SDL2 window.");
        release_window(s);
        return 2;
    }
    s->renderer = create_renderer(s->window);
    if (!s->renderer) {
        std::puts("Error while creating renderer");
        release_window(s);
        return 3;
    }
    if (create_surface(s)) {
        release_window(s);
        return 4;
    }
    return 0;
}

int create_surface(screen *s) {
    s->surface = SDL_CreateRGBSurfaceWithFormat(0, screen_width, screen_height, 32,
                                                SDL_PIXELFORMAT_RGBX8888);
    if (!s->surface) {
        std::puts("Couldn't create SDL2 surface");
        return 1;
    }
    return 0;
}

void update_screen(screen *s) {
    if (!s->surface || !s->renderer) return;
    auto *pixels = static_cast<uint8_t *>(s->surface->pixels);
    std::memset(pixels, 0, size_t(s->surface->pitch) * screen_height);
    for (uint32_t y = 0; y < screen_height; y++) {
        auto *row = reinterpret_cast<uint32_t *>(pixels + size_t(y) * s->surface->pitch);
        for (uint32_t x = 0; x < screen_width; x++) row[x] = rgbx_word(get_pixel(s, x, y));
    }
    SDL_Texture *texture = SDL_CreateTextureFromSurface(s->renderer, s->surface);
    if (!texture) {
        std::puts("Could not create SDL2 texture");
        return;
    }
    if (SDL_RenderCopy(s->renderer, texture, nullptr, nullptr) != 0)
        std::printf("SDL_RenderCopy() error: %s\n", SDL_GetError());
    SDL_DestroyTexture(texture);
    SDL_RenderPresent(s->renderer);
}

void close_window(screen *s) {
    if (s->window) release_window(s);
}

bool window_closed(const screen *s) {
    return s->closed;
}

int32_t poll_keycode(screen *s) {
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return 0;
    switch (event.type) {
    case SDL_QUIT:
        s->closed = true;
        return key_window_closed;
    case SDL_KEYDOWN: {
        SDL_Keycode sym = event.key.keysym.sym;
        if (sym == SDLK_BACKSPACE || sym == SDLK_RETURN || sym == SDLK_ESCAPE) return sym;
        return 0;
    }
    case SDL_TEXTINPUT:
        return int32_t(static_cast<signed char>(event.text.text[0]));
    case SDL_WINDOWEVENT:
        handle_window_event(s, event);
        return 0;
    default:
        return 0;
    }
}

SDL_Scancode poll_keypress(screen *s) {
    return poll_key_or_click(s).key;
}

key_or_click poll_key_or_click(screen *s) {
    key_or_click answer;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return answer;
    switch (event.type) {
    case SDL_QUIT:
        s->closed = true;
        break;
    case SDL_KEYDOWN:
        answer.key = event.key.keysym.scancode;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) answer = click_in_picture(s, event.button);
        break;
    case SDL_WINDOWEVENT:
        handle_window_event(s, event);
        break;
    default:
        break;
    }
    return answer;
}

void drop_typed_text() {
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_TEXTINPUT);
}

void wait_for_window_event(const screen *s) {
    if (!s->window) return;
    // The prompt printed last must reach a reader of the transcript before the game sleeps.
    std::fflush(stdout);
    wait_for_pending_event(s->window, event_wait_slice_ms);
}

void wait_for_window_event_within(const screen *s, int timeout_ms) {
    if (!s->window) return;
    std::fflush(stdout);
    wait_for_event_within(s->window,
                          timeout_ms < event_wait_slice_ms ? timeout_ms : event_wait_slice_ms);
}

bool pump_window_events(screen *s) {
    if (!s->window) return true;
    if (s->closed) return false;
    Uint32 now = SDL_GetTicks();
    if (now - s->last_pump < pump_interval_ms) return true;
    s->last_pump = now;
    SDL_PumpEvents();
    // The window's own events are answered now: an uncovered window is repainted, and a
    // close ends the game at once instead of waiting in the queue for a prompt that a game
    // between two computer players never shows. Keys stay queued for the next prompt.
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0)
        handle_window_event(s, event);
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) > 0) s->closed = true;
    return !s->closed;
}
