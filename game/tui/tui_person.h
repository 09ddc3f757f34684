// The person's half-move on the full-screen board: a click on a piece and one on its
// destination, the arrow keys and Enter, or a move typed at the prompt.
#pragma once

#include "game/game_ending.h"
#include "game/tui/tui_session.h"
#include "rules/game_state.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"

#include <optional>

enum class tui_person_outcome {
    move,
    quit,         // q: the game is kept unfinished
    take_back,    // u or "undo": back to the person's previous turn
    resign,       // "resign", confirmed with y
    hint,         // "hint": the turn goes on with a hint shown
    draw,         // "draw": a claim, judged by the caller
    time_up,      // the person's flag fell
    end_of_input, // the terminal went away
};

struct tui_person_result {
    tui_person_outcome outcome = tui_person_outcome::move;
    san_move move{};                           // a legal move of the side to move, with `move`
    std::optional<game_ending> claimed_draw{}; // with `draw`, once granted
};

// Waits for the person's move in `game` (not changed), the clocks ticking on screen. A
// premove chosen meanwhile is played at once when it is legal, and dropped with a note if not.
tui_person_result tui_person_move(tui_session *session, const game_state &game,
                                  const chess_clock *clock);

// One key for the move being chosen in `game` (clicks, arrows, the typed line, the piece a
// pawn becomes): the move once it is complete and legal there.
std::optional<san_move> tui_move_key(tui_session *session, const game_state &game,
                                     const tui_key &key);

// The box of keys: ? on an empty prompt shows it over the board, and the next key, whatever
// it is, only closes it. True when `key` was taken so.
bool tui_keys_box_key(tui_session *session, const tui_key &key);

// Keys any turn understands when nothing is typed: q quits (sets `quit`); f turns the board,
// unless the person is `typing` a move (f is a file: f4; the typed line "f" turns it then).
// True when `key` was one of them.
bool tui_common_key(tui_session *session, const tui_key &key, bool typing, bool *quit);
