#include "game/view/view.h"
#include "display/screen.h"
#include "game/view/board_printout.h"
#include "game/view/game_window.h"
#include "game/view/panel_text.h"
#include "game/view/unicode_board.h"
#include "rules/time/clock_text.h"

#include <chrono>
#include <vector>

namespace {

using steady = std::chrono::steady_clock;

// The window shows the search at most this often: enough to see it move, cheap for it.
constexpr auto panel_redraw_interval = std::chrono::milliseconds(200);
constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

void redraw_window(const view_state &view) {
    if (!view.shown_game) return;
    draw_window_board(view, view.shown_game->board, nullptr, 0, nothing_selected, nothing_selected);
}

} // namespace

void view_start(view_state *view, bool window, const game_options &options, const game_state *live,
                const game_record &record) {
    const game_status &sides = live->game_status;
    view->unicode = options.unicode;
    view->colours = options.unicode && terminal_colours();
    view->flipped = options.flip && sides.white_ai && !sides.black_ai;
    // A game on clocks shows them in the panel: the window needs it.
    view->panel = (options.panel || options.clock) && window;
    game_screen()->flipped = view->flipped;
    view->shown_game = live;
    view->played.clear();
    view->thinking = false;
    view->game_result.clear();
    if (!view->panel) return;
    // A resumed game: its moves lead up to the half-move about to be played.
    uint32_t half_move = record_first_half_move(record);
    for (const recorded_move &m : record.moves)
        view->played.push_back({half_move++, m.san, m.move.src, m.move.dst});
}

void view_move_played(view_state *view, const game_state &before, const san_move &move) {
    if (!view->panel) return;
    const std::string san =
        format_san(before.board, before.game_status.turn, move.src, move.dst, move.ascend);
    note_panel_move(&view->played, {before.turn_count, san, move.src, move.dst});
}

namespace {

// The window is drawn again with the search shown, at most every panel_redraw_interval.
void show_thinking(view_state *view) {
    const steady::time_point now = steady::now();
    if (view->thinking && now - view->last_redraw < panel_redraw_interval) return;
    view->thinking = true;
    view->last_redraw = now;
    redraw_window(*view);
}

} // namespace

void view_search_progress(view_state *view, const search_progress &progress) {
    if (!view->panel) return;
    view->last_progress = progress;
    view->player_thinking = false;
    show_thinking(view);
}

void view_player_thinking(view_state *view, int depth, const std::string &score) {
    if (!view->panel) return;
    view->last_progress = {1,
                           static_cast<uint8_t>(depth < 0     ? 0
                                                : depth > 255 ? 255
                                                              : depth),
                           0, 0};
    view->player_thinking = true;
    view->thinking_score = score;
    show_thinking(view);
}

void view_board_drawn(view_state *view) {
    view->thinking = false;
}

void view_clocks(view_state *view, const chess_clock *clock) {
    view->shown_clock = clock;
}

void view_game_over(view_state *view, const char *result) {
    if (!view->panel) return;
    const std::string r = result;
    view->game_result = r + (r == "1-0" ? " White won" : r == "0-1" ? " Black won" : " Draw");
    view->thinking = false;
    redraw_window(*view);
}

void view_panel(const view_state &view, side_panel *panel) {
    const uint32_t turn_count = view.shown_game ? view.shown_game->turn_count : 0;
    const uint8_t turn = view.shown_game ? view.shown_game->game_status.turn : 0;
    fill_panel_moves(view.played, turn_count, turn, panel);
    if (!view.game_result.empty())
        panel->heading[view.game_result.copy(panel->heading, panel_line_chars)] = '\0';
    panel->thinking = view.thinking;
    if (view.shown_clock) {
        const int64_t now = steady_now_ms();
        panel->clocks = true;
        for (uint8_t side = 0; side <= 1; side++) {
            const std::string label = clock_label(side, time_left(*view.shown_clock, side, now));
            panel->clock_lines[side][label.copy(panel->clock_lines[side], panel_line_chars)] = 0;
        }
        panel->running_clock = view.shown_clock->running;
    }
    if (view.thinking) fill_panel_search(view.last_progress, panel);
    if (view.thinking && view.player_thinking)
        panel->rated_line[view.thinking_score.copy(panel->rated_line, panel_line_chars)] = '\0';
}

last_move_squares view_last_move(const view_state &view) {
    if (!view.panel || !view.shown_game) return {};
    const panel_move *last = last_move_before(view.played, view.shown_game->turn_count);
    if (!last) return {};
    return {last->src, last->dst};
}
