#include "game/tui/tui_game.h"
#include "game/game_end.h"
#include "game/input/commands.h"
#include "game/records/pgn_text.h"
#include "game/review/played_game_review.h"
#include "game/tui/tui_computer.h"
#include "game/tui/tui_draw.h"
#include "game/tui/tui_person.h"
#include "game/view/panel_text.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/fide_draws.h"
#include "rules/position_rules.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr const char *help_line =
    "Click or type a move (e4, Enter); type hint, draw, resign too. ?: keys  q: quit";
constexpr const char *side_names[] = {"White", "Black"};

std::string score_text(const player_thinking &t, uint8_t mover) {
    if (!t.has_score) return "";
    return panel_score(t.mate_in != 0, t.mate_in != 0 ? t.mate_in : t.cp, mover);
}

// "depth 9  +0.35  850 kn/s" and the line in SAN from `game`.
void show_thinking(tui_view *view, const player_thinking &t, const game_state &game) {
    const uint8_t mover = game.game_status.turn;
    std::string line = "depth " + std::to_string(t.depth) + "  " + score_text(t, mover);
    if (t.time_ms > 0)
        line += "  " + std::to_string(t.nodes / static_cast<uint64_t>(t.time_ms)) + " kn/s";
    view->thinking[0] = line;
    if (t.has_score) {
        constexpr int mate_cp = 10000; // beyond any bar
        const int cp = t.mate_in != 0 ? (t.mate_in > 0 ? mate_cp : -mate_cp) : t.cp;
        view->has_evaluation = true;
        view->evaluation_cp = mover ? -cp : cp;
        view->evaluation_text = score_text(t, mover);
    }
    std::string pv;
    struct board brd = game.board;
    uint8_t turn = mover;
    for (const san_move &m : t.pv) {
        const std::string san = format_san(brd, turn, m.src, m.dst, m.ascend);
        if (san.empty()) break;
        pv += (pv.empty() ? "" : " ") + san;
        game_state step = game;
        step.board = brd;
        step.game_status.turn = turn;
        play_half_move(&step, m.src, m.dst, m.ascend);
        brd = step.board;
        turn = step.game_status.turn;
    }
    view->thinking[1] = pv;
}

void show_moves(tui_view *view, const game_record &record, uint32_t turn_count) {
    std::vector<panel_move> moves;
    uint32_t half_move = record_first_half_move(record);
    for (const recorded_move &m : record.moves)
        moves.push_back({half_move++, m.san, m.move.src, m.move.dst});
    view->move_rows.clear();
    view->last_from.reset();
    view->last_to.reset();
    for (const score_sheet_row &row : score_sheet_rows(moves, turn_count))
        view->move_rows.push_back(row.text);
    if (!record.moves.empty()) {
        view->last_from = record.moves.back().move.src;
        view->last_to = record.moves.back().move.dst;
    }
}

void show_position(tui_view *view, const game_state &game, const game_record &record) {
    view->board = game.board;
    view->turn = game.game_status.turn;
    const uint8_t turn = game.game_status.turn;
    const coord king = find_king(&game.board, turn);
    view->king_in_check.reset();
    if (king != no_square && square_attacked(&game.board, king, turn ? black_bit : 0))
        view->king_in_check = king;
    view->status =
        std::string(side_names[turn]) + " to move" + (view->king_in_check ? ": check" : "");
    show_moves(view, record, game.turn_count);
}

void show_names(tui_view *view, const game_record &record) {
    for (uint8_t side = 0; side <= 1; side++)
        if (const std::string *name = pgn_tag_value(record.pgn, side_names[side]))
            view->names[side] = *name;
}

enum class wait_end { done, quit, end_of_input };

// The person's move chosen while the computer thinks in `before`, against the pieces as they
// stand; it is judged again when the person's turn comes.
void premove_key(tui_session *s, const game_state &before, const tui_key &key) {
    if (key.kind == tui_key_kind::escape && s->premove) {
        s->premove.reset();
        s->view.premove_from.reset();
        s->view.premove_to.reset();
        s->view.message = "Premove dropped.";
        return;
    }
    game_state premove_game = before;
    premove_game.game_status.turn = !before.game_status.turn;
    if (const std::optional<san_move> move = tui_move_key(s, premove_game, key)) {
        s->premove = *move;
        s->view.premove_from = move->src;
        s->view.premove_to = move->dst;
        s->view.message = "Premove " +
                          format_san(premove_game.board, premove_game.game_status.turn, move->src,
                                     move->dst, move->ascend) +
                          ": played at your turn if it is legal then (Escape drops it).";
    }
}

// The computer thinks; the clocks tick, its thinking shows, q and f are served, and a
// person who plays the other side may choose a premove.
wait_end wait_for_computer(tui_session *s, tui_computer_job *job, const game_state &before,
                           const chess_clock *clock, bool premove_allowed) {
    std::vector<tui_key> keys;
    s->view.thinking[1].clear();
    const int64_t started = steady_now_ms();
    while (!job->done.load()) {
        {
            const std::lock_guard<std::mutex> guard(job->lock);
            if (job->has_thinking) {
                show_thinking(&s->view, job->thinking, before);
            } else { // a player that does not tell its thinking yet: how long it has thought
                const int64_t tenths = (steady_now_ms() - started) / 100;
                s->view.thinking[0] = "thinking... " + std::to_string(tenths / 10) + "." +
                                      std::to_string(tenths % 10) + " s";
            }
        }
        tui_show_clocks(&s->view, clock);
        tui_redraw(s);
        if (!tui_wait_keys(s, tui_tick_ms, &keys)) return wait_end::end_of_input;
        for (const tui_key &key : keys) {
            bool quit = false;
            if (!s->view.choosing_ascension && tui_keys_box_key(s, key)) continue;
            if (premove_allowed && !s->view.choosing_ascension &&
                tui_history_key(&s->history, &s->view.prompt, s->view.cursor.has_value(), key))
                continue;
            if (s->view.choosing_ascension || !tui_common_key(s, key, premove_allowed, &quit)) {
                if (premove_allowed) premove_key(s, before, key);
            }
            if (quit) return wait_end::quit;
        }
    }
    return wait_end::done;
}

// A granted draw claim, as the text game grants it: under the standard rules on the third
// repetition or after 100 half-moves without pawn move or capture, else after more than
// draw_claimable_after half-moves without one.
std::optional<game_ending> claimed_draw(const game_state &game, const game_timing &timing,
                                        std::string *refusal) {
    const uint32_t quiet = game.game_status.moves_pawn_capture;
    if (timing.fide) {
        const fide_judgement j =
            judge_fide(game.board, game.game_status.turn, quiet, timing.positions);
        if (draw_claimable(j))
            return finished_game({"1/2-1/2", fide_claim_message(j)}, "Draw.", false);
        *refusal = "No draw can be claimed now.";
        return std::nullopt;
    }
    if (quiet > draw_claimable_after)
        return finished_game({"1/2-1/2", "Draw claimed after " + std::to_string(quiet) +
                                             " half-moves without pawn move or capture"},
                             "Draw.", false);
    *refusal = "Only " + std::to_string(quiet) + " moves since pawn moved or piece captured.";
    return std::nullopt;
}

// The person's turn: hints and refused claims are answered and the turn goes on.
tui_person_result person_turn(tui_session *s, running_game *run, const game_state &live,
                              const game_options &options, game_record *record,
                              const turn_history *turns, const computer_players &players,
                              const game_timing *timing) {
    const chess_clock *clock = timing->clocks ? &timing->clock : nullptr;
    for (;;) {
        tui_person_result r = tui_person_move(s, live, clock);
        if (r.outcome == tui_person_outcome::hint) {
            s->view.message = "Thinking of a hint...";
            tui_redraw(s);
            const command_context context{&options.ai, record, &options, players.engines, turns};
            s->view.message = hint_line(run, live, options.ai, &context);
            continue;
        }
        if (r.outcome == tui_person_outcome::draw) {
            std::string refusal;
            r.claimed_draw = claimed_draw(live, *timing, &refusal);
            if (!r.claimed_draw) {
                s->view.message = refusal;
                continue;
            }
        }
        return r;
    }
}

game_ending play_turns(tui_session *s, running_game *run, game_state *live,
                       const game_options &options, game_record *record, turn_history *turns,
                       const computer_players &players, game_timing *timing) {
    tui_view &view = s->view;
    const chess_clock *clock = timing->clocks ? &timing->clock : nullptr;
    auto job = std::make_unique<tui_computer_job>();
    for (;;) {
        turns->push_back({*live, record->moves.size()});
        show_position(&view, *live, *record);
        const coord king_pos = find_king(&live->board, live->game_status.turn);
        if (auto end = timing->fide ? check_fide_end(run, *live, king_pos, timing->positions, false)
                                    : check_move_stale(run, *live, king_pos,
                                                       &players.classic->random, false))
            return *end;
        const uint8_t mover = live->game_status.turn;
        const bool computer = mover ? live->game_status.black_ai : live->game_status.white_ai;
        if (timing->clocks) start_clock(&timing->clock, mover, steady_now_ms());
        const game_state before = *live;
        san_move played{};
        if (computer) {
            // `live` is the thinking thread's until it is done.
            const bool person_next =
                !(mover ? before.game_status.white_ai : before.game_status.black_ai);
            start_computer_move(job.get(), run, live, options, *record, *turns, players, *timing);
            const wait_end waited = wait_for_computer(s, job.get(), before, clock, person_next);
            if (waited != wait_end::done) job->stop.store(true);
            finish_computer_move(job.get());
            view.thinking[1].clear();
            if (waited == wait_end::quit) {
                *live = before; // the move found is not played: the game is kept before it
                return quit_game(*record);
            }
            if (waited == wait_end::end_of_input)
                return interrupted_game(interruption::end_of_input);
            if (job->result.ending) return *job->result.ending;
            const ai_decision &d = job->result.decision;
            played = {d.src, d.dst, d.ascend};
        } else {
            view.thinking[0].clear();
            view.thinking[1].clear();
            view.help = help_line;
            const tui_person_result r =
                person_turn(s, run, *live, options, record, turns, players, timing);
            switch (r.outcome) {
            case tui_person_outcome::quit:
                return quit_game(*record);
            case tui_person_outcome::resign:
                return resign_game(*live);
            case tui_person_outcome::draw:
                return *r.claimed_draw;
            case tui_person_outcome::hint:
                break; // answered within the turn
            case tui_person_outcome::take_back:
                // As the text game takes back: the turn starts again when nothing lies behind.
                if (!take_back(turns, live, record)) {
                    view.message = "There is no move to take back.";
                    *live = turns->back().game;
                    turns->pop_back();
                }
                if (timing->fide) timing->positions.keys.resize(1 + record->moves.size());
                continue;
            case tui_person_outcome::end_of_input:
                return interrupted_game(interruption::end_of_input);
            case tui_person_outcome::time_up:
                return flag_fall_ending(live->board, mover, timing->fide);
            case tui_person_outcome::move:
                break;
            }
            played = r.move;
            played.ascend = play_half_move(live, played.src, played.dst, played.ascend);
        }
        // A flag that fell before the move was complete loses the game: the move is not made.
        if (timing->clocks && !stop_clock(&timing->clock, steady_now_ms()))
            return flag_fall_ending(before.board, mover, timing->fide);
        record_move(record, before, played, clock_comment(*timing, mover));
        if (timing->fide) note_position(&timing->positions, live->board, live->game_status.turn);
    }
}

// The position at the start of turn `at` of a finished game, with the moves up to it.
void show_turn(tui_view *view, const turn_history &turns, size_t at, const game_record &record) {
    show_position(view, turns[at].game, record);
    const size_t played = std::min(turns[at].record_size, record.moves.size());
    view->last_from.reset();
    view->last_to.reset();
    if (played > 0) {
        view->last_from = record.moves[played - 1].move.src;
        view->last_to = record.moves[played - 1].move.dst;
    }
}

constexpr const char *ending_keys =
    "The game is over. Left, Right: its moves  v: review  n: new game  q: quit";
constexpr const char *reviewed_keys =
    "Reviewed. Left, Right: each move judged  e: evaluation  n: new game  q: quit";

void told_review_progress(void *context, size_t done, size_t total) {
    auto *s = static_cast<tui_session *>(context);
    s->view.message =
        "Reviewing " + std::to_string(done) + "/" + std::to_string(total) + " positions...";
    tui_redraw(s);
}

// The reviewed move that led to turn `at` (none at the first), and the evaluation there.
void show_reviewed_turn(tui_view *view, const played_game_review &r, const turn_history &turns,
                        size_t at) {
    const size_t played = std::min(turns[at].record_size, r.review.moves.size());
    view->thinking[0].clear();
    view->thinking[1].clear();
    if (played > 0) {
        const judged_move &m = r.review.moves[played - 1];
        view->thinking[0] = judged_move_text(m, false);
        if (m.judgement.verdict != move_class::good && !m.better.empty())
            view->thinking[1] = judged_move_text(m, true).substr(view->thinking[0].size() + 1);
    }
    if (played >= r.review.white_scores.size()) return;
    constexpr int mate_cp = 10000; // beyond any bar
    const review_score white = r.review.white_scores[played];
    view->has_evaluation = true;
    view->evaluation_cp = white.type == review_score::kind::centipawns ? white.value
                          : white.type == review_score::kind::mating   ? mate_cp
                                                                       : -mate_cp;
    view->evaluation_text = eval_text(white);
}

// The game is over: its result stays on the board until q or n (or the end of input); Left
// and Right step through its positions, and after v through its review. True on n: a new game.
bool show_ending(tui_session *s, const game_ending &ending, const game_state &live,
                 const game_record &record, const turn_history &turns) {
    show_position(&s->view, live, record);
    std::string message = ending.message;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    s->view.thinking[0].clear();
    s->view.thinking[1].clear();
    s->view.prompt.clear();
    s->view.selected.reset();
    s->view.destinations.clear();
    s->view.cursor.reset();
    s->view.choosing_ascension = false;
    s->view.message = ending_keys;
    s->view.running = -1;
    size_t at = turns.empty() ? 0 : turns.size() - 1;
    std::vector<tui_key> keys;
    std::unique_ptr<played_game_review> reviewed;
    for (;;) {
        s->view.status = message;
        tui_redraw(s);
        if (!tui_wait_keys(s, 4 * tui_tick_ms, &keys)) return false;
        for (const tui_key &key : keys) {
            if (tui_keys_box_key(s, key)) continue;
            bool quit = false;
            tui_common_key(s, key, false, &quit);
            if (quit) return false;
            if (key.kind == tui_key_kind::character && key.character == 'n') return true;
            const bool back = key.kind == tui_key_kind::left && at > 0;
            const bool on = key.kind == tui_key_kind::right && at + 1 < turns.size();
            if (back || on) {
                at = back ? at - 1 : at + 1;
                show_turn(&s->view, turns, at, record);
                if (reviewed) show_reviewed_turn(&s->view, *reviewed, turns, at);
            }
            if (key.kind == tui_key_kind::character && key.character == 'v' && !reviewed &&
                !turns.empty()) {
                const analysis_progress progress{s, told_review_progress};
                auto r = std::make_unique<played_game_review>();
                std::string error;
                if (!review_played_game(record, &progress, r.get(), &error)) {
                    s->view.message = "The review failed: " + error;
                    continue;
                }
                reviewed = std::move(r);
                s->view.message = reviewed_keys;
                s->view.show_evaluation = true;
                show_reviewed_turn(&s->view, *reviewed, turns, at);
            }
        }
    }
}

// Gives the terminal back however tui_play is left, an error's unwinding included.
struct terminal_guard {
    tui_terminal *terminal;
    ~terminal_guard() { tui_close(terminal); }
};

} // namespace

bool tui_usable(std::string *why) {
    return tui_possible(why);
}

int tui_play(running_game *run, game_state *live, const game_options &options, game_record *record,
             turn_history *turns, const computer_players &players, game_timing *timing,
             bool *again) {
    *again = false;
    auto s = std::make_unique<tui_session>();
    std::string why;
    if (!tui_open(&s->terminal, options.ascii, &why)) {
        std::fprintf(stderr, "vartok: %s\n", why.c_str());
        return 1;
    }
    const terminal_guard guard{&s->terminal};
    if (s->terminal.colour) tui_init_colours();
    s->view.unicode = s->terminal.unicode;
    s->view.colour = s->terminal.colour;
    s->view.flipped = options.flip;
    s->view.help = help_line;
    show_names(&s->view, *record);
    game_ending ending = play_turns(s.get(), run, live, options, record, turns, players, timing);
    if (timing->clocks) pause_clock(&timing->clock, steady_now_ms());
    tui_show_clocks(&s->view, timing->clocks ? &timing->clock : nullptr);
    // The record is closed before the board waits: a game over is kept at once.
    game_ending quiet = ending;
    quiet.acknowledge = false;
    const int status = close_game(run, quiet, record);
    if (ending.finished) *again = show_ending(s.get(), ending, *live, *record, *turns);
    tui_close(&s->terminal);
    if (!ending.message.empty()) {
        std::fputs(ending.message.c_str(), stdout);
        if (ending.message.back() != '\n') std::fputc('\n', stdout);
    }
    return status;
}
