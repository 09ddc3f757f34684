// Precomputed geometry: rays, knight jumps and king steps from every square,
// indexed by the linear square number row*8 + col.
#pragma once

#include <array>
#include <cstdint>

namespace square_tables {

constexpr int squares = 64;
constexpr int directions = 8;
constexpr int max_ray = 7;

// Rook directions first (+col, -col, +row, -row), then the bishop's (+1,+1), (-1,-1),
// (-1,+1), (+1,-1): the order in which the generators walk them.
constexpr int dir_row[directions] = {0, 0, 1, -1, 1, -1, -1, 1};
constexpr int dir_col[directions] = {1, -1, 0, 0, 1, -1, 1, -1};
constexpr int first_diagonal = 4;

struct ray_table {
    uint8_t square[squares][directions][max_ray];
    uint8_t length[squares][directions];
};

struct jump_table {
    uint8_t square[squares][8];
    uint8_t count[squares];
};

constexpr ray_table make_rays() {
    ray_table t{};
    for (int sq = 0; sq < squares; sq++) {
        for (int d = 0; d < directions; d++) {
            int r = sq / 8 + dir_row[d], c = sq % 8 + dir_col[d], n = 0;
            while (r >= 0 && r < 8 && c >= 0 && c < 8) {
                t.square[sq][d][n++] = static_cast<uint8_t>(r * 8 + c);
                r += dir_row[d];
                c += dir_col[d];
            }
            t.length[sq][d] = static_cast<uint8_t>(n);
        }
    }
    return t;
}

// Knight jumps in the order the generator offers them.
constexpr int knight_row[8] = {-1, -1, -2, -2, 1, 1, 2, 2};
constexpr int knight_col[8] = {-2, 2, -1, 1, -2, 2, -1, 1};

constexpr jump_table make_knight_jumps() {
    jump_table t{};
    for (int sq = 0; sq < squares; sq++) {
        int n = 0;
        for (int j = 0; j < 8; j++) {
            int r = sq / 8 + knight_row[j], c = sq % 8 + knight_col[j];
            if (r >= 0 && r < 8 && c >= 0 && c < 8)
                t.square[sq][n++] = static_cast<uint8_t>(r * 8 + c);
        }
        t.count[sq] = static_cast<uint8_t>(n);
    }
    return t;
}

// The eight neighbours in row order, then column order, skipping the square itself.
constexpr jump_table make_king_steps() {
    jump_table t{};
    for (int sq = 0; sq < squares; sq++) {
        int n = 0;
        for (int dr = -1; dr <= 1; dr++)
            for (int dc = -1; dc <= 1; dc++) {
                int r = sq / 8 + dr, c = sq % 8 + dc;
                if ((dr || dc) && r >= 0 && r < 8 && c >= 0 && c < 8)
                    t.square[sq][n++] = static_cast<uint8_t>(r * 8 + c);
            }
        t.count[sq] = static_cast<uint8_t>(n);
    }
    return t;
}

inline constexpr ray_table rays = make_rays();
inline constexpr jump_table knight_jumps = make_knight_jumps();
inline constexpr jump_table king_steps = make_king_steps();

} // namespace square_tables
