#include "match_game.h"
#include "adjudication.h"
#include "rules/notation/position_replay.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"

namespace {

// Past its clock by this much, a player's move is no longer awaited.
constexpr long clock_grace_ms = 1000;

// The limits of the player to move: its own, or the match's clocks (the game's clock code,
// its time the sum of the moves' times as the client measured them).
engine_limits limits_for(const match_player &p, const match_clock &clock, const chess_clock &c,
                         uint8_t side) {
    if (clock.base_ms == 0) return p.limits;
    engine_limits l;
    l.clocks = true;
    l.wtime_ms = static_cast<long>(c.remaining_ms[side_white]);
    l.btime_ms = static_cast<long>(c.remaining_ms[side_black]);
    l.winc_ms = static_cast<long>(c.control[side_white].increment_ms);
    l.binc_ms = static_cast<long>(c.control[side_black].increment_ms);
    l.depth = p.limits.depth;
    l.deadline_ms = static_cast<long>(c.remaining_ms[side]) + clock_grace_ms;
    return l;
}

// Plays the legal move `text` in the game, its record and the engines' position.
void record_move(game_history *h, game_result *r, engine_position *position,
                 const std::string &text) {
    san_move m;
    read_coordinates(text, promotion_case::small_only, &m);
    r->san.push_back(format_san(h->game.board, h->game.game_status.turn, m.src, m.dst, m.ascend));
    std::string problem;
    play_in_history(h, text, &problem);
    position->moves.push_back(text);
}

} // namespace

bool start_player(match_player *p, std::string *error) {
    if (!start_engine(&p->client, p->command, p->protocol, p->options, error)) return false;
    for (const std::string &warning : p->client.warnings) {
        *error = warning;
        return false;
    }
    if (p->name.empty()) p->name = p->client.name;
    return true;
}

game_result play_game(match_player *white, match_player *black, const opening_line &opening,
                      int max_plies, const match_clock &clock) {
    game_result r;
    for (match_player *p : {white, black}) {
        std::string error;
        if (!p->client.failure.empty() && !start_player(p, &error)) {
            r.termination = p->name + " could not be started again: " + error;
            r.result = p == white ? "0-1" : "1-0";
            return r;
        }
        new_engine_game(&p->client);
    }
    game_history h = new_history();
    engine_position position;
    for (const std::string &text : opening) {
        san_move m;
        std::string problem;
        // load_openings checked every move
        if (!read_coordinates(text, promotion_case::small_only, &m) ||
            !legal_in(h.game, m, &problem))
            break;
        record_move(&h, &r, &position, text);
    }
    const time_control control{clock.base_ms, clock.increment_ms};
    chess_clock c = new_clock(control, control);
    int64_t now = 0; // the time of the moves played so far
    for (;;) {
        const game_end end = judge(h, max_plies);
        const uint8_t mover_side = h.game.game_status.turn;
        const bool white_to_move = mover_side == side_white;
        const char *loss = white_to_move ? "0-1" : "1-0";
        if (end != game_end::none) {
            r.termination = game_end_name(end);
            r.result = end == game_end::checkmate ? loss : "1/2-1/2";
            return r;
        }
        match_player *mover = white_to_move ? white : black;
        if (mover->seed_every_move) {
            std::string warning;
            set_engine_option(
                &mover->client,
                {"Seed", std::to_string(mover->seed_base + static_cast<unsigned>(h.plies))},
                &warning);
        }
        const engine_answer a =
            engine_think(&mover->client, position, limits_for(*mover, clock, c, mover_side));
        mover->move_ms.push_back(a.elapsed_ms);
        r.result = loss;
        if (a.resigned) {
            r.termination = mover->name + " resigns";
            return r;
        }
        if (a.fault != engine_fault::none) {
            r.termination = a.message;
            return r;
        }
        if (clock.base_ms > 0) {
            start_clock(&c, mover_side, now);
            now += a.elapsed_ms;
            if (!stop_clock(&c, now)) {
                r.termination = mover->name + " lost on time";
                return r;
            }
        }
        record_move(&h, &r, &position, coordinate_text(a.move));
    }
}
