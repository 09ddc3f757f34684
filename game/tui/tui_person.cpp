#include "game/tui/tui_person.h"
#include "game/input/typed_move.h"

#include <algorithm>
#include <memory>

namespace {

constexpr size_t longest_prompt = 16;

struct person_state {
    const game_state *game = nullptr;
    std::unique_ptr<side_move_list> legal = std::make_unique<side_move_list>();
    std::optional<san_move> chosen;
};

uint8_t mover(const person_state &p) {
    return p.game->game_status.turn;
}

bool own_piece(const person_state &p, coord c) {
    const uint8_t tile = p.game->board.tiles[c.row][c.col];
    return tile != 0 && is_black(tile) == (mover(p) != 0);
}

void drop_choice(tui_view *view) {
    view->selected.reset();
    view->destinations.clear();
    view->choosing_ascension = false;
}

void select_piece(tui_view *view, const person_state &p, coord c) {
    drop_choice(view);
    view->selected = c;
    for (int i = 0; i < p.legal->count; i++)
        if (p.legal->moves[i].src == c) {
            const coord dst = p.legal->moves[i].dst;
            if (std::find(view->destinations.begin(), view->destinations.end(), dst) ==
                view->destinations.end())
                view->destinations.push_back(dst);
        }
    if (view->destinations.empty()) view->message = "That piece has no legal move.";
}

void choose(person_state *p, san_move move) {
    p->chosen = move;
}

// src -> dst is legal: played, or the piece a pawn becomes is asked first.
void move_or_ask(tui_view *view, person_state *p, coord src, coord dst) {
    if (reaches_last_row(p->game->board.tiles[src.row][src.col], dst)) {
        view->ascension_from = src;
        view->ascension_to = dst;
        view->choosing_ascension = true;
        return;
    }
    choose(p, {src, dst, 0});
}

// A click on `c`, or Enter on the cursor there.
void act_on_square(tui_view *view, person_state *p, coord c) {
    view->message.clear();
    if (view->selected && std::find(view->destinations.begin(), view->destinations.end(), c) !=
                              view->destinations.end()) {
        const coord src = *view->selected;
        move_or_ask(view, p, src, c);
        if (!view->choosing_ascension) drop_choice(view);
        return;
    }
    if (own_piece(*p, c)) {
        select_piece(view, *p, c);
        return;
    }
    if (view->selected) view->message = "That piece cannot go there.";
    drop_choice(view);
}

void submit_typed(tui_session *s, person_state *p) {
    tui_view *view = &s->view;
    const std::string text = view->prompt;
    view->prompt.clear();
    view->message.clear();
    if (text == "f") {
        view->flipped = !view->flipped;
        return;
    }
    if (text == "e") {
        view->show_evaluation = !view->show_evaluation;
        return;
    }
    const typed_move typed = read_typed_move(*p->game, text.c_str());
    switch (typed.kind) {
    case typed_kind::move:
        drop_choice(view);
        if (!typed.ascension_named && typed.move.ascend)
            move_or_ask(view, p, typed.move.src, typed.move.dst);
        else
            choose(p, typed.move);
        return;
    case typed_kind::refused:
        view->message = text + ": " + typed.refusal;
        return;
    case typed_kind::not_a_move:
        view->message = text + ": not a move (type e4, Nf3, exd5, O-O, e7e8q)";
        return;
    }
}

void ascension_key(tui_view *view, person_state *p, char c) {
    constexpr char letters[] = "rnbq"; // type_rook .. type_queen
    const char *at = std::find(letters, letters + 4, c | 0x20);
    if (at == letters + 4) return;
    const uint8_t ascend = static_cast<uint8_t>(type_rook + (at - letters));
    choose(p, {view->ascension_from, view->ascension_to, ascend});
    drop_choice(view);
}

void move_cursor(tui_view *view, const tui_key &key, uint8_t side) {
    if (!view->cursor) {
        view->cursor = view->selected ? *view->selected : coord{uint8_t(side ? 1 : 6), 4};
        return;
    }
    int row = view->cursor->row, col = view->cursor->col;
    const int sign = view->flipped ? -1 : 1; // up the screen
    if (key.kind == tui_key_kind::up) row -= sign;
    if (key.kind == tui_key_kind::down) row += sign;
    if (key.kind == tui_key_kind::left) col -= sign;
    if (key.kind == tui_key_kind::right) col += sign;
    if (on_board(row, col)) view->cursor = coord{uint8_t(row), uint8_t(col)};
}

void person_key(tui_session *s, person_state *p, const tui_key &key) {
    tui_view *view = &s->view;
    if (view->choosing_ascension) {
        if (key.kind == tui_key_kind::character) ascension_key(view, p, key.character);
        if (key.kind == tui_key_kind::escape) drop_choice(view);
        return;
    }
    switch (key.kind) {
    case tui_key_kind::character:
        if (key.character == ' ' && view->prompt.empty()) {
            if (view->cursor) act_on_square(view, p, *view->cursor);
        } else if (view->prompt.size() < longest_prompt && key.character != ' ') {
            view->prompt += key.character;
        }
        return;
    case tui_key_kind::backspace:
        if (!view->prompt.empty()) view->prompt.pop_back();
        return;
    case tui_key_kind::enter:
        if (!view->prompt.empty())
            submit_typed(s, p);
        else if (view->cursor)
            act_on_square(view, p, *view->cursor);
        return;
    case tui_key_kind::escape:
        view->prompt.clear();
        view->message.clear();
        drop_choice(view);
        return;
    case tui_key_kind::click:
        if (const auto square = square_at(s->layout, view->flipped, key.column, key.row))
            act_on_square(view, p, *square);
        else
            drop_choice(view);
        return;
    default:
        move_cursor(view, key, mover(*p));
        return;
    }
}

// Whether `move` is one of the side to move's legal moves (a pawn's piece as chosen).
bool is_legal(const game_state &game, san_move move) {
    const auto legal = std::make_unique<side_move_list>();
    side_legal_moves(game.board, game.game_status.turn, legal.get());
    if (move.ascend == 0 &&
        reaches_last_row(game.board.tiles[move.src.row][move.src.col], move.dst))
        move.ascend = type_queen;
    for (int i = 0; i < legal->count; i++)
        if (legal->moves[i] == move) return true;
    return false;
}

bool is_word(const tui_view &view, const tui_key &key, const char *word) {
    return key.kind == tui_key_kind::enter && view.prompt == word;
}

struct command {
    bool taken = false;                        // the key was a command's: it goes no further
    std::optional<tui_person_outcome> outcome; // the command ends the turn so
};

// The person's commands: u (or the line "undo") takes back, the line "resign" asks to be
// confirmed with y, ? shows the keys.
command command_key(tui_view *view, const tui_key &key) {
    const bool bare = key.kind == tui_key_kind::character && view->prompt.empty();
    if (view->confirming_resignation) {
        view->confirming_resignation = false;
        view->message.clear();
        if (key.kind == tui_key_kind::character && (key.character == 'y' || key.character == 'Y'))
            return {true, tui_person_outcome::resign};
        return {true, std::nullopt};
    }
    if ((bare && key.character == 'u') || is_word(*view, key, "undo")) {
        view->prompt.clear();
        return {true, tui_person_outcome::take_back};
    }
    if (is_word(*view, key, "quit")) return {true, tui_person_outcome::quit};
    for (const auto &[word, outcome] :
         {std::pair{"hint", tui_person_outcome::hint}, std::pair{"draw", tui_person_outcome::draw}})
        if (is_word(*view, key, word)) {
            view->prompt.clear();
            return {true, outcome};
        }
    if (is_word(*view, key, "resign")) {
        view->prompt.clear();
        view->confirming_resignation = true;
        view->message = "Resign this game? y: yes; any other key: no";
        return {true, std::nullopt};
    }
    return {};
}

} // namespace

bool tui_keys_box_key(tui_session *session, const tui_key &key) {
    tui_view &view = session->view;
    if (view.showing_keys) {
        view.showing_keys = false;
        return true;
    }
    if (key.kind != tui_key_kind::character || key.character != '?' || !view.prompt.empty())
        return false;
    view.showing_keys = true;
    return true;
}

bool tui_common_key(tui_session *session, const tui_key &key, bool typing, bool *quit) {
    if (key.kind != tui_key_kind::character || !session->view.prompt.empty()) return false;
    if (key.character == 'q') {
        *quit = true;
        return true;
    }
    if (key.character == 'f' && !typing) {
        session->view.flipped = !session->view.flipped;
        return true;
    }
    if (key.character == 'e' && !typing) {
        session->view.show_evaluation = !session->view.show_evaluation;
        return true;
    }
    return false;
}

std::optional<san_move> tui_move_key(tui_session *session, const game_state &game,
                                     const tui_key &key) {
    person_state p;
    p.game = &game;
    side_legal_moves(game.board, game.game_status.turn, p.legal.get());
    person_key(session, &p, key);
    if (p.chosen) session->view.cursor.reset();
    return p.chosen;
}

tui_person_result tui_person_move(tui_session *session, const game_state &game,
                                  const chess_clock *clock) {
    drop_choice(&session->view); // a piece chosen before the last move was made
    if (const std::optional<san_move> premove = session->premove) {
        session->premove.reset();
        session->view.premove_from.reset();
        session->view.premove_to.reset();
        session->view.message.clear();
        if (is_legal(game, *premove)) return {tui_person_outcome::move, *premove};
        session->view.message = "The premove is no longer legal: dropped.";
    }
    std::vector<tui_key> keys;
    for (;;) {
        tui_show_clocks(&session->view, clock);
        tui_redraw(session);
        if (clock && flag_fallen(*clock, game.game_status.turn, steady_now_ms()))
            return {tui_person_outcome::time_up};
        int wait_ms = -1; // without a clock nothing changes until a key comes
        if (clock) {
            const int64_t until = ms_until_flag(*clock, steady_now_ms());
            wait_ms = static_cast<int>(std::clamp<int64_t>(until, 0, tui_tick_ms));
        }
        // The terminal's size is looked at now and then, even without a clock.
        if (wait_ms < 0) wait_ms = 4 * tui_tick_ms;
        if (!tui_wait_keys(session, wait_ms, &keys)) return {tui_person_outcome::end_of_input};
        for (const tui_key &key : keys) {
            if (session->view.choosing_ascension) {
                if (const std::optional<san_move> move = tui_move_key(session, game, key))
                    return {tui_person_outcome::move, *move};
                continue;
            }
            if (!session->view.confirming_resignation && tui_keys_box_key(session, key)) continue;
            if (!session->view.confirming_resignation &&
                tui_history_key(&session->history, &session->view.prompt,
                                session->view.cursor.has_value(), key))
                continue;
            if (const command c = command_key(&session->view, key); c.taken) {
                if (c.outcome) return {*c.outcome};
                continue;
            }
            bool quit = false;
            if (tui_common_key(session, key, true, &quit)) {
                if (quit) return {tui_person_outcome::quit};
                continue;
            }
            if (const std::optional<san_move> move = tui_move_key(session, game, key))
                return {tui_person_outcome::move, *move};
        }
    }
}
