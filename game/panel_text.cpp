#include "game/panel_text.h"

namespace {

// Cut to the panel's width: what does not fit would be clipped at the screen's edge anyway.
void set_line(panel_line &line, const std::string &text) {
    line[text.copy(line, panel_line_chars)] = '\0';
}

} // namespace

std::string score_sheet_line(uint32_t half_move, const std::string &san) {
    const uint32_t full_move = (half_move + 1) / 2;
    const bool white = (half_move & 1) != 0;
    return std::to_string(full_move) + (white ? ". " : "...") + san;
}

void note_panel_move(std::vector<panel_move> *moves, const panel_move &move) {
    while (!moves->empty() && moves->back().half_move >= move.half_move) moves->pop_back();
    moves->push_back(move);
}

const panel_move *last_move_before(const std::vector<panel_move> &moves, uint32_t turn_count) {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it)
        if (it->half_move < turn_count) return &*it;
    return nullptr;
}

void fill_panel_moves(const std::vector<panel_move> &moves, uint32_t turn_count, uint8_t turn,
                      side_panel *panel) {
    set_line(panel->heading, turn ? "Black to move" : "White to move");
    size_t end = moves.size();
    while (end > 0 && moves[end - 1].half_move >= turn_count) end--;
    const size_t begin = end > panel_move_lines ? end - panel_move_lines : 0;
    panel->move_count = 0;
    for (size_t i = begin; i < end; i++)
        set_line(panel->moves[panel->move_count++],
                 score_sheet_line(moves[i].half_move, moves[i].san));
}

void fill_panel_search(const search_progress &progress, side_panel *panel) {
    set_line(panel->depth_line, "Depth " + std::to_string(progress.depth));
    set_line(panel->rated_line,
             std::to_string(progress.rated) + "/" + std::to_string(progress.to_rate));
    panel->rated = progress.rated;
    panel->to_rate = progress.to_rate;
}
