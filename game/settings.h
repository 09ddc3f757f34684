// Run-wide settings chosen by the command-line words.
#pragma once

#include "ai/ai_settings.h"

#include <cstdint>
#include <string>

// 1: the window is open (or being opened) besides the text board. The messages and the
// move entry ask it how to talk to the person.
extern uint8_t graphics;

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
    std::string error;     // a word that cannot be used, said why; empty when all are fine
};

// The word that skips the words file.
constexpr const char *no_words_file_word = "--no-config";

// Applies the command-line words (without the program name); later words override earlier
// ones, unknown words are ignored. Returns how many words were unknown.
int parse_args(int argc, char **argv, game_options *options);

// Whether parse_args takes the word (a word it takes may still be refused, as LEVEL=9).
bool known_word(const char *word);
