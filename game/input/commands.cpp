#include "game/input/commands.h"
#include "ai/classic/classic_player.h"
#include "ai/strong/strong_as_player.h"
#include "game/game_end.h"
#include "game/turns/computer_turn.h"
#include "game/view/search_progress.h"
#include "rules/notation/notation.h"
#include "rules/position_rules.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct named_command {
    const char *name;
    command_kind kind;
    const char *help;
};

constexpr named_command command_table[] = {
    {"undo", command_kind::undo,
     "take back the last move (against the computer: yours and its reply)"},
    {"hint", command_kind::hint, "show the move the computer would play for you"},
    {"moves", command_kind::moves, "list the moves so far"},
    {"resign", command_kind::resign, "give up the game"},
    {"quit", command_kind::quit, "leave now and keep the game to resume later (RESUME)"},
    {"help", command_kind::help, "list these commands"},
};

// Every hint draws what a fresh run seeded with 1 draws, from a search of its own: the
// game's random numbers and scratch are untouched.
constexpr unsigned hint_seed = 1;

} // namespace

command_kind command_of(const char *line) {
    const char *start = line;
    while (*start == ' ' || *start == '\t') start++;
    const char *end = start + std::strlen(start);
    while (end > start && std::isspace(static_cast<unsigned char>(end[-1]))) end--;
    const std::string word(start, end);
    for (const named_command &c : command_table)
        if (word == c.name) return c.kind;
    return command_kind::none;
}

command_kind command_of_key(SDL_Scancode key) {
    switch (key) {
    case SDL_SCANCODE_U:
        return command_kind::undo;
    case SDL_SCANCODE_H:
        return command_kind::hint;
    case SDL_SCANCODE_F1:
    case SDL_SCANCODE_SLASH:
        return command_kind::help;
    default:
        return command_kind::none;
    }
}

const char *const window_keys_help =
    "Keys: the arrows and Return, or a click, choose a square; Escape drops the chosen "
    "piece; U takes back a move; H shows a hint; F1 or ? shows these keys.";

std::string hint_line(running_game *run, const game_state &game, const ai_settings &settings,
                      const command_context *context) {
    const game_options *options = context ? context->options : nullptr;
    const uint8_t turn = game.game_status.turn;
    if (turn ? game.game_status.black_ai : game.game_status.white_ai)
        return "No hint: the computer plays this side.";
    game_moves moves = context && context->turns
                           ? moves_of_game(*context->turns, *context->record, game)
                           : game_moves{game, {}, game};
    if (context && context->engines)
        for (auto &engine : context->engines->side)
            if (engine)
                return player_hint(run, new_engine_player(engine.get(), options->movetime_ms).get(),
                                   moves);
    if (options && options->strong) {
        // A hint is always the strong player's best, whatever strength it plays at.
        strong_setup full = game_strong_setup(*options);
        full.elo = 0;
        return player_hint(run, new_strong_player(nullptr, full).get(), moves);
    }
    moves.now.opening = 0;
    const std::unique_ptr<search_context> search = new_search_context(hint_seed);
    classic_setup setup;
    setup.settings = settings;
    return player_hint(run, new_classic_player(search.get(), setup).get(), moves);
}

void show_moves(const game_record &record) {
    if (record.moves.empty()) {
        std::puts("No moves yet.");
        return;
    }
    uint32_t half_move = record_first_half_move(record);
    std::string line;
    for (const recorded_move &m : record.moves) {
        // White's move starts a line; Black's ends it, or starts the first one alone.
        if (line.empty())
            line = move_number_label(half_move) + " " + m.san;
        else
            line += " " + m.san;
        if ((half_move & 1) == 0) {
            std::puts(line.c_str());
            line.clear();
        }
        half_move++;
    }
    if (!line.empty()) std::puts(line.c_str());
}

void show_command_help(bool fide) {
    std::puts("Type the square of a piece (e2), a whole move (Nf3, e4, exd5, O-O, e2e4, e7e8q;\n"
              "a square of your own piece chooses it), or a command:");
    for (const named_command &c : command_table) std::printf("  %-7s %s\n", c.name, c.help);
    if (fide)
        std::puts("  draw    claim a draw: a position seen for the third time, or 100 half-moves\n"
                  "          (50 moves each) without pawn move or capture");
    else
        std::printf("  draw    claim a draw after more than %u half-moves without pawn move\n"
                    "          or capture\n",
                    draw_claimable_after);
}

game_ending quit_game(const game_record &record) {
    game_ending ending;
    if (!record.enabled)
        ending.message = "The game is not kept.";
    else if (record.moves.empty())
        ending.message = "No move was played, so nothing is kept.";
    else if (record.saved)
        ending.message =
            "The game is kept in " + record.path + "; continue it with " + record.resume_word + ".";
    else
        ending.message = "The game could not be kept in " + record.path + ".";
    return ending;
}
