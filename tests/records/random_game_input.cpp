// random_game_input SEED PLIES: a random two-person game from the usual start, written as
// what the persons type: one line per half-move, its answers separated by '|' (an empty
// answer first when the mover must acknowledge "CHECK.", then the piece's square, the
// destination, and the promotion letter when a pawn ascends). The game stops early at mate
// or stalemate. Moves are chosen by the game's own rules with a fixed seed.
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/game_state.h"
#include "rules/move_piece.h"
#include "rules/san.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::string square_name(coord sq) {
    return {static_cast<char>('a' + sq.col), static_cast<char>('8' - sq.row)};
}

char promotion_letter(uint8_t type) {
    switch (type) {
    case type_knight:
        return 'K'; // K is the knight at the promotion question
    case type_bishop:
        return 'B';
    case type_rook:
        return 'R';
    default:
        return 'Q';
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: random_game_input SEED PLIES\n");
        return 2;
    }
    std::mt19937 rng(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const int plies = std::atoi(argv[2]);
    game_state game = new_game();
    side_move_list legal;
    for (int ply = 0; ply < plies; ply++) {
        const uint8_t turn = game.game_status.turn;
        side_legal_moves(game.board, turn, &legal);
        if (legal.count == 0) break;
        const san_move m = legal.moves[std::uniform_int_distribution<int>(0, legal.count - 1)(rng)];
        const coord king = find_king(&game.board, turn);
        std::string line = square_attacked(&game.board, king, turn ? black_bit : 0) ? "|" : "";
        line += square_name(m.src) + "|" + square_name(m.dst);
        if (play_move(&game, m.src, m.dst)) {
            ascend_piece(&game.board, m.dst, m.ascend);
            line += std::string("|") + promotion_letter(m.ascend);
        }
        std::printf("%s\n", line.c_str());
        game.game_status.turn = !turn;
    }
    return 0;
}
