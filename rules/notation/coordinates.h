// Moves in coordinates, as UCI and xboard write them: the source and destination squares,
// then the piece a pawn becomes on the last rank (e2e4, e1g1 castling, e7e8q).
#pragma once

#include "rules/board.h"
#include "rules/notation/san.h"

#include <cstdint>
#include <string>
#include <string_view>

// UCI writes the promotion piece in a small letter, and the engine holds a GUI to it;
// engines the client talks to are taken at their word in either case (e7e8Q).
enum class promotion_case : uint8_t { small_only, either };

// Reads the text's form only (its ascend is 0 when it names no piece); whether the move is
// legal is for the position to say.
bool read_coordinates(std::string_view text, promotion_case letters, san_move *out);

// "e2e4", "e7e8q".
std::string coordinate_text(coord src, coord dst, uint8_t ascend);
inline std::string coordinate_text(const san_move &m) {
    return coordinate_text(m.src, m.dst, m.ascend);
}
