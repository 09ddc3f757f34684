// Run-wide settings chosen by the command-line words.
#pragma once

#include <cstdint>

extern uint8_t graphics; // 1: the window is open (or being opened) besides the text board
