// random_game_input SEED PLIES [DETOURS]: a random two-person game from the usual start,
// written as what the persons type: one line per half-move, its answers separated by '|'
// (an empty answer first when the mover must acknowledge "CHECK.", then the piece's square,
// the destination, and the ascension letter when a pawn ascends). The game stops early when
// it would end. Moves are chosen by the game's own rules with a fixed seed.
//
// With DETOURS, at that many random turns the persons first play a few other moves and take
// them back with "undo" (the COMMANDS word): the game played is the same, by other roads.
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/game_state.h"
#include "rules/move_piece.h"
#include "rules/notation/san.h"
#include "rules/position_rules.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "rules/notation/notation.h"

namespace {

constexpr int longest_detour = 4;

char ascension_letter(uint8_t type) {
    switch (type) {
    case type_knight:
        return 'K'; // K is the knight at the ascension question
    case type_bishop:
        return 'B';
    case type_rook:
        return 'R';
    default:
        return 'Q';
    }
}

// What the turn start asks of the side to move: an acknowledgement when it is in check.
bool in_check(const game_state &game) {
    const uint8_t turn = game.game_status.turn;
    const coord king = find_king(&game.board, turn);
    return square_attacked(&game.board, king, turn ? black_bit : 0);
}

// Would the game end at the start of this turn (as the turn loop judges it, the random
// move-count draw included)?
bool game_would_end(const game_state &game) {
    const coord king = find_king(&game.board, game.game_status.turn);
    const int code = check_stale(&game.game_status, &game.board, king, 0);
    if (code == stale_stalemate || code == stale_checkmate) return true;
    if (code == stale_repetition && game.turn_count >= repetition_counts_from) return true;
    if (code >= stale_over_50) return true;
    int pieces = 0;
    for (const auto &row : game.board.tiles)
        for (uint8_t tile : row) pieces += tile != 0;
    return pieces == 2;
}

// Plays a random legal move the way the turn loop does and returns its input line.
std::string play_random(game_state *game, std::mt19937 &rng, const san_move &m) {
    std::string line = in_check(*game) ? "|" : "";
    line += square_name(m.src) + "|" + square_name(m.dst);
    if (play_half_move(game, m.src, m.dst, m.ascend))
        line += std::string("|") + ascension_letter(m.ascend);
    (void)rng;
    return line;
}

san_move pick(const game_state &game, std::mt19937 &rng, bool *any) {
    side_move_list legal;
    side_legal_moves(game.board, game.game_status.turn, &legal);
    *any = legal.count > 0;
    if (!*any) return {};
    return legal.moves[std::uniform_int_distribution<int>(0, legal.count - 1)(rng)];
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: random_game_input SEED PLIES [DETOURS]\n");
        return 2;
    }
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    std::mt19937 rng(seed);
    std::mt19937 detour_rng(seed * 7919u + 1);
    const int plies = std::atoi(argv[2]);
    const int detours = argc == 4 ? std::atoi(argv[3]) : 0;
    std::vector<bool> detour_at(static_cast<size_t>(plies > 0 ? plies : 0), false);
    for (int d = 0; d < detours && plies > 0; d++)
        detour_at[std::uniform_int_distribution<int>(0, plies - 1)(detour_rng)] = true;

    game_state game = new_game();
    for (int ply = 0; ply < plies; ply++) {
        if (game_would_end(game)) break;
        if (detour_at[static_cast<size_t>(ply)]) {
            // Other moves, then as many take-backs; none of them may end the game.
            const int length = std::uniform_int_distribution<int>(1, longest_detour)(detour_rng);
            std::vector<game_state> before;
            game_state walk = game;
            for (int i = 0; i < length; i++) {
                bool any;
                const san_move m = pick(walk, detour_rng, &any);
                if (!any) break;
                game_state next = walk;
                const std::string line = play_random(&next, detour_rng, m);
                if (game_would_end(next)) break;
                std::printf("%s\n", line.c_str());
                before.push_back(walk);
                walk = next;
            }
            while (!before.empty()) {
                std::printf("%sundo\n", in_check(walk) ? "|" : "");
                walk = before.back();
                before.pop_back();
            }
        }
        bool any;
        const san_move m = pick(game, rng, &any);
        if (!any) break;
        std::printf("%s\n", play_random(&game, rng, m).c_str());
    }
    return 0;
}
