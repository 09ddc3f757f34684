#include "match_game.h"
#include "adjudication.h"
#include "engine/position_replay.h"
#include "position_facts.h"
#include "rules/san.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int handshake_timeout_ms = 10000;

bool wait_for(match_player *p, const std::string &wanted, int timeout_ms) {
    std::string line;
    while (read_child_line(&p->process, &line, timeout_ms))
        if (line == wanted) return true;
    std::fprintf(stderr, "vartok-match: %s did not answer %s\n", p->name.c_str(), wanted.c_str());
    return false;
}

// The move the player answers with, or "" when it gives none in time.
std::string ask_move(match_player *p, const std::string &position, int ply) {
    if (p->seed_every_move)
        send_to_child(&p->process, "setoption name Seed value " +
                                       std::to_string(p->seed_base + static_cast<unsigned>(ply)));
    const auto start = std::chrono::steady_clock::now();
    send_to_child(&p->process, position);
    send_to_child(&p->process, p->go);
    std::string line;
    while (read_child_line(&p->process, &line, p->reply_timeout_ms)) {
        if (line.rfind("bestmove ", 0) != 0) continue;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        p->move_ms.push_back(static_cast<long>(ms.count()));
        std::string move = line.substr(9);
        return move.substr(0, move.find(' '));
    }
    return "";
}

bool is_legal(const game_state &game, const std::string &text, uci_move *out) {
    uci_move m;
    if (!parse_move_text(text, &m)) return false;
    const std::vector<uci_move> moves = legal_moves_of(game);
    const auto same = [&](const uci_move &l) {
        return l.src == m.src && l.dst == m.dst && l.ascend == m.ascend;
    };
    if (std::find_if(moves.begin(), moves.end(), same) == moves.end()) return false;
    *out = m;
    return true;
}

// Plays the legal move `text` in the game, its record and the engines' position.
void record_move(game_history *h, game_result *r, std::string *position, const uci_move &m,
                 const std::string &text) {
    r->san.push_back(format_san(h->game.board, h->game.game_status.turn, m.src, m.dst, m.ascend));
    std::string problem;
    play_move_text(&h->game, text, &problem);
    h->positions.push_back(position_key(h->game));
    h->plies++;
    *position += " " + text;
}

} // namespace

bool start_player(match_player *p, const std::string &path,
                  const std::vector<std::string> &options) {
    if (!start_child(&p->process, {path})) {
        std::fprintf(stderr, "vartok-match: cannot start %s\n", path.c_str());
        return false;
    }
    send_to_child(&p->process, "uci");
    if (!wait_for(p, "uciok", handshake_timeout_ms)) return false;
    for (const std::string &option : options) send_to_child(&p->process, option);
    send_to_child(&p->process, "isready");
    return wait_for(p, "readyok", handshake_timeout_ms);
}

game_result play_game(match_player *white, match_player *black, const opening_line &opening,
                      int max_plies) {
    game_result r;
    for (match_player *p : {white, black}) {
        send_to_child(&p->process, "ucinewgame");
        send_to_child(&p->process, "isready");
        wait_for(p, "readyok", handshake_timeout_ms);
    }
    game_history h = new_history();
    std::string position = "position startpos moves";
    for (const std::string &text : opening) {
        uci_move m;
        if (!is_legal(h.game, text, &m)) break; // load_openings checked every move
        record_move(&h, &r, &position, m, text);
    }
    for (;;) {
        const game_end end = judge(h, max_plies);
        const bool white_to_move = h.game.game_status.turn == side_white;
        if (end != game_end::none) {
            r.termination = game_end_name(end);
            r.result = end == game_end::checkmate ? (white_to_move ? "0-1" : "1-0") : "1/2-1/2";
            return r;
        }
        match_player *mover = white_to_move ? white : black;
        const std::string text = ask_move(mover, position, h.plies);
        uci_move m;
        if (!is_legal(h.game, text, &m)) {
            r.termination =
                mover->name + (text.empty() ? " gave no move" : " played the illegal move " + text);
            r.result = white_to_move ? "0-1" : "1-0";
            return r;
        }
        record_move(&h, &r, &position, m, text);
    }
}
