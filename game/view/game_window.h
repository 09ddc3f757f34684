// The game's window: the one screen the game draws on and reads keys from, opened at
// start-up when the words ask for graphics.
#pragma once

struct screen;

// The game's screen. Its window is open only while `graphics` is set.
screen *game_screen();

// The turns ask these while a player thinks, without a screen of their own to hand.
// True once the person has closed the window.
bool window_closed();
// Lets the window answer the desktop; false once it is closed (see display/sdlfuncs.h).
bool pump_window_events();
