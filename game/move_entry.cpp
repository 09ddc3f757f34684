#include "game/move_entry.h"
#include "game/board_printout.h"
#include "game/line_input.h"
#include "game/messages.h"
#include "game/settings.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
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
    // K is the knight here: a pawn never becomes a king.
    if (answer == 'K' || answer == 'k') return type_knight;
    const uint8_t type = ascension_of_letter(answer);
    return type == type_knight ? 0 : type;
}

// A granted claim ends the game; a refused one is explained.
std::optional<game_ending> claim_draw(const game_status &status) {
    if (status.moves_pawn_capture > draw_claimable_after)
        return finished_game({"1/2-1/2", "Draw claimed after " +
                                              std::to_string(status.moves_pawn_capture) +
                                              " half-moves without pawn move or capture"},
                             "Draw.", false);
    char message[message_size];
    std::snprintf(message, sizeof message, "Only %u moves since pawn moved or piece captured.\n",
                  status.moves_pawn_capture);
    if (const interruption cut = show_dialog_nokey(message); cut != interruption::none)
        return interrupted_game(cut);
    return std::nullopt;
}

// Asks which piece the pawn becomes until the answer names one.
interruption ask_ascension(uint8_t *type) {
    for (;;) {
        char answer = 0;
        if (const interruption cut = show_dialog(promotion_question, &answer);
            cut != interruption::none)
            return cut;
        if ((*type = promotion_type(answer)) != 0) return interruption::none;
        if (const interruption cut = wait_before_next_poll(); cut != interruption::none)
            return cut;
    }
}

person_move ended(const game_ending &ending) {
    person_move m;
    m.ending = ending;
    return m;
}

person_move interrupted(interruption cut) {
    return ended(interrupted_game(cut));
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

person_move get_move(game_state *game, tile_cursor *cursor, coord king_pos,
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
            if (!select_tile(cursor, {&choosing_piece, redraw_under_cursor}, &selrow, &selcol))
                return interrupted(interruption::window_closed);
        } else {
            if (const interruption cut = read_line(buff, sizeof buff); cut != interruption::none)
                return interrupted(cut);
            if (buff[0] == '\n') continue;
            if (std::strncmp(buff, "draw", 4) == 0) {
                if (auto end = claim_draw(game->game_status)) return ended(*end);
                continue;
            }
            if (commands) {
                switch (command_of(buff)) {
                case command_kind::undo: {
                    person_move undo;
                    undo.take_back = true;
                    return undo;
                }
                case command_kind::hint:
                    show_hint(*game, *commands->settings);
                    continue;
                case command_kind::moves:
                    show_moves(*commands->record);
                    continue;
                case command_kind::resign:
                    return ended(resign_game(*game));
                case command_kind::quit:
                    return ended(quit_game(*commands->record));
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
            const char *refusal = nullptr;
            if (tile == 0)
                refusal = "There is no piece in that tile.";
            else if (((tile & black_bit) != 0) != (game->game_status.turn != 0))
                refusal = "You cannot move your opponent's piece.";
            else if (legal_moves(&board, pc_coords, &move_list, &king_pos) == 0)
                refusal = "There are no legal moves for this piece.";
            if (refusal)
                if (const interruption cut = show_dialog_nokey(refusal); cut != interruption::none)
                    return interrupted(cut);
        }

        // The destination, asked again while the person picks the piece's own square.
        for (;;) {
            draw_board(board, move_list.squares, move_list.count, selrow, selcol);
            if (move_list.count == 0) break;

            std::puts("Select where to move.");
            coord new_coords;
            if (graphics) {
                if (!select_tile(cursor, {&choosing_destination, redraw_under_cursor},
                                 &new_coords.row, &new_coords.col))
                    return interrupted(interruption::window_closed);
            } else {
                if (const interruption cut = read_line(buff, sizeof buff); cut != interruption::none)
                    return interrupted(cut);
                if (buff[0] == '\n') { // abandons the selection
                    move_list.count = 0;
                    break;
                }
                new_coords.col = static_cast<uint8_t>(buff[0] - 'a') & column_mask;
                new_coords.row = static_cast<uint8_t>('8' - buff[1]);
            }

            if (new_coords.row == selrow && new_coords.col == selcol) continue;
            if (!move_in_list(move_list.squares, move_list.count, new_coords.row, new_coords.col)) {
                if (const interruption cut = show_dialog_nokey("That move is not legal.");
                    cut != interruption::none)
                    return interrupted(cut);
                move_list.count = 0;
                continue; // the board is shown once more, then the piece is asked for
            }

            person_move m;
            m.move = {pc_coords, new_coords, 0};
            const bool last_row = new_coords.row == 0 || new_coords.row == board_size - 1;
            if (is_pawn(board.tiles[pc_coords.row][pc_coords.col]) && last_row)
                if (const interruption cut = ask_ascension(&m.move.ascend);
                    cut != interruption::none)
                    return interrupted(cut);
            play_half_move(game, pc_coords, new_coords, m.move.ascend);
            return m;
        }
    }
}
