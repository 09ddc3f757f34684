// Positions written in Forsyth-Edwards notation, for the developer tools and tests.
#pragma once

#include "rules/board.h"

#include <string>

struct fen_position {
    struct board board;
    uint8_t turn;       // 0 White, 1 Black to move
    uint32_t halfmoves; // half-moves since a pawn move or capture
    uint32_t fullmoves;
};

// Parses a FEN into tile bytes: pawns on their starting row are unmoved pawns; kings and
// rooks keep a clear has-moved flag only where a castling right says so; the pawn that
// made the two-square step carries the en-passant flag. Returns false with a message in
// `error` when the text is not a usable position. An en-passant square that no pawn can
// just have crossed (occupied, its start square occupied, no pawn of the side that just
// moved in front of it) is ignored; `ignored`, when given, then says so and why, and is
// empty otherwise.
bool load_fen(const std::string &fen, fen_position *out, std::string *error,
              std::string *ignored = nullptr);

// Why no game can reach the position, or nullptr when one can: the side that just moved
// never leaves its king attacked, and so the two kings never stand next to each other.
const char *unreachable_position(const fen_position &pos);

// Writes a position back: castling rights from unflagged kings and rooks on their squares
// (castling_rights), the en-passant square from the flagged pawn.
std::string format_fen(const fen_position &pos);
