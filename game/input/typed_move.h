// A whole move typed at "Select piece." (with COMMANDS): SAN such as Nf3, exd5, O-O or e8=Q,
// with or without + or #, or coordinates such as e2e4 or e7e8q.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/san.h"

#include <string>

enum class typed_kind {
    not_a_move, // the line is no move text (a square, a command, anything else)
    move,       // it names one legal move
    refused,    // it names no legal move, or several: `refusal` says why in one line
};

struct typed_move {
    typed_kind kind = typed_kind::not_a_move;
    san_move move{};
    bool ascension_named = false; // the text says which piece a pawn becomes
    std::string refusal;
};

// Reads a whole typed line for the side to move of `game`. A square ("e4") is a move only
// when it holds none of the mover's pieces and one pawn move goes there; otherwise it stays
// the square it always was. A lower-case piece letter (nf3) is read as SAN's capital, except
// b, which is the file.
typed_move read_typed_move(const game_state &game, const char *line);
