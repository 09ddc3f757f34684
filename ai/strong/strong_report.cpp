#include "ai/strong/strong_player.h"
#include "rules/move_piece.h"
#include "rules/notation/san.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

std::string score_text(const strong_score &s) {
    char text[32];
    if (s.mate_in > 0)
        std::snprintf(text, sizeof text, "mate in %d", s.mate_in);
    else if (s.mate_in < 0)
        std::snprintf(text, sizeof text, "mated in %d", -s.mate_in);
    else
        std::snprintf(text, sizeof text, "score %c%d.%02d", s.cp < 0 ? '-' : '+',
                      std::abs(s.cp) / 100, std::abs(s.cp) % 100);
    return text;
}

// The line in SAN, played out on a copy of the board; it ends early at a move that is not
// legal there (which a line from the search never holds).
std::string line_text(const game_state &game, const strong_line &line) {
    struct board brd = game.board;
    uint8_t turn = game.game_status.turn;
    std::string out;
    for (int i = 0; i < line.length; i++) {
        const strong_move &m = line.moves[i];
        const std::string san = format_san(brd, turn, m.src, m.dst, m.ascend);
        if (san.empty()) break;
        if (!out.empty()) out += ' ';
        out += san;
        if (move_piece(&brd, m.src, m.dst))
            ascend_piece(&brd, m.dst, m.ascend ? m.ascend : type_queen);
        turn ^= 1;
    }
    return out;
}

} // namespace

std::string strong_report(const game_state &game, const strong_iteration &it) {
    char head[160];
    std::snprintf(head, sizeof head,
                  "depth %d, %s, %" PRIu64 " positions, %" PRId64 ".%02" PRId64 " s", it.depth,
                  score_text(it.score).c_str(), it.nodes, it.time_ms / 1000,
                  (it.time_ms % 1000) / 10);
    return std::string(head) + ", line: " + line_text(game, it.pv);
}
