#include "adjudication.h"
#include "engine/position_replay.h"
#include "position_facts.h"

#include <algorithm>

namespace {

constexpr uint32_t fifty_moves = 100; // half-moves without a pawn move or capture
constexpr int repetitions = 3;

bool too_little_material(const struct board &b) {
    int minors = 0;
    int bishop_square_colours[2] = {0, 0}; // light, dark
    for (int row = 0; row < board_size; row++)
        for (int col = 0; col < board_size; col++) {
            const uint8_t type = piece_type(b.tiles[row][col]);
            if (type == 0 || type == type_king) continue;
            if (type != type_knight && type != type_bishop) return false;
            minors++;
            if (type == type_bishop) bishop_square_colours[(row + col) % 2]++;
        }
    // A lone minor piece cannot mate, nor can bishops that all run on one colour.
    if (minors <= 1) return true;
    const int bishops = bishop_square_colours[0] + bishop_square_colours[1];
    return bishops == minors && (bishop_square_colours[0] == 0 || bishop_square_colours[1] == 0);
}

} // namespace

game_history new_history() {
    game_history h;
    h.game = start_position();
    h.positions.push_back(position_key(h.game));
    return h;
}

std::string position_key(const game_state &game) {
    std::string fen = format_fen(position_of(game, 1));
    // Without the two move counters.
    for (int fields = 0; fields < 2; fields++) fen.erase(fen.find_last_of(' '));
    return fen;
}

game_end judge(const game_history &h, int max_plies) {
    const side_status status = status_of(h.game);
    if (!status.mobile) return status.checked ? game_end::checkmate : game_end::stalemate;
    if (std::count(h.positions.begin(), h.positions.end(), h.positions.back()) >= repetitions)
        return game_end::repetition;
    if (h.game.game_status.moves_pawn_capture >= fifty_moves) return game_end::fifty_moves;
    if (too_little_material(h.game.board)) return game_end::insufficient_material;
    if (h.plies >= max_plies) return game_end::move_cap;
    return game_end::none;
}

const char *game_end_name(game_end end) {
    switch (end) {
    case game_end::checkmate:
        return "checkmate";
    case game_end::stalemate:
        return "stalemate";
    case game_end::repetition:
        return "threefold repetition";
    case game_end::fifty_moves:
        return "fifty-move rule";
    case game_end::insufficient_material:
        return "insufficient material";
    case game_end::move_cap:
        return "move cap";
    default:
        return "";
    }
}
