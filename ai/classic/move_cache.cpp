#include "ai/classic/move_cache.h"

void clear_move_cache(move_cache *cache) {
    for (auto &row : cache->squares)
        for (piece_all_moves &square : row) square = {};
}

uint64_t moves_above_score(const move_cache &cache, int64_t score) {
    uint64_t n = 0;
    for (const auto &row : cache.squares)
        for (const piece_all_moves &square : row)
            for (int k = 0; k < square.move_count; k++)
                if (square.moves[k].score >= score) n++;
    return n;
}
