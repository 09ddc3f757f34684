#include "game/records/game_replay.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/move_piece.h"
#include "rules/notation/notation.h"

namespace {

std::string move_label(uint32_t fullmove, uint8_t turn, const std::string &token) {
    return "move " + std::to_string(fullmove) + (turn ? "..." : "") + " (" + shown_text(token) +
           ")";
}

} // namespace

fen_position usual_start_position() {
    fen_position pos{};
    set_starting_position(&pos.board);
    pos.turn = side_white;
    pos.halfmoves = 0;
    pos.fullmoves = 1;
    return pos;
}

bool record_start_position(const pgn_game &game, fen_position *start, std::string *error) {
    const std::string *fen = pgn_tag_value(game, "FEN");
    const std::string *setup = pgn_tag_value(game, "SetUp");
    if (!fen) {
        if (setup && *setup == "1") {
            *error = "the SetUp tag asks for a FEN tag, and there is none";
            return false;
        }
        *start = usual_start_position();
        return true;
    }
    fen_position pos;
    std::string why;
    if (!load_fen(*fen, &pos, &why)) {
        *error = "bad FEN tag: " + why;
        return false;
    }
    *start = pos;
    return true;
}

bool replay_moves(const fen_position &start, const std::vector<std::string> &tokens,
                  replayed_game *out, std::string *error) {
    // The side that has just moved cannot have left its king attacked: no game reaches this.
    const coord resting_king = find_king(&start.board, !start.turn);
    if (resting_king == no_square || find_king(&start.board, start.turn) == no_square) {
        *error = "the start position lacks a king";
        return false;
    }
    if (king_threatened(&start.board, &resting_king, resting_king)) {
        *error = "in the start position the side not to move is in check";
        return false;
    }
    replayed_game game;
    fen_position pos = start;
    pos.turn = pos.turn ? side_black : side_white;
    for (const std::string &token : tokens) {
        san_move m;
        std::string why;
        if (!parse_san(pos.board, pos.turn, token, &m, &why)) {
            *error = move_label(pos.fullmoves, pos.turn, token) + ": " + why;
            return false;
        }
        const uint8_t mover = pos.board.tiles[m.src.row][m.src.col];
        const bool resets_clock = is_pawn(mover) || pos.board.tiles[m.dst.row][m.dst.col] != 0;
        // move_piece changes the board alone; the clock and move number are kept here.
        if (move_piece(&pos.board, m.src, m.dst)) ascend_piece(&pos.board, m.dst, m.ascend);
        pos.halfmoves = resets_clock ? 0 : pos.halfmoves + 1;
        if (pos.turn == side_black) pos.fullmoves++;
        pos.turn = pos.turn ? side_white : side_black;
        game.moves.push_back(m);
    }
    game.final_position = pos;
    *out = std::move(game);
    return true;
}
