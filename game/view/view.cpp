#include "game/view/view.h"
#include "display/screen.h"
#include "game/view/board_printout.h"
#include "game/view/game_window.h"
#include "game/view/panel_text.h"
#include "game/view/unicode_board.h"
#include "rules/time/clock_text.h"

#include <chrono>
#include <vector>

view_settings view;

namespace {

using steady = std::chrono::steady_clock;

// The window shows the search at most this often: enough to see it move, cheap for it.
constexpr auto panel_redraw_interval = std::chrono::milliseconds(200);
constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

const game_state *shown_game = nullptr;
const chess_clock *shown_clock = nullptr; // the game's clocks; null without them
std::vector<panel_move> played;
bool thinking = false;
// The strong player's or an engine's score in place of the classic's moves rated, when
// `player_thinking`.
bool player_thinking = false;
std::string thinking_score;
std::string game_result; // the heading of a finished game; empty while it goes on
search_progress last_progress{};
steady::time_point last_redraw;

void redraw_window() {
    if (!shown_game) return;
    draw_window_board(shown_game->board, nullptr, 0, nothing_selected, nothing_selected);
}

} // namespace

void view_start(const game_options &options, const game_state *live, const game_record &record) {
    const game_status &sides = live->game_status;
    view.unicode = options.unicode;
    view.colours = options.unicode && terminal_colours();
    view.flipped = options.flip && sides.white_ai && !sides.black_ai;
    // A game on clocks shows them in the panel: the window needs it.
    view.panel = (options.panel || options.clock) && graphics;
    game_screen()->flipped = view.flipped;
    shown_game = live;
    played.clear();
    thinking = false;
    game_result.clear();
    if (!view.panel) return;
    // A resumed game: its moves lead up to the half-move about to be played.
    uint32_t half_move = record_first_half_move(record);
    for (const recorded_move &m : record.moves)
        played.push_back({half_move++, m.san, m.move.src, m.move.dst});
}

void view_move_played(const game_state &before, const san_move &move) {
    if (!view.panel) return;
    const std::string san =
        format_san(before.board, before.game_status.turn, move.src, move.dst, move.ascend);
    note_panel_move(&played, {before.turn_count, san, move.src, move.dst});
}

namespace {

// The window is drawn again with the search shown, at most every panel_redraw_interval.
void show_thinking() {
    const steady::time_point now = steady::now();
    if (thinking && now - last_redraw < panel_redraw_interval) return;
    thinking = true;
    last_redraw = now;
    redraw_window();
}

} // namespace

void view_search_progress(const search_progress &progress) {
    if (!view.panel) return;
    last_progress = progress;
    player_thinking = false;
    show_thinking();
}

void view_player_thinking(int depth, const std::string &score) {
    if (!view.panel) return;
    last_progress = {1, static_cast<uint8_t>(depth < 0 ? 0 : depth > 255 ? 255 : depth), 0, 0};
    player_thinking = true;
    thinking_score = score;
    show_thinking();
}

void view_board_drawn() {
    thinking = false;
}

void view_clocks(const chess_clock *clock) {
    shown_clock = clock;
}

void view_game_over(const char *result) {
    if (!view.panel) return;
    const std::string r = result;
    game_result = r + (r == "1-0" ? " White won" : r == "0-1" ? " Black won" : " Draw");
    thinking = false;
    redraw_window();
}

void view_panel(side_panel *panel) {
    const uint32_t turn_count = shown_game ? shown_game->turn_count : 0;
    const uint8_t turn = shown_game ? shown_game->game_status.turn : 0;
    fill_panel_moves(played, turn_count, turn, panel);
    if (!game_result.empty())
        panel->heading[game_result.copy(panel->heading, panel_line_chars)] = '\0';
    panel->thinking = thinking;
    if (shown_clock) {
        const int64_t now = steady_now_ms();
        panel->clocks = true;
        for (uint8_t side = 0; side <= 1; side++) {
            const std::string label = clock_label(side, time_left(*shown_clock, side, now));
            panel->clock_lines[side][label.copy(panel->clock_lines[side], panel_line_chars)] = 0;
        }
        panel->running_clock = shown_clock->running;
    }
    if (thinking) fill_panel_search(last_progress, panel);
    if (thinking && player_thinking)
        panel->rated_line[thinking_score.copy(panel->rated_line, panel_line_chars)] = '\0';
}

last_move_squares view_last_move() {
    if (!view.panel || !shown_game) return {};
    const panel_move *last = last_move_before(played, shown_game->turn_count);
    if (!last) return {};
    return {last->src, last->dst};
}
