#include "display/sdlfuncs.h"

#include "display/dbuff.h"
#include "display/palette.h"
#include "display/window_wait.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

SDL_Window *window;
SDL_Renderer *renderer;
SDL_Surface *surface;

namespace {

// Waits are cut into slices so that a stuck event source cannot hold the game forever.
constexpr int event_wait_slice_ms = 500;
// The desktop pings a window every few seconds; answering within this is plenty.
constexpr Uint32 pump_interval_ms = 50;

uint32_t rgbx_word(uint8_t color) {
    rgb c = colour_rgb(color);
    return uint32_t(c.r) << 24 | uint32_t(c.g) << 16 | uint32_t(c.b) << 8;
}

// The person has closed the window: the game is to end, without another prompt.
bool closed = false;

void release_window() {
    if (surface) SDL_FreeSurface(surface);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    surface = nullptr;
    renderer = nullptr;
    window = nullptr;
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
void handle_window_event(const SDL_Event &event) {
    if (event.window.event == SDL_WINDOWEVENT_EXPOSED) update_screen();
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
key_or_click click_in_picture(const SDL_MouseButtonEvent &button) {
    key_or_click answer;
    int width = window_width, height = window_height;
    if (window) SDL_GetWindowSize(window, &width, &height);
    if (button.x < 0 || button.y < 0 || width <= 0 || height <= 0) return answer;
    answer.clicked = true;
    answer.x = unsigned(int64_t(button.x) * screen_width / width);
    answer.y = unsigned(int64_t(button.y) * screen_height / height);
    return answer;
}

} // namespace

int init_screen_sdl(const char *title) {
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
    closed = false;
    window = create_window(title);
    if (!window) {
        std::puts("Error while creating SDL2 window.");
        release_window();
        return 2;
    }
    renderer = create_renderer(window);
    if (!renderer) {
        std::puts("Error while creating renderer");
        release_window();
        return 3;
    }
    if (create_surface()) {
        release_window();
        return 4;
    }
    return 0;
}

int create_surface() {
    surface = SDL_CreateRGBSurfaceWithFormat(0, screen_width, screen_height, 32,
                                             SDL_PIXELFORMAT_RGBX8888);
    if (!surface) {
        std::puts("Couldn't create SDL2 surface");
        return 1;
    }
    return 0;
}

void update_screen() {
    if (!surface || !renderer) return;
    auto *pixels = static_cast<uint8_t *>(surface->pixels);
    std::memset(pixels, 0, size_t(surface->pitch) * screen_height);
    for (uint32_t y = 0; y < screen_height; y++) {
        auto *row = reinterpret_cast<uint32_t *>(pixels + size_t(y) * surface->pitch);
        for (uint32_t x = 0; x < screen_width; x++) row[x] = rgbx_word(get_pixel(x, y));
    }
    SDL_Texture *texture = SDL_CreateTextureFromSurface(renderer, surface);
    if (!texture) {
        std::puts("Could not create SDL2 texture");
        return;
    }
    if (SDL_RenderCopy(renderer, texture, nullptr, nullptr) != 0)
        std::printf("SDL_RenderCopy() error: %s\n", SDL_GetError());
    SDL_DestroyTexture(texture);
    SDL_RenderPresent(renderer);
}

void close_window() {
    if (window) release_window();
}

bool window_closed() {
    return closed;
}

int32_t poll_keycode() {
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return 0;
    switch (event.type) {
    case SDL_QUIT:
        closed = true;
        return key_window_closed;
    case SDL_KEYDOWN: {
        SDL_Keycode sym = event.key.keysym.sym;
        if (sym == SDLK_BACKSPACE || sym == SDLK_RETURN || sym == SDLK_ESCAPE) return sym;
        return 0;
    }
    case SDL_TEXTINPUT:
        return int32_t(static_cast<signed char>(event.text.text[0]));
    case SDL_WINDOWEVENT:
        handle_window_event(event);
        return 0;
    default:
        return 0;
    }
}

SDL_Scancode poll_keypress() {
    return poll_key_or_click().key;
}

key_or_click poll_key_or_click() {
    key_or_click answer;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return answer;
    switch (event.type) {
    case SDL_QUIT:
        closed = true;
        break;
    case SDL_KEYDOWN:
        answer.key = event.key.keysym.scancode;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) answer = click_in_picture(event.button);
        break;
    case SDL_WINDOWEVENT:
        handle_window_event(event);
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

void wait_for_window_event() {
    if (!window) return;
    // The prompt printed last must reach a reader of the transcript before the game sleeps.
    std::fflush(stdout);
    wait_for_pending_event(window, event_wait_slice_ms);
}

void wait_for_window_event_within(int timeout_ms) {
    if (!window) return;
    std::fflush(stdout);
    wait_for_event_within(window,
                          timeout_ms < event_wait_slice_ms ? timeout_ms : event_wait_slice_ms);
}

bool pump_window_events() {
    static Uint32 last_pump;
    if (!window) return true;
    if (closed) return false;
    Uint32 now = SDL_GetTicks();
    if (now - last_pump < pump_interval_ms) return true;
    last_pump = now;
    SDL_PumpEvents();
    // The window's own events are answered now: an uncovered window is repainted, and a
    // close ends the game at once instead of waiting in the queue for a prompt that a game
    // between two computer players never shows. Keys stay queued for the next prompt.
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0)
        handle_window_event(event);
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) > 0) closed = true;
    return !closed;
}
