#include "game/input/typed_move.h"
#include "rules/board_queries.h"
#include "rules/notation/notation.h"
#include "rules/notation/shown_text.h"
#include "rules/position_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t longest_square_text = 2;

constexpr const char *piece_names[] = {"",       "pawn",   "pawn",  "rook",
                                       "knight", "bishop", "queen", "king"};

std::string trimmed(const char *line) {
    const char *start = line;
    while (*start && std::isspace(static_cast<unsigned char>(*start))) start++;
    const char *end = start + std::strlen(start);
    while (end > start && std::isspace(static_cast<unsigned char>(end[-1]))) end--;
    return std::string(start, end);
}

std::vector<san_move> named_moves(const board &brd, const move_pattern &p,
                                  const side_move_list &moves) {
    std::vector<san_move> named;
    for (int i = 0; i < moves.count; i++)
        if (pattern_names(brd, p, moves.moves[i])) named.push_back(moves.moves[i]);
    return named;
}

// "Nbd2 or Nfd2", "Qa1, Qb2 or Qc3".
std::string alternatives(const game_state &game, const std::vector<san_move> &moves) {
    std::string text;
    for (std::size_t i = 0; i < moves.size(); i++) {
        if (i > 0) text += i + 1 == moves.size() ? " or " : ", ";
        text += format_san(game.board, game.game_status.turn, moves[i].src, moves[i].dst,
                           moves[i].ascend);
    }
    return text;
}

bool next_to(coord a, coord b) {
    return std::abs(a.row - b.row) <= 1 && std::abs(a.col - b.col) <= 1 && !(a == b);
}

// Castling with the king not in check: an unmoved king and rook (their tile bytes carry no
// flag), the squares between them empty, and no attack on the king's way.
std::string why_no_castling(const board &brd, uint8_t turn, const move_pattern &p) {
    const uint8_t row = turn ? 0 : board_size - 1;
    const uint8_t colour = turn ? black_bit : 0;
    constexpr uint8_t king_col = 4;
    const uint8_t rook_col = p.castle_side == king_side ? board_size - 1 : 0;
    if (brd.tiles[row][king_col] != (type_king | colour)) return "your king has moved";
    if (brd.tiles[row][rook_col] != (type_rook | colour))
        return "there is no unmoved rook of yours on " + square_name({row, rook_col});
    const uint8_t low = rook_col < king_col ? rook_col : king_col;
    const uint8_t high = rook_col < king_col ? king_col : rook_col;
    for (uint8_t col = low + 1; col < high; col++)
        if (brd.tiles[row][col] != 0) return "a piece stands between your king and rook";
    return "your king would cross or land on an attacked square";
}

// Why a readable move text names no legal move.
std::string why_illegal(const game_state &game, const move_pattern &p) {
    const board &brd = game.board;
    const uint8_t turn = game.game_status.turn;
    const coord king = find_king(&brd, turn);
    const bool in_check =
        king != no_square && (check_and_mobility(&brd, king) & 1) != 0; // check or mate
    if (p.castle_side) return in_check ? "your king is in check" : why_no_castling(brd, turn, p);
    const std::string to = square_name(p.dst);
    if (p.ascend && p.dst.row != 0 && p.dst.row != board_size - 1)
        return "only a pawn reaching the last row ascends";
    side_move_list unsafe;
    side_moves_ignoring_check(brd, turn, &unsafe);
    if (!named_moves(brd, p, unsafe).empty())
        return in_check ? "your king would still be in check" : "it would leave your king in check";

    const bool whole_source = p.from_col >= 0 && p.from_row >= 0;
    uint8_t kind = p.piece ? p.piece : type_pawn;
    if (whole_source) {
        const coord from{uint8_t(p.from_row), uint8_t(p.from_col)};
        const uint8_t tile = brd.tiles[from.row][from.col];
        if (tile == 0) return "there is no piece on " + square_name(from);
        if (!holds_piece_of(brd, from, turn))
            return "the piece on " + square_name(from) + " is not yours";
        kind = piece_type(tile);
        if (kind == type_king && next_to(from, p.dst) && !holds_piece_of(brd, p.dst, turn))
            return "your king would be in check on " + to;
        return std::string("the ") + piece_names[kind] + " on " + square_name(from) +
               " cannot move to " + to;
    }
    if (kind == type_king && king != no_square && next_to(king, p.dst) &&
        !holds_piece_of(brd, p.dst, turn))
        return "your king would be in check on " + to;
    return std::string("no ") + piece_names[kind] + " of yours can " +
           (p.capture ? "take on " : "move to ") + to;
}

} // namespace

typed_move read_typed_move(const game_state &game, const char *line) {
    typed_move typed;
    std::string text = trimmed(line);
    // A piece letter typed in lower case, where no file has that letter (b stays the file).
    if (text.size() > longest_square_text && std::strchr("nrqk", text[0]))
        text[0] = char(std::toupper(text[0]));
    move_pattern p;
    if (text.size() < longest_square_text || !read_move_pattern(text, &p)) return typed;
    side_move_list legal;
    side_legal_moves(game.board, game.game_status.turn, &legal);
    const std::vector<san_move> named = named_moves(game.board, p, legal);
    if (text.size() == longest_square_text) {
        // A square: it chooses the piece on it, unless it holds none of the mover's pieces
        // and one pawn can go there, as SAN reads "e4".
        // (A pawn reaching the last row names a move per piece: one move, its piece asked.)
        const bool one_move =
            !named.empty() && std::all_of(named.begin(), named.end(), [&](const san_move &m) {
                return m.src == named.front().src && m.dst == named.front().dst;
            });
        if (holds_piece_of(game.board, p.dst, game.game_status.turn) || !one_move) return typed;
        typed.kind = typed_kind::move;
        typed.move = named.front();
        return typed;
    }
    if (named.size() == 1) {
        typed.kind = typed_kind::move;
        typed.move = named.front();
        typed.ascension_named = p.ascend != 0;
        return typed;
    }
    typed.kind = typed_kind::refused;
    const std::string shown = shown_text(text);
    if (named.empty())
        typed.refusal = shown + " is not legal: " + why_illegal(game, p) + ".";
    else
        typed.refusal = shown + " is ambiguous: " + alternatives(game, named) + ".";
    return typed;
}
