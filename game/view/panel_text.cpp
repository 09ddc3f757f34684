#include "game/view/panel_text.h"

#include <cstdio>
#include <cstdlib>

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

std::vector<score_sheet_row> score_sheet_rows(const std::vector<panel_move> &moves,
                                              uint32_t turn_count) {
    std::vector<score_sheet_row> rows;
    bool white_row_open = false; // the last row holds a White move alone, a reply may join it
    for (const panel_move &m : moves) {
        if (m.half_move >= turn_count) break;
        const bool white = (m.half_move & 1) != 0;
        if (!white && white_row_open &&
            rows.back().text.size() + 1 + m.san.size() <= panel_line_chars) {
            score_sheet_row &row = rows.back();
            row.last_move_from = row.text.size() + 1;
            row.text += " " + m.san;
        } else {
            rows.push_back({score_sheet_line(m.half_move, m.san), 0});
        }
        white_row_open = white;
    }
    return rows;
}

void fill_panel_moves(const std::vector<panel_move> &moves, uint32_t turn_count, uint8_t turn,
                      side_panel *panel) {
    set_line(panel->heading, turn ? "Black to move" : "White to move");
    const std::vector<score_sheet_row> rows = score_sheet_rows(moves, turn_count);
    const size_t begin = rows.size() > panel_move_lines ? rows.size() - panel_move_lines : 0;
    panel->move_count = 0;
    panel->latest_from = 0;
    for (size_t i = begin; i < rows.size(); i++) {
        set_line(panel->moves[panel->move_count++], rows[i].text);
        panel->latest_from = static_cast<uint8_t>(rows[i].last_move_from);
    }
}

std::string panel_score(bool mate, int value, uint8_t mover) {
    const long long v = (mover == side_white ? 1LL : -1LL) * value;
    char text[32];
    if (mate)
        std::snprintf(text, sizeof text, "#%lld", v);
    else
        std::snprintf(text, sizeof text, "%c%lld.%02lld", v < 0 ? '-' : '+', std::llabs(v) / 100,
                      std::llabs(v) % 100);
    return text;
}

void fill_panel_search(const search_progress &progress, side_panel *panel) {
    set_line(panel->depth_line, "Depth " + std::to_string(progress.depth));
    set_line(panel->rated_line,
             std::to_string(progress.rated) + "/" + std::to_string(progress.to_rate));
    panel->rated = progress.rated;
    panel->to_rate = progress.to_rate;
}
