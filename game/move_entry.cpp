#include "game/move_entry.h"
#include "display/board_view.h"
#include "game/board_printout.h"
#include "game/line_input.h"
#include "game/messages.h"
#include "game/settings.h"
#include "rules/live_game.h"
#include "rules/pieces.h"
#include "rules/position_rules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int line_size = 80;
constexpr uint8_t column_mask = 31; // destination letters count in either case

const char *const promotion_question =
    "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook";

// The piece type a promotion answer stands for, or 0 when the answer is none of them.
uint8_t promotion_type(char answer) {
    switch (answer) {
    case 'Q':
    case 'q':
        return type_queen;
    case 'K':
    case 'k':
        return type_knight; // K is the knight here: a pawn never becomes a king
    case 'B':
    case 'b':
        return type_bishop;
    case 'R':
    case 'r':
        return type_rook;
    default:
        return 0;
    }
}

void claim_draw() {
    if (game_status.moves_pawn_capture > draw_claimable_after) {
        std::puts("Draw.");
        std::exit(0);
    }
    char message[message_size];
    std::snprintf(message, sizeof message, "Only %u moves since pawn moved or piece captured.\n",
                  game_status.moves_pawn_capture);
    show_dialog_nokey(message);
}

void ascend(coord square) {
    uint8_t type;
    while ((type = promotion_type(show_dialog(promotion_question))) == 0) wait_before_next_poll();
    ascend_piece(&board, square, type);
}

} // namespace

void get_move(coord king_pos) {
    char buff[line_size];
    uint8_t selrow = 0, selcol = 0;
    coord pc_coords{};
    destination_list move_list;
    move_list.count = 0;

    for (;;) {
        // The piece.
        std::puts("Select piece.");
        if (graphics) {
            select_tile(move_list.squares, 0, &selrow, &selcol);
        } else {
            read_line(buff, sizeof buff);
            if (buff[0] == '\n') continue;
            if (std::strncmp(buff, "draw", 4) == 0) {
                claim_draw();
                continue;
            }
            selcol = static_cast<uint8_t>(buff[0] - 'a');
            selrow = static_cast<uint8_t>('8' - buff[1]);
        }

        if (selcol >= board_size || selrow >= board_size) {
            std::puts("That tile does not exist.");
        } else {
            pc_coords = {selrow, selcol};
            const uint8_t tile = board.tiles[selrow][selcol];
            if (tile == 0) {
                show_dialog_nokey("There is no piece in that tile.");
            } else if (((tile & black_bit) != 0) != (game_status.turn != 0)) {
                show_dialog_nokey("You cannot move your opponent's piece.");
            } else if (legal_moves(&board, pc_coords, &move_list, &king_pos) == 0) {
                show_dialog_nokey("There are no legal moves for this piece.");
            }
        }

        // The destination, asked again while the person picks the piece's own square.
        for (;;) {
            draw_board(move_list.squares, move_list.count, selrow, selcol);
            if (move_list.count == 0) break;

            std::puts("Select where to move.");
            coord new_coords;
            if (graphics) {
                select_tile(move_list.squares, move_list.count, &new_coords.row, &new_coords.col);
            } else {
                read_line(buff, sizeof buff);
                if (buff[0] == '\n') { // abandons the selection
                    move_list.count = 0;
                    break;
                }
                new_coords.col = static_cast<uint8_t>(buff[0] - 'a') & column_mask;
                new_coords.row = static_cast<uint8_t>('8' - buff[1]);
            }

            if (new_coords.row == selrow && new_coords.col == selcol) continue;
            if (!move_in_list(move_list.squares, move_list.count, new_coords.row, new_coords.col)) {
                show_dialog_nokey("That move is not legal.");
                move_list.count = 0;
                continue; // the board is shown once more, then the piece is asked for
            }

            if (move_piece(&board, pc_coords, new_coords)) ascend(new_coords);
            log_move();
            return;
        }
    }
}
