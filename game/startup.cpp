#include "game/startup.h"
#include "display/sdlfuncs.h"
#include "game/board_printout.h"
#include "game/game_start.h"
#include "game/search_progress.h"
#include "game/settings.h"
#include "game/temp_file_cleanup.h"
#include "game/view.h"

#include <cstdio>
#include <ctime>
#include <memory>

uint8_t graphics = 0;

namespace {

constexpr int bad_input_status = 2;

} // namespace

int vartok_main(int argc, char **argv) {
    install_temp_file_cleanup();
    // Bad words (a record or a position that cannot be played) end the run before the game
    // prints anything.
    const auto start = std::make_unique<game_start>();
    std::string error;
    if (!prepare_game(argc - 1, argv + 1, start.get(), &error)) {
        std::fprintf(stderr, "vartok: %s\n", error.c_str());
        return bad_input_status;
    }
    const game_options &options = start->options;
    graphics = options.graphics;
    game_state &live = start->game;
    struct board usual;
    if (const int failure = init_board(&usual); failure != 0) {
        std::puts(board_failure_message(failure));
        return 1;
    }
    // A resumed game shows where it stands; a new one is written at its first move.
    if (options.resume) record_save(&start->record);
    const auto search = new_search_context(static_cast<unsigned>(std::time(nullptr)));
    // The window takes SIGINT and SIGTERM only from their default action. Without a window
    // the game goes on in text mode; the failure was reported.
    if (graphics) uninstall_temp_file_cleanup();
    if (graphics && init_screen_sdl("Vartok") != 0) graphics = 0;
    install_temp_file_cleanup();
    view_start(options, &live, start->record);
    const game_ending ending =
        play_game(&live, options, &start->record, &start->turns, search.get());
    progress_clear(); // a search cut short leaves no status line behind
    const int status = close_game(ending, &start->record);
    // Whatever the game printed must reach its reader before the window goes.
    std::fflush(stdout);
    close_window();
    return status;
}
