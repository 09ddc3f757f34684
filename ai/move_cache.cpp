#include "ai/move_cache.h"

piece_all_moves all_moves[board_size][board_size];

void clear_all_moves() {
    for (auto &row : all_moves)
        for (piece_all_moves &square : row) square = {};
}

uint64_t moves_above_score(int64_t score) {
    uint64_t n = 0;
    for (const auto &row : all_moves)
        for (const piece_all_moves &square : row)
            for (int k = 0; k < square.move_count; k++)
                if (square.moves[k].score >= score) n++;
    return n;
}
