// Moves in the protocol's long algebraic notation: source and destination squares, and the
// piece a pawn becomes on the last rank (e2e4, e1g1 castling, e7e8q).
#pragma once

#include "rules/board.h"
#include "rules/notation/notation.h"

#include <string>

struct uci_move {
    coord src, dst;
    uint8_t ascend; // type_rook..type_queen, or 0 when the text names no piece
};

// Reads the text's form only; whether the move is legal is for the position to say.
bool parse_move_text(const std::string &text, uci_move *out);

std::string move_text(coord src, coord dst, uint8_t ascend);
