#include "game/vartok_main.h"
#include "client/engine_client.h"
#include "display/board_view.h"
#include "display/sdlfuncs.h"
#include "game/game_start.h"
#include "game/input/line_input.h"
#include "game/options/game_options.h"
#include "game/records/record_place.h"
#include "game/records/temp_file_cleanup.h"
#include "game/review/played_game_review.h"
#include "game/running_game.h"
#include "game/tui/tui_game.h"
#include "game/turn_loop.h"
#include "game/view/board_printout.h"
#include "game/view/search_progress.h"
#include "game/view/view.h"
#include "rules/notation/shown_text.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int bad_input_status = 2;

void warn(const std::string &text) {
    std::fflush(stdout);
    std::fprintf(stderr, "vartok: %s\n", text.c_str());
}

// A misspelled word is named on standard error (standard output stays as it was); `where`
// is the words file, or empty for the command line.
void warn_unknown_words(const std::vector<std::string> &words, const std::string &where) {
    for (const std::string &word : words)
        if (!known_word(word.c_str()))
            warn((where.empty() ? "" : where + ": ") + "unknown word '" + shown_text(word) +
                 "' ignored");
}

void warn_about_words(const words_file &config, int argc, char **argv) {
    if (config.state == words_file_state::unreadable)
        warn(config.path + ": the words file cannot be read (" + config.error +
             "); going on without it");
    if (config.state == words_file_state::untrusted)
        warn(config.path + ": the words file is not used, another user could change it (" +
             config.error + "); playing with the command line's words alone");
    for (const int line : config.refused_lines)
        warn(config.path + ": line " + std::to_string(line) +
             " holds a NUL byte; its words are not used");
    warn_unknown_words(config.words, config.path);
    warn_unknown_words(std::vector<std::string>(argv, argv + argc), "");
}

// The view and the input of a game about to be played from `start`.
void begin_game_view(running_game *run, const game_start &start) {
    view_start(&run->view, run->graphics ? &run->window : nullptr, start.options, &start.game,
               start.record);
    // A game on clocks reads its lines with a deadline from the start.
    if (start.timing.clocks) read_lines_with_deadlines(&run->input);
    view_clocks(&run->view, start.timing.clocks ? &start.timing.clock : nullptr);
}

} // namespace

int vartok_main(int argc, char **argv, const words_file &config) {
    warn_about_words(config, argc - 1, argv + 1);
    install_temp_file_cleanup();
    // Bad words (a record or a position that cannot be played) end the run before the game
    // prints anything.
    auto start = std::make_unique<game_start>();
    std::string error;
    if (!prepare_game(argc - 1, argv + 1, start.get(), &error, &config)) {
        std::fprintf(stderr, "vartok: %s\n", error.c_str());
        return bad_input_status;
    }
    // Outside engines start before anything is printed: one that cannot is a bad word.
    outside_engines engines;
    if (!start_outside_engines(&start->options, &engines, &error)) {
        std::fprintf(stderr, "vartok: %s\n", error.c_str());
        return bad_input_status;
    }
    record_set_players(&start->record, start->options);
    const game_options &options = start->options;
    running_game run;
    run.graphics = options.tui ? 0 : options.graphics; // TUI takes the terminal instead
    game_state &live = start->game;
    struct board usual;
    if (const int failure = init_board(&run, &usual); failure != 0) {
        std::puts(board_failure_message(failure));
        release_board_graphics(&run.window);
        return 1;
    }
    // A resumed game shows where it stands; a new one is written at its first move.
    if (options.resume) record_save(&start->record);
    const auto search = new_search_context(static_cast<unsigned>(std::time(nullptr)));
    // The window takes SIGINT and SIGTERM only from their default action. Without a window
    // the game goes on in text mode; the failure was reported.
    if (run.graphics) uninstall_temp_file_cleanup();
    if (run.graphics && init_screen_sdl(&run.window, "Vartok") != 0) run.graphics = 0;
    install_temp_file_cleanup();
    begin_game_view(&run, *start);
    // The strong player's table lives for the game: what it learnt helps its next moves.
    std::unique_ptr<strong_memory> strong;
    if (options.strong) {
        strong = std::make_unique<strong_memory>();
        resize_table(&strong->table, default_hash_mb);
    }
    // On the full-screen board `n` after the end plays a new game with the same words.
    while (start->options.tui) {
        bool again = false;
        const int status =
            tui_play(&run, &start->game, start->options, &start->record, &start->turns,
                     {search.get(), strong.get(), &engines}, &start->timing, &again);
        if (!again) return status;
        const game_options same = start->options;
        const bool place_held = start->record.path == unfinished_game_path();
        start = std::make_unique<game_start>(); // the finished game's record is let go first
        start->options = same;
        if (!start_new_game(start.get(), place_held, &error)) {
            std::fprintf(stderr, "vartok: %s\n", error.c_str());
            return 1;
        }
        // Outside engines are told a new game begins (an xboard engine may be started anew).
        for (const std::unique_ptr<engine_client> &engine : engines.side)
            if (engine && !new_engine_game(engine.get())) {
                std::fprintf(stderr, "vartok: %s\n", engine->failure.c_str());
                return 1;
            }
        record_set_players(&start->record, start->options);
        begin_game_view(&run, *start);
        if (strong) { // the new game starts as the first did
            strong.reset();
            strong = std::make_unique<strong_memory>();
            resize_table(&strong->table, default_hash_mb);
        }
    }
    const game_ending ending = play_game(&run, &live, options, &start->record, &start->turns,
                                         {search.get(), strong.get(), &engines}, &start->timing);
    progress_clear(&run.progress); // a search cut short leaves no status line behind
    const int status = close_game(&run, ending, &start->record);
    // With COMMANDS a finished text game may be reviewed before the run ends.
    if (options.commands && ending.finished && !run.graphics && status == ending.status)
        offer_review(&run.input, start->record);
    // Whatever the game printed must reach its reader before the window goes.
    std::fflush(stdout);
    close_window(&run.window);
    release_board_graphics(&run.window);
    return status;
}
