#include "game/startup.h"
#include "display/sdlfuncs.h"
#include "game/board_printout.h"
#include "game/game_start.h"
#include "game/settings.h"
#include "game/view.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

uint8_t graphics = 0;

namespace {

constexpr int bad_input_status = 2;

} // namespace

int vartok_main(int argc, char **argv) {
    // Bad words (a record or a position that cannot be played) end the run before the game
    // prints anything.
    static game_start start;
    std::string error;
    if (!prepare_game(argc - 1, argv + 1, &start, &error)) {
        std::fprintf(stderr, "vartok: %s\n", error.c_str());
        return bad_input_status;
    }
    const game_options &options = start.options;
    graphics = options.graphics;
    game_state &live = start.game;
    struct board usual;
    if (init_board(&usual) != 0) {
        std::puts("Error while initalizing board.");
        return 1;
    }
    // A resumed game shows where it stands; otherwise its record exists from the start.
    record_save(&start.record);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Without a window the game goes on in text mode; the failure was reported.
    if (graphics && init_screen_sdl("Vartok") != 0) graphics = 0;
    view_start(options, &live, start.record);
    game(&live, options, &start.record, &start.turns);
}
