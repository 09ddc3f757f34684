#include "game/commands.h"
#include "ai/ai.h"
#include "game/computer_turn.h"
#include "game/search_progress.h"

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

// The hint's own random generator: the same kind and size as the standard one, so a hint
// draws what a fresh run seeded with 1 draws.
constexpr size_t random_state_size = 128;
constexpr unsigned hint_seed = 1;
constexpr const char *promotion_letters = "  RNBQ"; // by type: rook 3 .. queen 6

std::string square_name(coord sq) {
    return {static_cast<char>('a' + sq.col), static_cast<char>('8' - sq.row)};
}

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

void show_hint(const game_state &game, const ai_settings &settings) {
    const uint8_t turn = game.game_status.turn;
    if (turn ? game.game_status.black_ai : game.game_status.white_ai) {
        std::puts("No hint: the computer plays this side.");
        return;
    }
    game_state copy = game;
    copy.opening = 0;
    static char hint_state[random_state_size];
    char *game_state_of_random = initstate(hint_seed, hint_state, sizeof hint_state);
    progress_begin();
    search_observer observer = game_search_observer();
    observer.report = nullptr; // the hint's search reports nothing
    const ai_decision d = choose_ai_move(copy, settings, observer);
    setstate(game_state_of_random);
    progress_clear();
    if (d.outcome != ai_outcome::move) {
        std::puts("No hint: there is no legal move.");
        return;
    }
    std::string text = "Hint: " + square_name(d.src) + "-" + square_name(d.dst);
    if (d.ascend) text += std::string("=") + promotion_letters[d.ascend];
    std::puts(text.c_str());
}

void show_moves(const game_record &record) {
    const std::vector<std::string> &moves = record.pgn.moves;
    if (moves.empty()) {
        std::puts("No moves yet.");
        return;
    }
    uint32_t number = record.first_fullmove;
    uint8_t turn = record.first_turn;
    std::string line;
    for (const std::string &san : moves) {
        if (turn == 0) {
            line = std::to_string(number) + ". " + san;
        } else {
            if (line.empty())
                line = std::to_string(number) + "... ";
            else
                line += " ";
            line += san;
            std::puts(line.c_str());
            line.clear();
            number++;
        }
        turn = !turn;
    }
    if (!line.empty()) std::puts(line.c_str());
}

void show_command_help() {
    std::puts("Type the square of a piece (e2), or one of these commands:");
    for (const named_command &c : command_table) std::printf("  %-7s %s\n", c.name, c.help);
    std::puts("  draw    claim a draw after more than 50 moves without pawn move or capture");
}

void resign_game(const game_state &game, game_record *record) {
    const bool black = game.game_status.turn != 0;
    record_end(record, {black ? "1-0" : "0-1", black ? "Black resigns" : "White resigns"});
    std::puts(black ? "Black resigns. White won." : "White resigns. Black won.");
    std::exit(0);
}

void quit_game(const game_record &record) {
    if (record.enabled)
        std::printf("The game is kept in %s; continue it with %s.\n", record.path.c_str(),
                    record.database.empty() ? ("RESUME=" + record.path).c_str() : "RESUME");
    std::exit(0);
}
