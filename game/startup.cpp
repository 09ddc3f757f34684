#include "game/startup.h"
#include "display/sdlfuncs.h"
#include "game/board_printout.h"
#include "game/settings.h"
#include "rules/live_game.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

uint8_t graphics = 0;

void outofmemory() {
    std::puts("Out of memory.");
    std::exit(1);
}

int vartok_main(int argc, char **argv) {
    game_status = {};
    parse_args(argc - 1, argv + 1);
    if (init_board() != 0) {
        std::puts("Error while initalizing board.");
        return 1;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (graphics) {
        clear_movekeys();
        // Without a window the game goes on in text mode; the failure was reported.
        if (init_screen_sdl("Vartok") != 0) graphics = 0;
    }
    game();
}
