// Random legal games, refereed and written as PGN by the match tool's code: the PGN goes to
// standard output, the moves played in long algebraic notation, one game a line, to the file
// named. pgn-extract then reads the PGN back. Usage: random_games SEED GAMES MOVES_FILE
#include "adjudication.h"
#include "game/records/pgn_text.h"
#include "rules/notation/position_replay.h"
#include "rules/notation/san.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int max_plies = 300;

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) return 2;
    std::mt19937 rng(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const int games = std::atoi(argv[2]);
    std::FILE *moves_file = std::fopen(argv[3], "w");
    if (!moves_file) return 1;
    // Large enough for any position, so it lives on the heap.
    const auto legal = std::make_unique<side_move_list>();
    for (int g = 1; g <= games; g++) {
        game_history h = new_history();
        pgn_game record;
        record.tags = {
            {"Event", "random"}, {"Round", std::to_string(g)}, {"White", "a"}, {"Black", "b"}};
        std::string played;
        game_end end;
        while ((end = judge(h, max_plies)) == game_end::none) {
            side_legal_moves(h.game.board, h.game.game_status.turn, legal.get());
            const san_move m = legal->moves[rng() % static_cast<unsigned>(legal->count)];
            record.moves.push_back(
                format_san(h.game.board, h.game.game_status.turn, m.src, m.dst, m.ascend));
            const std::string text = coordinate_text(m.src, m.dst, m.ascend);
            std::string problem;
            if (!play_in_history(&h, text, &problem)) return 1;
            if (!played.empty()) played += ' ';
            played += text;
        }
        const bool white_to_move = h.game.game_status.turn == side_white;
        record.result = end == game_end::checkmate ? (white_to_move ? "0-1" : "1-0") : "1/2-1/2";
        record.final_comment = game_end_name(end);
        // Engines' messages end up in the comment: a brace must not end it early.
        if (g % 10 == 0) record.final_comment += " (engine said: } e4 {)";
        std::fputs(format_pgn(record).c_str(), stdout);
        std::fprintf(moves_file, "%s\n", played.c_str());
    }
    return std::fclose(moves_file) == 0 ? 0 : 1;
}
