#include "tests/ai/classic/test_positions.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"

#include <gtest/gtest.h>

namespace {

const char *const seeds[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "2r3k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 30",
    "4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 40",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "7k/5Q2/6K1/8/8/8/8/8 w - - 0 50",
    "k7/8/1K6/8/8/8/8/7R w - - 0 60",
    "8/8/8/KPp4r/8/8/8/7k w - c6 0 1",
    "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1",
    "4k3/8/8/8/1b6/8/3R4/4K3 w - - 0 1",
    "3qk3/8/8/8/8/8/3Q4/3K4 w - - 0 1",
    "4k3/8/8/8/8/3n4/8/4K2R w K - 0 1",
    "4k3/3p4/8/1B6/8/8/8/4K3 b - - 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
};

// A small generator of its own, so the pool never depends on rand().
uint32_t next_random(uint32_t *state) {
    *state ^= *state << 13;
    *state ^= *state >> 17;
    *state ^= *state << 5;
    return *state;
}

// Plays one random legal move; false when the side to move has none.
bool random_move(fen_position *pos, uint32_t *state) {
    const coord king = find_king(&pos->board, pos->turn);
    const uint8_t colour = pos->turn ? black_bit : 0;
    coord srcs[max_destinations * 16], dsts[max_destinations * 16];
    int n = 0;
    destination_list list;
    for (uint8_t r = 0; r < board_size; r++)
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t t = pos->board.tiles[r][c];
            if (t == 0 || (t & black_bit) != colour) continue;
            const uint8_t count = legal_moves(&pos->board, coord{r, c}, &list, &king);
            for (int k = 0; k < count && n < max_destinations * 16; k++)
                srcs[n] = coord{r, c}, dsts[n++] = list.squares[k];
        }
    if (n == 0) return false;
    const int pick = static_cast<int>(next_random(state) % static_cast<uint32_t>(n));
    if (move_piece(&pos->board, srcs[pick], dsts[pick]))
        ascend_piece(&pos->board, dsts[pick], type_queen);
    pos->turn = !pos->turn;
    return true;
}

} // namespace

game_state game_at(const std::string &fen, uint32_t turn) {
    fen_position pos{};
    std::string error;
    EXPECT_TRUE(load_fen(fen, &pos, &error)) << error;
    return game_from_position(pos, turn);
}

namespace {

void keep_line(void *context, const char *line) {
    static_cast<std::vector<std::string> *>(context)->push_back(line);
}

} // namespace

ai_run run_ai(const game_state &game, const ai_settings &settings, unsigned seed) {
    ai_run run;
    search_observer observer;
    observer.context = &run.lines;
    observer.report = keep_line;
    const auto search = new_search_context(seed);
    run.decision = choose_ai_move(search.get(), game, settings, observer);
    run.next_random = next_random(&search->random);
    return run;
}

std::vector<fen_position> position_pool() {
    constexpr int playouts = 3;
    constexpr int plies = 7;
    std::vector<fen_position> pool;
    uint32_t state = 2463534242u;
    for (const char *fen : seeds) {
        fen_position pos;
        std::string error;
        EXPECT_TRUE(load_fen(fen, &pos, &error)) << error;
        pool.push_back(pos);
        for (int p = 0; p < playouts; p++) {
            fen_position walk = pos;
            for (int i = 0; i < plies && random_move(&walk, &state); i++) pool.push_back(walk);
        }
    }
    return pool;
}

std::vector<coord> side_squares(const struct board &b, uint8_t side) {
    std::vector<coord> squares;
    for (uint8_t r = 0; r < board_size; r++)
        for (uint8_t c = 0; c < board_size; c++) {
            const uint8_t t = b.tiles[r][c];
            if (t != 0 && ((t & black_bit) != 0) == (side != 0)) squares.push_back(coord{r, c});
        }
    return squares;
}
