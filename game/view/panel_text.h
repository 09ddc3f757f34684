// The text of the window's side panel: whose move it is, the last moves numbered as on a
// score sheet, and the computer's search.
#pragma once

#include "ai/classic/search_observer.h"
#include "display/side_panel.h"
#include "rules/board.h"

#include <string>
#include <vector>

// One half-move as the panel keeps it.
struct panel_move {
    uint32_t half_move; // the game's half-move number: 1 is White's first move
    std::string san;
    coord src, dst;
};

// "12. Nf3" for White's move in half-move 23, "12...Nc6" for Black's in half-move 24.
std::string score_sheet_line(uint32_t half_move, const std::string &san);

// Keeps `move`, played in its half-move, after dropping every move kept for that half-move
// or a later one (they were taken back).
void note_panel_move(std::vector<panel_move> *moves, const panel_move &move);

// The latest move played before half-move `turn_count`, or null when there is none.
const panel_move *last_move_before(const std::vector<panel_move> &moves, uint32_t turn_count);

// One line of the moves as a score sheet writes them: White's move and Black's reply share
// it ("12. Nf3 Nc6") where they fit the panel's width; otherwise, and when a Black move
// opens the list, Black's stands alone ("12...Nc6").
struct score_sheet_row {
    std::string text;
    size_t last_move_from; // where the row's last move starts when it holds two, else 0
};

// The rows of the moves played before half-move `turn_count`, oldest first.
std::vector<score_sheet_row> score_sheet_rows(const std::vector<panel_move> &moves,
                                              uint32_t turn_count);

// The heading for the side to move (0 White) and the last rows of the moves played before
// half-move `turn_count`, at most panel_move_lines of them, oldest first. Leaves the search
// alone.
void fill_panel_moves(const std::vector<panel_move> &moves, uint32_t turn_count, uint8_t turn,
                      side_panel *panel);

// A player's score as the panel shows it, from White's side: "+0.35", or "#3" when White
// mates in 3 and "#-3" when Black does. `value` is from the side to move `mover`: moves to
// mate when `mate`, else centipawns.
std::string panel_score(bool mate, int value, uint8_t mover);

// The search's lines: its depth, and how many of the pass's moves are rated.
void fill_panel_search(const search_progress &progress, side_panel *panel);
