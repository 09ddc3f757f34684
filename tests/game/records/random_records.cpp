// Random legal games for checking the game's records against an independent PGN reader.
//
//   random_records write SEED GAMES FILE   writes GAMES random games as one PGN database
//   random_records check SEED GAMES DIR san|lalg
//                                          plays the same games again and compares them with
//                                          DIR/1.pgn .. DIR/GAMES.pgn, the games as another
//                                          program wrote them back (with a final FEN comment)
//
// Moves are chosen at random among the legal moves by the game's own rules, with a fixed
// seed, so both runs play the same games.
#include "game/records/atomic_file.h"
#include "game/records/game_replay.h"
#include "game/records/pgn_text.h"
#include "rules/board_queries.h"
#include "rules/move_piece.h"
#include "rules/notation/fen.h"
#include "rules/notation/san.h"
#include "rules/position_rules.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int max_plies = 240;
constexpr std::size_t max_line = 79;
constexpr int bare_kings = 2;

// Starts that reach castling, en passant, ascension and crowded pieces early, some with
// Black to move and a late move number.
const char *const start_fens[] = {
    nullptr, // the usual start
    "r3k2r/pppq1ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPPQ1PPP/R3K2R w KQkq - 4 8",
    "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3",
    "7k/PPP5/8/8/8/8/5ppp/K7 w - - 0 40",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 17",
    "1k6/8/8/3N1N2/2N3N1/3N1N2/8/K7 w - - 0 1",
    "r3k2r/1P4P1/8/2Q3Q1/8/8/1p4p1/R3K2R w KQkq - 0 25",
    "4k3/pppppppp/8/P1P1P1P1/1p1p1p1p/8/PPPPPPPP/4K3 w - - 0 30",
};
constexpr int start_count = sizeof start_fens / sizeof start_fens[0];

struct generated_game {
    pgn_game record;
    std::vector<san_move> moves;
    std::string final_fen;
};

struct tally {
    int plies = 0, mates = 0, stalemates = 0, ascensions = 0, castlings = 0, en_passants = 0,
        checks = 0, disambiguated = 0;
};

fen_position start_position(int index) {
    if (!start_fens[index]) return usual_start_position();
    fen_position pos;
    replayed_game nothing;
    std::string error;
    if (!load_fen(start_fens[index], &pos, &error) || !replay_moves(pos, {}, &nothing, &error)) {
        std::fprintf(stderr, "bad start %s: %s\n", start_fens[index], error.c_str());
        std::exit(2);
    }
    return pos;
}

int piece_total(const board &brd) {
    int n = 0;
    for (const auto &row : brd.tiles)
        for (uint8_t tile : row) n += tile != 0;
    return n;
}

void count_kinds(const board &brd, const san_move &m, const std::string &san, tally *t) {
    const uint8_t tile = brd.tiles[m.src.row][m.src.col];
    t->ascensions += m.ascend != 0;
    t->castlings += san.rfind("O-O", 0) == 0;
    t->en_passants += is_pawn(tile) && m.src.col != m.dst.col && !brd.tiles[m.dst.row][m.dst.col];
    t->checks += san.find_first_of("+#") != std::string::npos;
    if (is_pawn(tile) || san.rfind("O-O", 0) == 0) return;
    std::string square_part; // what follows the letter, without "x", "+" and "#"
    for (char c : san.substr(1))
        if (c != 'x' && c != '+' && c != '#') square_part += c;
    t->disambiguated += square_part.size() > 2;
}

generated_game play_random_game(std::mt19937 &rng, int number, tally *t) {
    const int start_index = number % start_count;
    fen_position pos = start_position(start_index);
    generated_game game;
    game.record.tags = {{"Event", "Random game " + std::to_string(number)},
                        {"Site", "Vartok test"},
                        {"White", "random"},
                        {"Black", "random"}};
    if (start_fens[start_index]) {
        game.record.tags.push_back({"SetUp", "1"});
        game.record.tags.push_back({"FEN", start_fens[start_index]});
    }
    side_move_list legal;
    for (int ply = 0; ply < max_plies; ply++) {
        side_legal_moves(pos.board, pos.turn, &legal);
        if (legal.count == 0) {
            // The position test found a move, the move list none: the two disagree.
            std::fprintf(stderr, "no legal move listed in %s\n", format_fen(pos).c_str());
            std::exit(1);
        }
        const san_move m = legal.moves[std::uniform_int_distribution<int>(0, legal.count - 1)(rng)];
        const std::string san = format_san(pos.board, pos.turn, m.src, m.dst, m.ascend);
        count_kinds(pos.board, m, san, t);
        game.record.moves.push_back(san);
        game.moves.push_back(m);
        t->plies++;

        const uint8_t mover = pos.board.tiles[m.src.row][m.src.col];
        const bool resets_clock = is_pawn(mover) || pos.board.tiles[m.dst.row][m.dst.col] != 0;
        if (move_piece(&pos.board, m.src, m.dst)) ascend_piece(&pos.board, m.dst, m.ascend);
        pos.halfmoves = resets_clock ? 0 : pos.halfmoves + 1;
        if (pos.turn) pos.fullmoves++;
        pos.turn = !pos.turn;

        const int verdict = check_and_mobility(&pos.board, find_king(&pos.board, pos.turn));
        if (verdict == stale_checkmate) {
            game.record.result = pos.turn ? "1-0" : "0-1";
            t->mates++;
            break;
        }
        if (verdict == stale_stalemate || piece_total(pos.board) == bare_kings) {
            game.record.result = "1/2-1/2";
            game.record.final_comment = verdict == stale_stalemate ? "Stalemate." : "Bare kings.";
            t->stalemates += verdict == stale_stalemate;
            break;
        }
    }
    game.final_fen = format_fen(pos);
    return game;
}

std::vector<generated_game> play_games(unsigned seed, int count, tally *t) {
    std::mt19937 rng(seed);
    std::vector<generated_game> games;
    for (int i = 1; i <= count; i++) games.push_back(play_random_game(rng, i, t));
    return games;
}

int write_games(unsigned seed, int count, const std::string &path) {
    tally t;
    std::string database;
    for (const generated_game &game : play_games(seed, count, &t)) {
        const std::string text = format_pgn(game.record);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.size() > max_line && line[0] != '[') {
                std::fprintf(stderr, "line longer than %zu: %s\n", max_line, line.c_str());
                return 1;
            }
        }
        // Our own reader must read back exactly what we wrote.
        pgn_game back;
        std::string error;
        if (!parse_pgn(text, &back, &error) || back.moves != game.record.moves ||
            back.result != game.record.result || back.final_comment != game.record.final_comment) {
            std::fprintf(stderr, "own record does not read back (%s):\n%s", error.c_str(),
                         text.c_str());
            return 1;
        }
        database += text;
    }
    std::string error;
    if (!write_file_atomically(path, database, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%d games, %d plies: %d mates, %d stalemates, %d ascensions, %d castlings, "
                "%d en passant, %d checks, %d disambiguated\n",
                count, t.plies, t.mates, t.stalemates, t.ascensions, t.castlings, t.en_passants,
                t.checks, t.disambiguated);
    return 0;
}

// pgn-extract puts the final position in a comment: { "FEN" }.
std::string quoted_fen(const std::string &comment) {
    const std::size_t open = comment.find('"');
    const std::size_t close = comment.rfind('"');
    if (open == std::string::npos || close <= open) return "";
    return comment.substr(open + 1, close - open - 1);
}

int check_games(unsigned seed, int count, const std::string &folder, bool same_san) {
    tally t;
    const std::vector<generated_game> games = play_games(seed, count, &t);
    int failures = 0;
    for (int i = 0; i < count; i++) {
        const std::string path = folder + "/" + std::to_string(i + 1) + ".pgn";
        const generated_game &game = games[i];
        std::string text, error;
        pgn_game theirs;
        fen_position start;
        replayed_game replay;
        if (read_whole_file(path, &text, &error) != read_status::read ||
            !parse_pgn(text, &theirs, &error) || !record_start_position(theirs, &start, &error) ||
            !replay_moves(start, theirs.moves, &replay, &error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(),
                         error.empty() ? "missing" : error.c_str());
            failures++;
            continue;
        }
        if (replay.moves != game.moves) {
            std::fprintf(stderr, "%s: replayed moves differ from the game played\n", path.c_str());
            failures++;
        }
        for (std::size_t m = 0; same_san && m < game.moves.size(); m++) {
            if (m < theirs.moves.size() && theirs.moves[m] == game.record.moves[m]) continue;
            std::fprintf(stderr, "%s: ply %zu written %s by us, %s by the other reader\n",
                         path.c_str(), m + 1, game.record.moves[m].c_str(),
                         m < theirs.moves.size() ? theirs.moves[m].c_str() : "nothing");
            failures++;
            break;
        }
        const std::string their_fen = quoted_fen(theirs.final_comment);
        if (their_fen != game.final_fen || format_fen(replay.final_position) != game.final_fen) {
            std::fprintf(stderr, "%s: final position\n  ours   %s\n  theirs %s\n  replay %s\n",
                         path.c_str(), game.final_fen.c_str(), their_fen.c_str(),
                         format_fen(replay.final_position).c_str());
            failures++;
        }
        if (theirs.result != game.record.result) {
            std::fprintf(stderr, "%s: result %s, expected %s\n", path.c_str(),
                         theirs.result.c_str(), game.record.result.c_str());
            failures++;
        }
    }
    std::printf("%d games compared, %d differences\n", count, failures);
    return failures == 0 ? 0 : 1;
}

int usage() {
    std::fprintf(stderr, "usage: random_records write SEED GAMES FILE\n"
                         "       random_records check SEED GAMES DIR san|lalg\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 5) return usage();
    const std::string mode = argv[1];
    const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    const int count = std::atoi(argv[3]);
    if (count <= 0) return usage();
    if (mode == "write" && argc == 5) return write_games(seed, count, argv[4]);
    if (mode == "check" && argc == 6) {
        const std::string notation = argv[5];
        if (notation != "san" && notation != "lalg") return usage();
        return check_games(seed, count, argv[4], notation == "san");
    }
    return usage();
}
