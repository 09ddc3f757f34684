// The strong player's evaluation: a score in centipawns for the side to move, tapered
// between middlegame and endgame weights by the material left.
#pragma once

#include "rules/fast/fast_position.h"

// Pieces by their index in the weight tables.
enum eval_piece : int { ep_pawn, ep_knight, ep_bishop, ep_rook, ep_queen, ep_king, eval_pieces };
constexpr int mg = 0, eg = 1; // the two phases of every weight pair

// Every weight is an int, so that the tuning tool can walk them as one array.
struct eval_weights {
    int piece_value[2][eval_pieces];
    int psqt[2][eval_pieces][64]; // from White's side: index 0 is a8
    int mobility[2][4];           // per square reached: knight, bishop, rook, queen
    int passed[2][8];             // by the rank counted from the pawn's own side
    int passed_king_distance[8];  // endgame: (enemy king's distance - own king's) by rank
    int isolated[2];
    int doubled[2];
    int bishop_pair[2];
    int rook_open_file[2];
    int rook_half_open_file[2];
    int king_shield[2]; // per own pawn in front of the king
    int king_attack[4]; // units per attack on the king's zone: knight, bishop, rook, queen
    int tempo;
};
constexpr int eval_weight_count = sizeof(eval_weights) / sizeof(int);

// The weights the player uses (made by the tuning tool from hand-set starting values).
const eval_weights &default_eval_weights();
// The hand-set starting values of the tuning.
eval_weights initial_eval_weights();

// Scores decided by the search itself lie beyond these.
constexpr int eval_limit = 20000;

int evaluate(const fast::position &pos, const eval_weights &w);
inline int evaluate(const fast::position &pos) {
    return evaluate(pos, default_eval_weights());
}

// The material weight (middlegame) of one side's pieces other than pawns and king.
int non_pawn_material(const fast::position &pos, int side);
