// Run-wide settings chosen by the command-line words.
#pragma once

#include "ai/classic/ai_settings.h"
#include "rules/time/time_control.h"

#include <cstdint>
#include <string>
#include <vector>

// What the command-line words choose.
struct game_options {
    uint8_t graphics = 0;
    uint8_t white_ai = 0; // the computer plays White
    uint8_t black_ai = 1; // the computer plays Black
    ai_settings ai;
    std::string pgn_path;    // PGN=FILE: this game's record; empty: the default place
    bool resume = false;     // RESUME or RESUME=FILE
    std::string resume_path; // RESUME=FILE; empty: the unfinished game at the default place
    bool fen_given = false;  // FEN=...: the game starts from this position
    std::string fen;
    bool commands = false; // COMMANDS: undo, hint, moves, resign, quit and help at the prompt
    bool unicode = false;  // UNICODE: the text board with chess symbols (and colours)
    bool flip = false;     // FLIP: Black at the bottom when a person plays Black alone
    bool panel = false;    // PANEL: the window's right part shows the game
    bool tui = false;      // TUI: the game on one full screen of the terminal
    bool ascii = false;    // ASCII: the full-screen board's pieces as letters
    bool clock = false;    // CLOCK=, WHITE_CLOCK= or BLACK_CLOCK=: the game is played on clocks
    time_control clocks[2] = {}; // White's and Black's time controls, when `clock`
    bool fide = false;           // FIDE: the standard draw rules instead of the game's own
    bool strong = false;         // PLAYER=strong: the computer's side(s) use the strong player
    int64_t movetime_ms = 1000;  // MOVETIME=ms: the strong player's (or an engine's) time a move
    int elo = 0;                 // ELO=n: the strong player weakened to about n; 0: full strength
    bool seeded = false;         // SEED=n: the weakened player's choices repeat from game to game
    uint64_t seed = 0;
    // Outside engines: ENGINE= for every side the computer plays, WHITE_ENGINE= and
    // BLACK_ENGINE= for one side (which the computer then plays); empty: none.
    std::string engine;
    std::string side_engines[2];
    std::vector<std::string> engine_options; // ENGINE_OPTION=Name=Value, in order
    // A resumed game's engine options as its record keeps them for each side, given again
    // when the words name the same engine and no ENGINE_OPTION=.
    std::vector<std::string> recorded_engine_options[2];
    std::string engine_protocol; // ENGINE_PROTOCOL=uci or xboard; empty: asked
    std::string engine_names[2]; // the engines' own names, once they run
    std::string error;           // a word that cannot be used, said why; empty when all are fine
};

// The engine command that plays `side`, or empty when none does.
std::string engine_command(const game_options &options, uint8_t side);

// The options ("Name=Value") the engine of `side` is started with.
const std::vector<std::string> &engine_options_for(const game_options &options, uint8_t side);
// The word that skips the words file.
constexpr const char *no_words_file_word = "--no-config";

// Applies the command-line words (without the program name); later words override earlier
// ones, unknown words are ignored. Returns how many words were unknown.
int parse_args(int argc, char **argv, game_options *options);

// Whether parse_args takes the word (a word it takes may still be refused, as LEVEL=9).
bool known_word(const char *word);
