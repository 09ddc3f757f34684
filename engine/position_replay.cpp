#include "engine/position_replay.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/notation/notation.h"

#include <utility>

namespace {

constexpr uint8_t first_row = 0, last_row = board_size - 1;

} // namespace

game_state start_position() {
    return new_game();
}

bool position_from_fen(const std::string &fen, game_state *out, std::string *problem,
                       std::string *note) {
    fen_position pos;
    std::string error;
    if (!load_fen(fen, &pos, &error, note)) {
        *problem = "position: bad FEN '" + shown(fen) + "': " + error;
        return false;
    }
    if (const char *unreachable = unreachable_position(pos)) {
        *problem = "position: bad FEN '" + shown(fen) + "': " + unreachable;
        return false;
    }
    *out = game_from_position(pos, searched_turn_count(pos));
    return true;
}

bool legal_in(const game_state &game, const uci_move &m, std::string *problem) {
    const struct board &board = game.board;
    const uint8_t turn = game.game_status.turn;
    const uint8_t tile = board.tiles[m.src.row][m.src.col];
    const std::string text = move_text(m.src, m.dst, m.ascend);
    if (tile == 0 || is_black(tile) != (turn == side_black)) {
        *problem = text + ": no piece of the side to move on " + square_name(m.src);
        return false;
    }
    const coord king_pos = find_king(&board, turn);
    destination_list list;
    legal_moves(&board, m.src, &list, &king_pos);
    if (!move_in_list(list.squares, list.count, m.dst.row, m.dst.col)) {
        *problem = text + ": not a legal move";
        return false;
    }
    const bool promotes = is_pawn(tile) && (m.dst.row == first_row || m.dst.row == last_row);
    if (promotes && m.ascend == 0) {
        *problem = text + ": the pawn must become a piece (q, r, b or n)";
        return false;
    }
    if (!promotes && m.ascend != 0) {
        *problem = text + ": only a pawn reaching the last rank becomes another piece";
        return false;
    }
    return true;
}

bool play_move_text(game_state *game, const std::string &text, std::string *problem) {
    uci_move m;
    if (!parse_move_text(text, &m)) {
        *problem = "not a move: '" + shown(text) + "' (moves are like e2e4 or e7e8q)";
        return false;
    }
    if (!legal_in(*game, m, problem)) return false;
    play_half_move(game, m.src, m.dst, m.ascend);
    return true;
}

bool set_up_position(const word_list &words, size_t from, game_state *game, std::string *problem,
                     game_moves *replayed) {
    const size_t moves_at = find_word(words, from, {"moves"});
    game_state next;
    std::string note; // about a start that is used all the same
    if (from < words.size() && words[from] == "startpos") {
        if (from + 1 < words.size() && moves_at != from + 1) {
            *problem = "position: unexpected '" + shown(words[from + 1]) + "' after startpos";
            return false;
        }
        next = start_position();
    } else if (from < words.size() && words[from] == "fen") {
        if (!position_from_fen(join_words(words, from + 1, moves_at), &next, problem, &note))
            return false;
    } else {
        *problem = "position: expected startpos or fen";
        if (from < words.size()) *problem += ", not '" + shown(words[from]) + "'";
        return false;
    }
    *problem = note.empty() ? "" : "position: " + note;
    game_moves played{next, {}, {}};
    for (size_t i = moves_at + 1; i < words.size(); i++) {
        std::string why;
        uci_move m{};
        parse_move_text(words[i], &m);
        if (play_move_text(&next, words[i], &why)) {
            played.moves.push_back({m.src, m.dst, m.ascend});
        } else {
            if (!problem->empty()) *problem += "; ";
            *problem += "position: move " + std::to_string(i - moves_at) + " " + why +
                        "; the moves stop before it";
            break;
        }
    }
    *game = next;
    if (replayed) {
        played.now = next;
        *replayed = std::move(played);
    }
    return true;
}
