// The moves of the side to move in a fast position, as the game allows them. Generated
// moves may leave the mover's king attacked: make the move and ask mover_in_check, or use
// legal_moves_of.
#pragma once

#include "rules/fast/fast_position.h"

namespace fast {

// More than any position has: 218 is the most known.
constexpr int max_moves = 256;

struct move_list {
    move16 moves[max_moves];
    int count = 0;
};

enum class move_kind : uint8_t {
    all,
    captures, // captures (en passant too) and ascensions to a queen
};

void generate_moves(const position &pos, move_kind kind, move_list *out);

// The legal moves only (ascensions once per type).
void legal_moves_of(position pos, move_list *out);

// Is the move legal in this position?
bool is_legal_move(const position &pos, move16 m);

} // namespace fast
