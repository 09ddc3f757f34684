// Run-wide settings chosen by the command-line words.
#pragma once

#include "ai/ai_settings.h"

#include <cstdint>

// 1: the window is open (or being opened) besides the text board. The messages and the
// move entry ask it how to talk to the person.
extern uint8_t graphics;

// What the command-line words choose.
struct game_options {
    uint8_t graphics = 0;
    uint8_t white_ai = 0; // the computer plays White
    uint8_t black_ai = 1; // the computer plays Black
    ai_settings ai;
};

// Applies the command-line words (without the program name); later words override earlier
// ones, unknown words are ignored.
void parse_args(int argc, char **argv, game_options *options);
