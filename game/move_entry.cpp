#include "game/move_entry.h"
#include "game/board_printout.h"
#include "game/line_input.h"
#include "game/messages.h"
#include "game/settings.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
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

void claim_draw(const game_status &status, game_record *record) {
    if (status.moves_pawn_capture > draw_claimable_after) {
        if (record)
            record_end(record, {"1/2-1/2", "Draw claimed after " +
                                               std::to_string(status.moves_pawn_capture) +
                                               " half-moves without pawn move or capture"});
        std::puts("Draw.");
        std::exit(0);
    }
    char message[message_size];
    std::snprintf(message, sizeof message, "Only %u moves since pawn moved or piece captured.\n",
                  status.moves_pawn_capture);
    show_dialog_nokey(message);
}

uint8_t ascend(struct board *brd, coord square) {
    uint8_t type;
    while ((type = promotion_type(show_dialog(promotion_question))) == 0) wait_before_next_poll();
    ascend_piece(brd, square, type);
    return type;
}

// The board drawn again while the tile cursor moves: the piece's destinations stay marked.
struct cursor_redraw {
    const struct board *brd;
    const destination_list *moves;
};

void redraw_under_cursor(void *context, unsigned row, unsigned col) {
    const auto *r = static_cast<const cursor_redraw *>(context);
    draw_board(*r->brd, r->moves->squares, r->moves->count, row, col);
}

} // namespace

person_move get_move(game_state *game, tile_cursor *cursor, coord king_pos, game_record *record,
                     const command_context *commands) {
    const struct board &board = game->board;
    char buff[line_size];
    uint8_t selrow = 0, selcol = 0;
    coord pc_coords{};
    destination_list move_list;
    move_list.count = 0;
    // While the piece is chosen no destination is marked.
    const destination_list no_moves{};
    cursor_redraw choosing_piece{&board, &no_moves};
    cursor_redraw choosing_destination{&board, &move_list};

    for (;;) {
        // The piece.
        std::puts("Select piece.");
        if (graphics) {
            select_tile(cursor, {&choosing_piece, redraw_under_cursor}, &selrow, &selcol);
        } else {
            read_line(buff, sizeof buff);
            if (buff[0] == '\n') continue;
            if (std::strncmp(buff, "draw", 4) == 0) {
                claim_draw(game->game_status, record);
                continue;
            }
            if (commands) {
                switch (command_of(buff)) {
                case command_kind::undo:
                    return {{}, true};
                case command_kind::hint:
                    show_hint(*game, *commands->settings);
                    continue;
                case command_kind::moves:
                    show_moves(*commands->record);
                    continue;
                case command_kind::resign:
                    resign_game(*game, commands->record);
                case command_kind::quit:
                    quit_game(*commands->record);
                case command_kind::help:
                    show_command_help();
                    continue;
                case command_kind::none:
                    break;
                }
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
            } else if (((tile & black_bit) != 0) != (game->game_status.turn != 0)) {
                show_dialog_nokey("You cannot move your opponent's piece.");
            } else if (legal_moves(&board, pc_coords, &move_list, &king_pos) == 0) {
                show_dialog_nokey("There are no legal moves for this piece.");
            }
        }

        // The destination, asked again while the person picks the piece's own square.
        for (;;) {
            draw_board(board, move_list.squares, move_list.count, selrow, selcol);
            if (move_list.count == 0) break;

            std::puts("Select where to move.");
            coord new_coords;
            if (graphics) {
                select_tile(cursor, {&choosing_destination, redraw_under_cursor}, &new_coords.row,
                            &new_coords.col);
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

            san_move played{pc_coords, new_coords, 0};
            if (play_move(game, pc_coords, new_coords))
                played.ascend = ascend(&game->board, new_coords);
            log_move(game);
            return {played, false};
        }
    }
}
