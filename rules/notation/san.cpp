#include "rules/notation/san.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/notation/notation.h"
#include "rules/position_rules.h"

#include <cstdlib>

namespace {

constexpr uint8_t ascension_order[] = {type_queen, type_rook, type_bishop, type_knight};
constexpr int castling_col_distance = 2;
constexpr std::size_t longest_move_text = 16; // "Qa1xb2=Q+!?" and friends fit easily

uint8_t tile_at(const board &brd, coord sq) {
    return brd.tiles[sq.row][sq.col];
}

// Unmoved and moved pawns are one kind of piece for the notation.
uint8_t kind_of(uint8_t tile) {
    return is_pawn(tile) ? type_pawn : piece_type(tile);
}

bool is_castling(uint8_t tile, coord src, coord dst) {
    return piece_type(tile) == type_king && std::abs(src.col - dst.col) == castling_col_distance;
}

// A pawn changing file captures, en passant onto an empty square included.
bool is_capture(const board &brd, coord src, coord dst) {
    return tile_at(brd, dst) != 0 || (is_pawn(tile_at(brd, src)) && src.col != dst.col);
}

char file_char(uint8_t col) {
    return static_cast<char>('a' + col);
}
char rank_char(uint8_t row) {
    return static_cast<char>('8' - row);
}

// "+", "#" or nothing, judged on the position after the move, made on a copy.
const char *check_suffix(const board &brd, uint8_t turn, san_move m) {
    board after = brd;
    if (move_piece(&after, m.src, m.dst)) ascend_piece(&after, m.dst, m.ascend);
    const coord king = find_king(&after, !turn);
    switch (check_and_mobility(&after, king)) {
    case stale_checkmate:
        return "#";
    case stale_check:
        return "+";
    default:
        return "";
    }
}

bool is_file(char c) {
    return c >= 'a' && c <= 'h';
}
bool is_rank(char c) {
    return c >= '1' && c <= '8';
}

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

} // namespace

bool read_move_pattern(std::string_view t, move_pattern *p) {
    // Annotations and check marks say nothing about which move it is.
    for (;;) {
        if (!t.empty() && std::string_view("+#!?").find(t.back()) != std::string_view::npos)
            t.remove_suffix(1);
        else if (ends_with(t, "e.p."))
            t.remove_suffix(4);
        else
            break;
    }
    if (t.empty() || t.size() > longest_move_text) return false;

    std::string castle(t);
    for (char &c : castle)
        if (c == '0' || c == 'o') c = 'O';
    if (castle == "O-O" || castle == "O-O-O") {
        p->castle_side = castle == "O-O" ? king_side : queen_side;
        return true;
    }

    // Ascension: a piece letter after the destination, with or without "=", or as "(Q)".
    if (t.size() >= 4 && t.back() == ')' && t[t.size() - 3] == '(') {
        p->ascend = ascension_of_letter(t[t.size() - 2]);
        if (!p->ascend) return false;
        t.remove_suffix(3);
    } else if (t.size() >= 3 && ascension_of_letter(t.back()) &&
               (is_rank(t[t.size() - 2]) || t[t.size() - 2] == '=' || t[t.size() - 2] == '/')) {
        p->ascend = ascension_of_letter(t.back());
        t.remove_suffix(1);
        if (t.back() == '=' || t.back() == '/') t.remove_suffix(1);
    }

    if (t.size() < 2 || !is_file(t[t.size() - 2]) || !is_rank(t.back())) return false;
    p->dst =
        coord{static_cast<uint8_t>('8' - t.back()), static_cast<uint8_t>(t[t.size() - 2] - 'a')};
    t.remove_suffix(2);

    if (!t.empty() && std::string_view("KQRBNP").find(t.front()) != std::string_view::npos) {
        p->piece = piece_type_of_letter(t.front());
        t.remove_prefix(1);
    }
    if (!t.empty() && is_file(t.front())) {
        p->from_col = t.front() - 'a';
        t.remove_prefix(1);
    }
    if (!t.empty() && is_rank(t.front())) {
        p->from_row = '8' - t.front();
        t.remove_prefix(1);
    }
    if (!t.empty() && (t.front() == 'x' || t.front() == ':')) {
        p->capture = true;
        t.remove_prefix(1);
    } else if (!t.empty() && t.front() == '-') {
        t.remove_prefix(1);
    }
    return t.empty();
}

bool pattern_names(const board &brd, const move_pattern &p, san_move m) {
    const uint8_t tile = tile_at(brd, m.src);
    if (p.castle_side) {
        if (!is_castling(tile, m.src, m.dst)) return false;
        return (m.dst.col > m.src.col) == (p.castle_side == king_side);
    }
    if (!(m.dst == p.dst)) return false;
    // An ascension without a piece named is read as a queen, as other readers do.
    const uint8_t wanted_ascend = p.ascend ? p.ascend : (m.ascend ? type_queen : 0);
    if (m.ascend != wanted_ascend) return false;
    if (p.from_col >= 0 && m.src.col != p.from_col) return false;
    if (p.from_row >= 0 && m.src.row != p.from_row) return false;
    const bool whole_source = p.from_col >= 0 && p.from_row >= 0;
    if (p.piece) {
        if (kind_of(tile) != p.piece) return false;
    } else if (!whole_source && kind_of(tile) != type_pawn) {
        return false; // without a letter only a pawn, or long algebraic, names the piece
    }
    if (kind_of(tile) == type_pawn && p.from_col < 0 && (m.src.col != m.dst.col) != p.capture)
        return false; // "e4" goes straight; a capture names its file or at least an "x"
    if (!whole_source && is_castling(tile, m.src, m.dst)) return false; // "Kg1" is no O-O
    return true;
}

namespace {

void side_moves(const struct board &brd, uint8_t turn, bool keep_king_safe, side_move_list *out) {
    out->count = 0;
    const uint8_t colour = turn ? black_bit : 0;
    const coord king = find_king(&brd, turn);
    const coord *king_pos = king == no_square || !keep_king_safe ? nullptr : &king;
    destination_list list;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = brd.tiles[row][col];
            if (tile == 0 || (tile & black_bit) != colour) continue;
            const coord src{row, col};
            const uint8_t n = legal_moves(&brd, src, &list, king_pos);
            for (int i = 0; i < n; i++) {
                const coord dst = list.squares[i];
                if (!reaches_last_row(tile, dst)) {
                    out->moves[out->count++] = san_move{src, dst, 0};
                    continue;
                }
                for (uint8_t type : ascension_order) out->moves[out->count++] = {src, dst, type};
            }
        }
    }
}

} // namespace

void side_legal_moves(const struct board &brd, uint8_t turn, side_move_list *out) {
    side_moves(brd, turn, true, out);
}

void side_moves_ignoring_check(const struct board &brd, uint8_t turn, side_move_list *out) {
    side_moves(brd, turn, false, out);
}

std::string format_san(const struct board &brd, uint8_t turn, coord src, coord dst,
                       uint8_t ascend) {
    if (!on_board(src.row, src.col) || !on_board(dst.row, dst.col)) return "";
    const uint8_t tile = tile_at(brd, src);
    uint8_t ascend_to = 0;
    if (reaches_last_row(tile, dst)) ascend_to = ascend ? ascend : type_queen;
    const san_move m{src, dst, ascend_to};
    side_move_list legal;
    side_legal_moves(brd, turn, &legal);
    bool found = false;
    for (int i = 0; i < legal.count && !found; i++) found = legal.moves[i] == m;
    if (!found) return "";

    std::string san;
    if (is_castling(tile, src, dst)) {
        san = dst.col > src.col ? "O-O" : "O-O-O";
    } else if (kind_of(tile) == type_pawn) {
        if (src.col != dst.col) san += {file_char(src.col), 'x'};
        san += {file_char(dst.col), rank_char(dst.row)};
        if (m.ascend) san += {'=', san_piece_letters[m.ascend]};
    } else {
        // Disambiguate against the same kind of piece of this side reaching the same square.
        bool rival = false, rival_on_file = false, rival_on_rank = false;
        for (int i = 0; i < legal.count; i++) {
            const san_move &o = legal.moves[i];
            if (!(o.dst == dst) || o.src == src || kind_of(tile_at(brd, o.src)) != kind_of(tile))
                continue;
            rival = true;
            rival_on_file |= o.src.col == src.col;
            rival_on_rank |= o.src.row == src.row;
        }
        san += san_piece_letters[kind_of(tile)];
        if (rival && (!rival_on_file || rival_on_rank)) san += file_char(src.col);
        if (rival && rival_on_file) san += rank_char(src.row);
        if (is_capture(brd, src, dst)) san += 'x';
        san += {file_char(dst.col), rank_char(dst.row)};
    }
    return san + check_suffix(brd, turn, m);
}

bool parse_san(const struct board &brd, uint8_t turn, std::string_view token, san_move *out,
               std::string *error) {
    move_pattern p;
    if (!read_move_pattern(token, &p)) {
        *error = "not a move";
        return false;
    }
    side_move_list legal;
    side_legal_moves(brd, turn, &legal);
    int found = 0;
    for (int i = 0; i < legal.count; i++) {
        if (!pattern_names(brd, p, legal.moves[i])) continue;
        if (found++ == 0) *out = legal.moves[i];
    }
    if (found == 1) return true;
    *error = found == 0 ? "illegal move" : "ambiguous move";
    return false;
}
