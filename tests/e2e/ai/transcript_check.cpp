// Reads the standard output of a whole game from standard input and checks it: every
// "Moving" line names a legal move of the side whose turn it is (book moves, which print
// nothing, are replayed as the book plays them), ascensions are reported, and the game
// ends with a game-ending message. Exit status 0 when all holds; otherwise a message.
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"

#include <cstdio>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr uint8_t pawn_after_double_step = has_moved_flag | en_passant_flag | type_pawn;

bool fail(const std::string &why, int line_no) {
    std::cerr << "transcript line " << line_no << ": " << why << "\n";
    return false;
}

coord square(const std::string &name) {
    return coord{static_cast<uint8_t>('8' - name[1]), static_cast<uint8_t>(name[0] - 'a')};
}

bool legal(const struct board &brd, uint8_t side, coord src, coord dst) {
    const uint8_t tile = brd.tiles[src.row][src.col];
    if (tile == 0 || ((tile & black_bit) != 0) != (side != 0)) return false;
    const coord king = find_king(&brd, side);
    destination_list list;
    const uint8_t n = legal_moves(&brd, src, &list, &king);
    return move_in_list(list.squares, n, dst.row, dst.col) != 0;
}

bool check(const std::vector<std::string> &lines) {
    const std::regex turn_line(R"((\d+): (White|Black)'s turn\.)");
    const std::regex move_line(R"((\d+): Moving ([a-h][1-8]) to ([a-h][1-8]) \(score: -?\d+\))");
    const std::regex ascend_line(R"(Ascended to (rook|knight|bishop|queen))");
    const std::regex game_end(
        R"(Checkmate\. (White|Black) won\.|Stalemate\.|Draw: Third repetition\.|)"
        R"(\d+ moves without pawn move or capture - declaring a draw\.|)"
        R"(Draw: Not enough pieces on the board to continue\.)");
    struct board brd;
    set_starting_position(&brd);
    uint8_t side = side_white;
    bool turn_open = false, awaiting_ascend = false;
    unsigned turn = 0, moves = 0;
    int last_move_line = 0;
    coord last_dst{};
    std::smatch m;
    for (size_t i = 0; i < lines.size(); i++) {
        const int no = static_cast<int>(i + 1);
        const std::string &l = lines[i];
        if (std::regex_match(l, m, turn_line)) {
            if (awaiting_ascend) return fail("promotion not reported", no);
            if (turn_open) { // the previous turn printed no move: a book move
                const coord e4{4, 4}, d4{4, 3};
                if (turn == 1) {
                    move_piece(&brd, coord{6, 4}, e4);
                } else if (turn == 2 && brd.tiles[e4.row][e4.col] == pawn_after_double_step) {
                    move_piece(&brd, coord{1, 2}, coord{3, 2});
                } else if (turn == 2 && brd.tiles[d4.row][d4.col] == pawn_after_double_step) {
                    move_piece(&brd, coord{1, 5}, coord{3, 5});
                } else {
                    return fail("a turn without a move", no);
                }
                side = !side;
            }
            turn = static_cast<unsigned>(std::stoul(m[1]));
            if ((m[2] == "Black") != (side != 0)) return fail("wrong side to move", no);
            turn_open = true;
        } else if (std::regex_match(l, m, move_line)) {
            if (!turn_open || std::stoul(m[1]) != turn) return fail("move outside its turn", no);
            const coord src = square(m[2]), dst = square(m[3]);
            if (!legal(brd, side, src, dst)) return fail("illegal move: " + l, no);
            awaiting_ascend = move_piece(&brd, src, dst) != 0;
            last_dst = dst;
            side = !side;
            turn_open = false;
            moves++;
            last_move_line = no;
        } else if (std::regex_match(l, m, ascend_line)) {
            if (!awaiting_ascend) return fail("promotion without a pawn on the last row", no);
            const std::string piece = m[1];
            const uint8_t type = piece == "rook"     ? type_rook
                                 : piece == "knight" ? type_knight
                                 : piece == "bishop" ? type_bishop
                                                     : type_queen;
            ascend_piece(&brd, last_dst, type);
            awaiting_ascend = false;
        }
    }
    if (moves == 0) return fail("no move was played", 0);
    for (size_t i = static_cast<size_t>(last_move_line); i < lines.size(); i++)
        if (std::regex_match(lines[i], game_end)) {
            std::cout << moves << " moves checked; ended with: " << lines[i] << "\n";
            return true;
        }
    return fail("no game-ending message after the last move", static_cast<int>(lines.size()));
}

} // namespace

int main() {
    std::vector<std::string> lines;
    for (std::string line; std::getline(std::cin, line);) lines.push_back(line);
    return check(lines) ? 0 : 1;
}
