// The prompt line's history: Up and Down bring back lines typed before. The arrow keys also
// move the board's cursor, so they recall lines only while the prompt holds text (a line
// typed or recalled), or right after Enter on an empty prompt with no cursor shown.
#pragma once

#include "game/tui/tui_keys.h"

#include <string>
#include <vector>

struct tui_line_history {
    std::vector<std::string> lines; // oldest first
    size_t at = 0;                  // the line recalled; lines.size(): none
    std::string draft;              // what was typed before the first Up
    bool armed = false;             // Enter on an empty prompt: Up recalls even so
};

// Serves `key` for the history of the line `prompt`: Enter notes a typed line (the key goes
// on to be served as Enter), Up and Down recall lines. True when the key was the history's.
bool tui_history_key(tui_line_history *history, std::string *prompt, bool cursor_shown,
                     const tui_key &key);
