// Everything the full-screen board shows at one moment, as plain data: the turn loop fills
// it, tui_draw puts it on the screen.
#pragma once

#include "rules/board.h"

#include <optional>
#include <string>
#include <vector>

struct tui_view {
    struct board board {};
    uint8_t turn = 0;
    bool flipped = false;
    bool unicode = true;
    bool colour = true;
    std::optional<coord> last_from, last_to;
    std::optional<coord> king_in_check;
    std::optional<coord> selected;
    std::vector<coord> destinations; // of the selected piece
    std::optional<coord> cursor;     // shown once the arrow keys are used
    std::string names[2];            // White's, Black's, as the record names them
    std::string clocks[2];           // empty: no clocks
    int running = -1;                // the side whose clock runs, or -1
    std::string status;              // whose move, or the result
    std::string thinking[2];         // depth, score, speed; the line in SAN
    bool show_evaluation = false;    // the evaluation bar (e), off at first
    bool has_evaluation = false;
    int evaluation_cp = 0;       // the last score from White's side; a mate counts as much
    std::string evaluation_text; // "+0.35", "#-3"
    std::vector<std::string> move_rows;
    std::string prompt;  // what the person is typing
    std::string message; // why a move was refused, or what happens
    std::string help;    // the keys
    bool choosing_ascension = false;
    bool confirming_resignation = false;
    bool showing_keys = false;              // the box of keys (?) over the board, until any key
    coord ascension_from{}, ascension_to{}; // the pawn move waiting for its piece
    std::optional<coord> premove_from, premove_to; // chosen while the computer thinks
};

// "4:59.8" below 20 s is "0:19.3"; from 20 s "4:59", from an hour "1:02:03".
std::string clock_text(int64_t ms);
