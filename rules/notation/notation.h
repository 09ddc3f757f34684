// How squares, pieces and move numbers are written: one place for each notation's letters,
// so that every part of the program writes them alike.
#pragma once

#include "rules/board.h"
#include "rules/notation/shown_text.h"

#include <cstdint>
#include <string>
#include <string_view>

// "e4" for (row 4, col 4): the file letter, then the rank digit.
std::string square_name(coord square);

// Reads a square name's two characters; false when they name no square.
bool read_square_name(char file, char rank, coord *out);

// Piece letters by piece type (type_pawn_unmoved .. type_king), one table per notation.
// SAN: capital letters, none for pawns ("Nf3", "e8=Q").
constexpr char san_piece_letters[] = {0, 0, 0, 'R', 'N', 'B', 'Q', 'K'};
// FEN: White's pieces, in capitals; Black's are the same letters in small ones.
constexpr char fen_piece_letters[] = {' ', 'P', 'P', 'R', 'N', 'B', 'Q', 'K'};
// Coordinate moves (UCI, xboard): the piece a pawn becomes, in small letters ("e7e8q").
constexpr char coordinate_ascension_letters[] = {0, 0, 0, 'r', 'n', 'b', 'q', 0};

// The piece type a letter names in any of these notations, in either case (p names a
// pawn, type_pawn); 0 for any other character.
uint8_t piece_type_of_letter(char letter);

// The piece type a pawn may become that a letter names (Q, R, B, N in either case); 0 for
// any other character.
uint8_t ascension_of_letter(char letter);

// Move numbers as a score sheet writes them. A half-move number counts from 1 for White's
// first move of the game.
uint32_t half_move_number(uint32_t fullmove, uint8_t side);
uint32_t full_move_number(uint32_t half_move);
// "12." before White's move of half-move 23, "12..." before Black's of half-move 24.
std::string move_number_label(uint32_t half_move);
