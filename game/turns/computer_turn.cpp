#include "game/turns/computer_turn.h"
#include "ai/classic/classic_player.h"
#include "game/game_end.h"
#include "game/running_game.h"
#include "game/view/game_window.h"
#include "game/view/panel_text.h"
#include "game/view/search_progress.h"
#include "game/view/view.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/notation.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char *ascends[] = {"rook", "knight", "bishop", "queen"};
constexpr int failed_status = 1; // the game is kept unfinished in its record
// Taken off the strong player's time for printing and playing the move.
constexpr int64_t strong_overhead_ms = 10;

void print_report_line(running_game *run, const char *line) {
    // A closed window ends the game where it stands: nothing of the search is told.
    if (window_closed()) return;
    progress_clear(&run->progress);
    std::puts(line);
}

// What the game shows of a player thinking, and the stop a close of the window raises.
struct game_watch {
    running_game *run;
    std::atomic<bool> stop{false};
    uint8_t mover = 0;
    bool hold = false;                      // report lines wait for the move (a game on clocks)
    bool quiet = false;                     // report lines are dropped (a hint)
    std::vector<std::string> held;          // ... here
    const player_observer *front = nullptr; // another front end watching, or null
    int depth = 0;                          // the panel's: of the last iteration
    std::string score;                      // ... and its score, from White's side
};

// A front end's stop ends the thinking as a close of the window does.
void heed_front(game_watch *w) {
    if (w->front && w->front->stop && w->front->stop->load()) w->stop.store(true);
}

void watch_line(void *context, const char *line) {
    auto *w = static_cast<game_watch *>(context);
    if (w->quiet) return;
    if (w->hold)
        w->held.emplace_back(line);
    else
        print_report_line(w->run, line);
}

// The classic player's progress: the status line and the panel's "Thinking...", while the
// window keeps answering the desktop.
void watch_progress(void *context, const player_progress &p) {
    auto *w = static_cast<game_watch *>(context);
    heed_front(w);
    if (!pump_window_events()) {
        w->stop.store(true);
        return;
    }
    progress_show(&w->run->progress, p.pass, static_cast<uint8_t>(p.depth), p.rated, p.to_rate);
    view_search_progress(&w->run->view,
                         {p.pass, static_cast<uint8_t>(p.depth), p.rated, p.to_rate});
}

void watch_thinking(void *context, const player_thinking &t) {
    auto *w = static_cast<game_watch *>(context);
    if (w->front && w->front->thinking) w->front->thinking(w->front->context, t);
    w->depth = t.depth;
    w->score = t.has_score
                   ? panel_score(t.mate_in != 0, t.mate_in != 0 ? t.mate_in : t.cp, w->mover)
                   : std::string();
}

// The other players' thinking: the panel shows its depth and score with the clocks ticking.
void watch_tick(void *context) {
    auto *w = static_cast<game_watch *>(context);
    heed_front(w);
    if (!w->run->graphics) return;
    if (!pump_window_events()) {
        w->stop.store(true);
        return;
    }
    view_player_thinking(&w->run->view, w->depth, w->score);
}

player_observer observer_of(game_watch *w) {
    player_observer o;
    o.context = w;
    o.thinking = watch_thinking;
    o.tick = watch_tick;
    o.line = watch_line;
    o.progress = watch_progress;
    o.stop = &w->stop;
    return o;
}

// The move-count rule kept the turn-start test from seeing that the side to move has no
// move: the game ends as that test would have ended it.
game_ending end_without_move(running_game *run, const game_state &live) {
    progress_clear(&run->progress);
    const uint8_t turn = live.game_status.turn;
    const coord king_pos = find_king(&live.board, turn);
    const bool mated = square_attacked(&live.board, king_pos, turn ? black_bit : 0);
    if (mated) return finished_game(mate_outcome(turn), checkmate_message(turn), false);
    return finished_game({"1/2-1/2", "Stalemate"}, "Stalemate.", false);
}

void print_moving(const game_state &live, const san_move &m, const char *why) {
    std::printf("%u: Moving %s to %s%s\n", live.turn_count, square_name(m.src).c_str(),
                square_name(m.dst).c_str(), why);
}

// The lines that tell the move, in the order the game has always printed them.
void announce(const game_state &live, const player_answer &a, game_watch *w, bool announce_book) {
    if (a.book) {
        if (announce_book) print_moving(live, a.move, " (opening book)");
        return;
    }
    // A move cut short by the clock: its last line ("Moving ...") gives way to the first
    // pass's.
    if (a.one_pass && !w->held.empty()) w->held.pop_back();
    for (const std::string &line : w->held) print_report_line(w->run, line.c_str());
    if (a.one_pass) {
        print_moving(live, a.move, " (one pass: out of time)");
        return;
    }
    if (a.announced) return;
    print_moving(live, a.move, "");
    if (a.summary) std::puts(a.summary->c_str());
}

} // namespace

void announce_ascension(uint8_t became) {
    std::printf("Ascended to %s\n", ascends[became - type_rook]);
}

std::string hint_text(coord src, coord dst, uint8_t ascend) {
    std::string text = "Hint: " + square_name(src) + "-" + square_name(dst);
    if (ascend) text += std::string("=") + san_piece_letters[ascend];
    return text;
}

strong_setup game_strong_setup(const game_options &options) {
    strong_setup setup;
    setup.move_time_ms = options.movetime_ms;
    setup.overhead_ms = strong_overhead_ms;
    setup.rules = options.fide ? draw_rules::fide : draw_rules::game;
    setup.elo = options.elo;
    if (options.elo) {
        setup.seeding = options.seeded ? strong_seeding::by_turn : strong_seeding::fresh;
        setup.seed = options.seed;
    }
    return setup;
}

player_limits limits_of_game(const game_timing &timing) {
    player_limits limits;
    if (!timing.clocks) return limits;
    const int64_t now = steady_now_ms();
    for (uint8_t side = 0; side <= 1; side++) {
        limits.time_left_ms[side] = time_left(timing.clock, side, now);
        limits.increment_ms[side] = timing.clock.control[side].increment_ms;
    }
    return limits;
}

computer_move do_player_move(running_game *run, player *p, game_state *live, const game_moves &game,
                             const player_limits &limits, bool announce_book,
                             const game_timing *clocks, const player_observer *front) {
    progress_begin(&run->progress);
    game_watch watch;
    watch.run = run;
    watch.mover = live->game_status.turn;
    watch.hold = clocks != nullptr;
    watch.front = front;
    player_observer observer = observer_of(&watch);
    // Only a window or a clock can stop the thinking; without them it never stops.
    if (!run->graphics && !clocks && !front) observer.stop = nullptr;
    const player_answer a = p->decide(game, limits, observer);
    computer_move result;
    if (window_closed()) {
        progress_clear(&run->progress);
        result.ending = interrupted_game(interruption::window_closed);
        return result;
    }
    if (a.opening >= 0) live->opening = static_cast<uint8_t>(a.opening);
    switch (a.outcome) {
    case player_outcome::no_move:
        result.ending = end_without_move(run, *live);
        return result;
    case player_outcome::failed:
        progress_clear(&run->progress);
        if (a.timed_out && clocks) {
            result.ending = flag_fall_ending(live->board, watch.mover, clocks->fide);
            return result;
        }
        std::fflush(stdout);
        std::fprintf(stderr, "vartok: %s; the game is kept in its record\n", a.failure.c_str());
        result.ending = game_ending{};
        result.ending->status = failed_status;
        return result;
    case player_outcome::move:
        break;
    }
    if (a.resigned) {
        progress_clear(&run->progress);
        result.ending = resign_game(*live);
        return result;
    }
    announce(*live, a, &watch, announce_book);
    result.decision.outcome = a.book ? ai_outcome::book_move : ai_outcome::move;
    result.decision.src = a.move.src;
    result.decision.dst = a.move.dst;
    result.decision.ascend = a.move.ascend;
    result.decision.opening = live->opening;
    result.decision.positions_rated = a.report.nodes;
    if (const uint8_t became = play_half_move(live, a.move.src, a.move.dst, a.move.ascend)) {
        progress_clear(&run->progress);
        announce_ascension(became);
    }
    return result;
}

computer_move do_ai_move(running_game *run, search_context *search, game_state *live,
                         const ai_settings &settings, bool announce_book) {
    classic_setup setup;
    setup.settings = settings;
    const std::unique_ptr<player> classic = new_classic_player(search, setup);
    return do_player_move(run, classic.get(), live, {*live, {}, *live}, {}, announce_book, nullptr);
}

std::string player_hint(running_game *run, player *p, const game_moves &game) {
    progress_begin(&run->progress);
    game_watch watch;
    watch.run = run;
    watch.mover = game.now.game_status.turn;
    watch.quiet = true;
    player_observer observer = observer_of(&watch);
    // A hint is always thought to its end, and only the classic player's progress is shown.
    observer.stop = nullptr;
    observer.thinking = nullptr;
    observer.tick = nullptr;
    const player_answer a = p->decide(game, {}, observer);
    progress_clear(&run->progress);
    if (a.resigned) return "No hint: the engine resigns.";
    if (a.outcome == player_outcome::failed) return "No hint: " + a.failure;
    if (a.outcome != player_outcome::move) return "No hint: there is no legal move.";
    return hint_text(a.move.src, a.move.dst, a.move.ascend);
}
