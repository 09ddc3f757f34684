// Positions and settings on which the game's computer player and the plain one are compared.
#pragma once

#include "rules/board.h"

#include <cstdint>
#include <string>
#include <vector>

struct review_case {
    std::string fen;
    struct board board;
    uint8_t turn;
    uint32_t moves_pawn_capture;
    uint32_t turn_count;
    struct last_moves history;
    uint8_t depth1, depth2, blunders;
    int32_t deadend_score, deadend_limit;
    uint8_t opening_calls; // calls left in which the book may answer
    unsigned seed;
    unsigned threads;
    int plies; // computer moves played one after the other
};

std::string describe(const review_case &c);

// `count` cases drawn from a fixed random sequence: random play from several start
// positions, with history, move counters, depths, blunders and seeds varied.
std::vector<review_case> random_cases(int count, uint32_t sequence);

// Hand-picked positions: mates in one and two, stalemates, ascensions, castling, the book.
std::vector<review_case> chosen_cases();
