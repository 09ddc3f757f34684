// Typed commands at "Select piece." with the word COMMANDS: take-backs, hints, the moves so
// far, resigning, leaving to resume later, and help.
#pragma once

#include "ai/classic/ai_settings.h"
#include "game/game_ending.h"
#include "game/records/game_record.h"
#include "game/turns/engine_turn.h"
#include "game/turns/take_back.h"
#include "rules/game_state.h"

#include <SDL_scancode.h>
#include <string>

struct running_game;

enum class command_kind { none, undo, hint, moves, resign, quit, help };

// The command a whole line names ("undo\n", "  hint  "), or none.
command_kind command_of(const char *line);

// What the commands need besides the game.
struct command_context {
    const ai_settings *settings;
    game_record *record;
    const game_options *options = nullptr; // which player the computer is: the hint asks it
    outside_engines *engines = nullptr;    // when an engine plays, the hint asks it
    const turn_history *turns = nullptr;   // where the game began, for an engine's hint
};

// The keys that give commands in the window (with COMMANDS, at the piece prompt), and the
// command of a key (none for any other key).
constexpr SDL_Scancode window_command_keys[] = {SDL_SCANCODE_U, SDL_SCANCODE_H, SDL_SCANCODE_F1,
                                                SDL_SCANCODE_SLASH};
command_kind command_of_key(SDL_Scancode key);

// "Hint: e2-e4": the computer's choice for the side to move, searched at the set depths in
// a copy of the game with the book off and with random draws of its own (seeded 1), so the
// game's own draws are untouched. Says why when the computer plays that side. With
// PLAYER=strong the strong player searches it instead, for its time a move; when an engine
// plays, the engine is asked.
std::string hint_line(running_game *run, const game_state &game, const ai_settings &settings,
                      const command_context *context = nullptr);

// The game so far in SAN, numbered like a score sheet ("1. e4 c5").
void show_moves(const game_record &record);

void show_command_help(bool fide);

// The window's keys, for the help box.
extern const char *const window_keys_help;

// Ends the run and leaves the game unfinished in its record, to be resumed (status 0).
game_ending quit_game(const game_record &record);
