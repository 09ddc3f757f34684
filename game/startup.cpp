#include "game/startup.h"
#include "display/sdlfuncs.h"
#include "game/board_printout.h"
#include "game/settings.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

uint8_t graphics = 0;

int vartok_main(int argc, char **argv) {
    game_options options;
    parse_args(argc - 1, argv + 1, &options);
    graphics = options.graphics;
    game_state live{};
    live.opening = opening_book_calls;
    live.game_status.white_ai = options.white_ai;
    live.game_status.black_ai = options.black_ai;
    if (init_board(&live.board) != 0) {
        std::puts("Error while initalizing board.");
        return 1;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Without a window the game goes on in text mode; the failure was reported.
    if (graphics && init_screen_sdl("Vartok") != 0) graphics = 0;
    game(&live, options.ai);
}
