// Messages for the person: a line (and a read) in text mode, a box and a key in graphics.
#pragma once

#include "game/interruption.h"

struct running_game;

constexpr int message_size = 80; // the longest formatted message fits

void show_message(running_game *run, const char *str);
// Shows the message and sets `answer` to the first character of a line typed, or in
// graphics mode to a key (0 when none is waiting). Anything but none: the game is to end.
interruption show_dialog(running_game *run, const char *str, char *answer);
// Shows the message until the person acknowledges it with any line or key.
interruption show_dialog_nokey(running_game *run, const char *str);
// Waits between two polls in graphics mode so that waiting for a key costs no processor.
interruption wait_before_next_poll(running_game *run);
// A line on standard output; in graphics mode also shown in the message box until a key.
interruption show_notice(running_game *run, const char *str);
