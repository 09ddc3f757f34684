#include "game/input/move_entry.h"
#include "game/game_end.h"
#include "game/input/line_input.h"
#include "game/input/typed_move.h"
#include "game/options/game_options.h"
#include "game/running_game.h"
#include "game/view/board_printout.h"
#include "game/view/game_window.h"
#include "game/view/messages.h"
#include "game/view/view.h"
#include "rules/board_queries.h"
#include "rules/fide_draws.h"
#include "rules/move_generation.h"
#include "rules/notation/notation.h"
#include "rules/position_rules.h"
#include "rules/time/clock_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr int line_size = 80;
constexpr uint8_t column_mask = 31; // destination letters count in either case
constexpr unsigned nothing_selected = static_cast<unsigned>(-1);

const char *const promotion_question =
    "This pawn must be ascended. Select: [Q]ueen, [K]night, [B]ishop, [R]ook";

// The piece type a promotion answer stands for, or 0 when the answer is none of them. K is
// the knight here (a pawn never becomes a king); N too when `n_is_knight`, as in SAN.
uint8_t promotion_type(char answer, bool n_is_knight) {
    if (answer == 'K' || answer == 'k') return type_knight;
    const uint8_t type = ascension_of_letter(answer);
    return type == type_knight && !n_is_knight ? 0 : type;
}

// Under the standard rules a claim is granted on the third repetition or after 100
// half-moves without pawn move or capture.
std::optional<game_ending> claim_fide_draw(running_game *run, const game_state &game,
                                           const position_history &positions) {
    const fide_judgement j = judge_fide(game.board, game.game_status.turn,
                                        game.game_status.moves_pawn_capture, positions);
    if (draw_claimable(j)) return finished_game({"1/2-1/2", fide_claim_message(j)}, "Draw.", false);
    if (const interruption cut = show_dialog_nokey(run, "No draw can be claimed now.");
        cut != interruption::none)
        return interrupted_game(cut);
    return std::nullopt;
}

// A granted claim ends the game; a refused one is explained.
std::optional<game_ending> claim_draw(running_game *run, const game_status &status) {
    if (status.moves_pawn_capture > draw_claimable_after)
        return finished_game({"1/2-1/2", "Draw claimed after " +
                                             std::to_string(status.moves_pawn_capture) +
                                             " half-moves without pawn move or capture"},
                             "Draw.", false);
    char message[message_size];
    std::snprintf(message, sizeof message, "Only %u moves since pawn moved or piece captured.\n",
                  status.moves_pawn_capture);
    if (const interruption cut = show_dialog_nokey(run, message); cut != interruption::none)
        return interrupted_game(cut);
    return std::nullopt;
}

// Asks which piece the pawn becomes until the answer names one.
interruption ask_ascension(running_game *run, uint8_t *type, bool n_is_knight) {
    for (;;) {
        char answer = 0;
        if (const interruption cut = show_dialog(run, promotion_question, &answer);
            cut != interruption::none)
            return cut;
        if ((*type = promotion_type(answer, n_is_knight)) != 0) return interruption::none;
        if (const interruption cut = wait_before_next_poll(*run); cut != interruption::none)
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

// Plays the person's move; a pawn reaching the last row becomes the piece `move.ascend`
// names, or when it names none the piece the person is asked for.
person_move play_person_move(running_game *run, game_state *game, san_move move, bool n_is_knight) {
    person_move m;
    m.move = move;
    if (reaches_last_row(game->board.tiles[move.src.row][move.src.col], move.dst) &&
        move.ascend == 0)
        if (const interruption cut = ask_ascension(run, &m.move.ascend, n_is_knight);
            cut != interruption::none)
            return interrupted(cut);
    play_half_move(game, m.move.src, m.move.dst, m.move.ascend);
    return m;
}

// A message for the person; in the window the board is shown again once it is read.
interruption notice(running_game *run, const char *text, const board &brd) {
    const interruption cut = show_notice(run, text);
    if (cut == interruption::none && run->graphics)
        draw_window_board(run->view, brd, nullptr, 0, nothing_selected, nothing_selected);
    return cut;
}

// Carries out a command typed or given by a key: a result ends the person's turn, none
// asks again.
std::optional<person_move> run_command(running_game *run, command_kind kind, game_state *game,
                                       const command_context &commands) {
    switch (kind) {
    case command_kind::undo: {
        person_move undo;
        undo.take_back = true;
        return undo;
    }
    case command_kind::hint:
        if (const interruption cut = notice(
                run, hint_line(run, *game, *commands.settings, &commands).c_str(), game->board);
            cut != interruption::none)
            return interrupted(cut);
        break;
    case command_kind::moves:
        show_moves(*commands.record);
        break;
    case command_kind::resign:
        // A game is not lost to a slip of the keyboard: anything but y goes on playing.
        for (;;) {
            char answer = 0;
            if (const interruption cut = show_dialog(run, "Resign? y/n", &answer);
                cut != interruption::none)
                return interrupted(cut);
            if (answer == 'y' || answer == 'Y') return ended(resign_game(*game));
            if (answer != 0) break;
            if (const interruption cut = wait_before_next_poll(*run); cut != interruption::none)
                return interrupted(cut);
        }
        break;
    case command_kind::quit:
        return ended(quit_game(*commands.record));
    case command_kind::help:
        if (!run->graphics) {
            show_command_help(commands.options && commands.options->fide);
        } else if (const interruption cut = notice(run, window_keys_help, game->board);
                   cut != interruption::none) {
            return interrupted(cut);
        }
        break;
    case command_kind::none:
        break;
    }
    return std::nullopt;
}

// The board drawn again while the tile cursor moves: the piece's destinations stay marked.
struct cursor_redraw {
    running_game *run;
    const struct board *brd;
    const destination_list *moves;
    const chess_clock *clock; // null without clocks
    std::string shown;        // the clocks as last drawn
};

void redraw_under_cursor(void *context, unsigned row, unsigned col) {
    const auto *r = static_cast<const cursor_redraw *>(context);
    draw_board(r->run, *r->brd, r->moves->squares, r->moves->count, row, col);
}

// While the person thinks: the clocks drawn again when their reading changes, and the choice
// given up when the time is out.
int watch_clocks(void *context, unsigned row, unsigned col) {
    auto *r = static_cast<cursor_redraw *>(context);
    const int64_t left = ms_to_input_deadline(r->run->input);
    if (left == 0) return tile_give_up;
    const int64_t now = steady_now_ms();
    const std::string reading = clocks_line(*r->clock, now);
    if (reading != r->shown) {
        // Only the window shows the clocks ticking: the text board is printed once a prompt.
        r->shown = reading;
        draw_window_board(r->run->view, *r->brd, r->moves->squares, r->moves->count, row, col);
    }
    const int64_t change = ms_until_reading_changes(time_left(*r->clock, r->clock->running, now));
    const int64_t wait = left >= 0 && left < change ? left : change;
    return static_cast<int>(wait < 1 ? 1 : wait);
}

tile_redraw redraw_of(cursor_redraw *r) {
    return {r, redraw_under_cursor, r->clock ? watch_clocks : nullptr};
}

// The clocks' line before each prompt of a game on clocks.
void show_clocks(const person_turn &turn) {
    if (turn.clock) std::puts(clocks_line(*turn.clock, steady_now_ms()).c_str());
}

} // namespace

person_move get_move(running_game *run, game_state *game, tile_cursor *cursor, coord king_pos,
                     const command_context *commands, const person_turn &turn) {
    const struct board &board = game->board;
    char buff[line_size];
    uint8_t selrow = 0, selcol = 0;
    coord pc_coords{};
    destination_list move_list;
    move_list.count = 0;
    // While the piece is chosen no destination is marked.
    const destination_list no_moves{};
    cursor_redraw choosing_piece{run, &board, &no_moves, turn.clock, {}};
    cursor_redraw choosing_destination{run, &board, &move_list, turn.clock, {}};

    // The window's additions, with the words that ask for them: a click takes a square,
    // Escape drops the chosen piece, and with COMMANDS keys give commands.
    const bool window_extras = commands != nullptr || run->view.panel;
    tile_extras piece_extras;
    piece_extras.clicks = window_extras;
    if (commands) {
        piece_extras.keys = window_command_keys;
        piece_extras.key_count = static_cast<int>(std::size(window_command_keys));
    }
    tile_extras destination_extras;
    destination_extras.clicks = destination_extras.escape = window_extras;

    for (;;) {
        // The piece.
        show_clocks(turn);
        std::puts("Select piece.");
        if (run->graphics) {
            SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
            switch (choose_tile(game_screen(), cursor, redraw_of(&choosing_piece), piece_extras,
                                &selrow, &selcol, &key)) {
            case tile_choice::closed:
                return interrupted(interruption::window_closed);
            case tile_choice::timed_out:
                return interrupted(interruption::time_up);
            case tile_choice::key:
                if (auto done = run_command(run, command_of_key(key), game, *commands))
                    return *done;
                continue;
            case tile_choice::chosen:
            case tile_choice::given_up:
                break;
            }
        } else {
            if (const interruption cut = read_line(&run->input, buff, sizeof buff);
                cut != interruption::none)
                return interrupted(cut);
            if (buff[0] == '\n') continue;
            if (std::strncmp(buff, "draw", 4) == 0) {
                if (auto end = turn.fide ? claim_fide_draw(run, *game, *turn.fide)
                                         : claim_draw(run, game->game_status))
                    return ended(*end);
                continue;
            }
            if (commands) {
                if (const command_kind kind = command_of(buff); kind != command_kind::none) {
                    if (auto done = run_command(run, kind, game, *commands)) return *done;
                    continue;
                }
                const typed_move typed = read_typed_move(*game, buff);
                if (typed.kind == typed_kind::refused) {
                    std::puts(typed.refusal.c_str());
                    continue;
                }
                if (typed.kind == typed_kind::move) {
                    san_move move = typed.move;
                    if (!typed.ascension_named) move.ascend = 0; // asked for, as at a square
                    return play_person_move(run, game, move, true);
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
                if (const interruption cut = show_dialog_nokey(run, refusal);
                    cut != interruption::none)
                    return interrupted(cut);
        }

        // The destination, asked again while the person picks the piece's own square.
        for (;;) {
            draw_board(run, board, move_list.squares, move_list.count, selrow, selcol);
            if (move_list.count == 0) break;

            show_clocks(turn);
            std::puts("Select where to move.");
            coord new_coords;
            if (run->graphics) {
                SDL_Scancode key;
                const tile_choice choice =
                    choose_tile(game_screen(), cursor, redraw_of(&choosing_destination),
                                destination_extras, &new_coords.row, &new_coords.col, &key);
                if (choice == tile_choice::closed) return interrupted(interruption::window_closed);
                if (choice == tile_choice::timed_out) return interrupted(interruption::time_up);
                if (choice == tile_choice::given_up) { // Escape: the piece is dropped
                    move_list.count = 0;
                    draw_board(run, board, no_moves.squares, 0, selrow, selcol);
                    break;
                }
            } else {
                if (const interruption cut = read_line(&run->input, buff, sizeof buff);
                    cut != interruption::none)
                    return interrupted(cut);
                if (buff[0] == '\n') { // abandons the selection
                    move_list.count = 0;
                    break;
                }
                new_coords.col = static_cast<uint8_t>(buff[0] - 'a') & column_mask;
                new_coords.row = static_cast<uint8_t>('8' - buff[1]);
            }

            if (new_coords.row == selrow && new_coords.col == selcol) continue;
            const bool destination =
                move_in_list(move_list.squares, move_list.count, new_coords.row, new_coords.col);
            // In the window with COMMANDS or PANEL, a square that is no destination and holds
            // none of the mover's pieces drops the choice at once, as Escape does: no box
            // while the clock runs.
            if (!destination && run->graphics && (commands || run->view.panel) &&
                !holds_piece_of(board, new_coords, game->game_status.turn)) {
                move_list.count = 0;
                draw_board(run, board, no_moves.squares, 0, selrow, selcol);
                break;
            }
            if (!destination) {
                if (const interruption cut = show_dialog_nokey(run, "That move is not legal.");
                    cut != interruption::none)
                    return interrupted(cut);
                move_list.count = 0;
                continue; // the board is shown once more, then the piece is asked for
            }

            return play_person_move(run, game, {pc_coords, new_coords, 0}, commands != nullptr);
        }
    }
}
