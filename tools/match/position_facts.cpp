#include "position_facts.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"

namespace {

constexpr uint8_t first_row = 0, last_row = board_size - 1;
constexpr uint8_t promotion_types[] = {type_queen, type_rook, type_bishop, type_knight};

} // namespace

std::vector<uci_move> legal_moves_of(const game_state &game) {
    std::vector<uci_move> moves;
    const struct board &b = game.board;
    const uint8_t turn = game.game_status.turn;
    const coord king = find_king(&b, turn);
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = b.tiles[row][col];
            if (tile == 0 || is_black(tile) != (turn == side_black)) continue;
            destination_list list;
            legal_moves(&b, coord{row, col}, &list, &king);
            for (int k = 0; k < list.count; k++) {
                const coord dst = list.squares[k];
                if (is_pawn(tile) && (dst.row == first_row || dst.row == last_row)) {
                    for (uint8_t type : promotion_types) moves.push_back({{row, col}, dst, type});
                } else {
                    moves.push_back({{row, col}, dst, 0});
                }
            }
        }
    return moves;
}

side_status status_of(const game_state &game) {
    const struct board &b = game.board;
    const uint8_t turn = game.game_status.turn;
    side_status s;
    s.checked = square_attacked(&b, find_king(&b, turn), turn ? black_bit : 0);
    s.mobile = !legal_moves_of(game).empty();
    return s;
}
