#include "rules/fast/fast_position.h"

#include <array>

namespace fast {

namespace {

using namespace bitboards;

constexpr uint64_t splitmix(uint64_t &state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct key_tables {
    uint64_t piece[64][16];
    uint64_t moved[64];
    uint64_t en_passant[64];
    uint64_t side;
};

constexpr key_tables make_keys() {
    key_tables k{};
    uint64_t state = 0x56415254414B2021ull;
    for (auto &sq : k.piece)
        for (uint64_t &v : sq) v = splitmix(state);
    for (uint64_t &v : k.moved) v = splitmix(state);
    for (uint64_t &v : k.en_passant) v = splitmix(state);
    k.side = splitmix(state);
    return k;
}

constexpr key_tables keys = make_keys();

// Writes a tile and keeps the sets (not the key) up.
inline void put_tile(position *pos, int sq, uint8_t tile) {
    const uint8_t old = pos->tiles[sq];
    const bitboard b = bit(sq);
    if (old) {
        pos->kind[old & piece_mask] ^= b;
        pos->colour[(old >> 3) & 1] ^= b;
    }
    if (tile) {
        pos->kind[tile & piece_mask] ^= b;
        pos->colour[(tile >> 3) & 1] ^= b;
    }
    pos->tiles[sq] = tile;
}

// Writes a tile, keeps the key up and notes the old tile for unmaking.
inline void change_tile(position *pos, undo_record *undo, int sq, uint8_t tile) {
    const uint8_t old = pos->tiles[sq];
    undo->square[undo->count] = static_cast<uint8_t>(sq);
    undo->old_tile[undo->count++] = old;
    pos->key ^= tile_key(sq, old) ^ tile_key(sq, tile);
    pos->piece_key ^= piece_key_of_tile(sq, old) ^ piece_key_of_tile(sq, tile);
    put_tile(pos, sq, tile);
}

void save_state(const position &pos, undo_record *undo) {
    undo->key = pos.key;
    undo->piece_key = pos.piece_key;
    undo->clock = pos.clock;
    undo->ep_pawn = pos.ep_pawn;
    undo->count = 0;
    undo->captured = 0;
}

// The flag lives one move only: whatever the move, it lapses.
void clear_en_passant(position *pos, undo_record *undo) {
    if (pos->ep_pawn == no_square_index) return;
    change_tile(pos, undo, pos->ep_pawn,
                static_cast<uint8_t>(pos->tiles[pos->ep_pawn] & ~en_passant_flag));
    pos->ep_pawn = no_square_index;
}

} // namespace

uint64_t tile_key(int sq, uint8_t tile) {
    if (!tile) return 0;
    uint64_t k = keys.piece[sq][tile & piece_mask];
    if (tile & has_moved_flag) k ^= keys.moved[sq];
    if (tile & en_passant_flag) k ^= keys.en_passant[sq];
    return k;
}

uint64_t side_key() {
    return keys.side;
}

uint64_t piece_key_of_tile(int sq, uint8_t tile) {
    if (!tile) return 0;
    const uint8_t piece = tile & piece_mask;
    const uint8_t compared =
        is_pawn(piece) ? static_cast<uint8_t>((piece & black_bit) | type_pawn) : piece;
    return keys.piece[sq][compared];
}

// The moved and en-passant tables serve again: these keys never mix with tile_key's.
uint64_t castling_key(int rook_corner) {
    return keys.moved[rook_corner];
}

uint64_t en_passant_key(int sq) {
    return keys.en_passant[sq];
}

uint64_t board_key_of(const struct board &brd) {
    uint64_t k = 0;
    const uint8_t *tiles = &brd.tiles[0][0];
    for (int sq = 0; sq < 64; sq++) k ^= tile_key(sq, tiles[sq]);
    return k;
}

uint64_t key_from_scratch(const position &pos) {
    uint64_t k = 0;
    for (int sq = 0; sq < 64; sq++) k ^= tile_key(sq, pos.tiles[sq]);
    return pos.side ? k ^ keys.side : k;
}

uint64_t piece_key_from_scratch(const position &pos) {
    uint64_t k = 0;
    for (int sq = 0; sq < 64; sq++) k ^= piece_key_of_tile(sq, pos.tiles[sq]);
    return k;
}

position position_from_board(const struct board &brd, uint8_t side, uint32_t clock) {
    position pos{};
    const uint8_t *tiles = &brd.tiles[0][0];
    pos.ep_pawn = no_square_index;
    for (int sq = 0; sq < 64; sq++) {
        put_tile(&pos, sq, tiles[sq]);
        // Only the pawn that just made its two-square step carries the flag, and only the
        // mover's opponent can take it.
        if ((tiles[sq] & en_passant_flag) && is_pawn(tiles[sq]))
            pos.ep_pawn = static_cast<int8_t>(sq);
    }
    pos.side = side ? 1 : 0;
    pos.clock = clock;
    pos.key = key_from_scratch(pos);
    pos.piece_key = piece_key_from_scratch(pos);
    return pos;
}

position position_of_game(const game_state &game) {
    return position_from_board(game.board, game.game_status.turn,
                               game.game_status.moves_pawn_capture);
}

struct board board_of(const position &pos) {
    struct board brd {};
    for (int sq = 0; sq < 64; sq++) brd.tiles[sq / 8][sq % 8] = pos.tiles[sq];
    return brd;
}

bitboard attackers_of(const position &pos, int sq, bitboard occ) {
    const bitboard *k = pos.kind;
    const bitboard rooks =
        k[type_rook] | k[type_queen] | k[black_bit | type_rook] | k[black_bit | type_queen];
    const bitboard bishops =
        k[type_bishop] | k[type_queen] | k[black_bit | type_bishop] | k[black_bit | type_queen];
    const bitboard white_pawns = k[type_pawn] | k[type_pawn_unmoved];
    const bitboard black_pawns = k[black_bit | type_pawn] | k[black_bit | type_pawn_unmoved];
    return ((tables.pawn_attack[1][sq] & white_pawns) | (tables.pawn_attack[0][sq] & black_pawns) |
            (tables.knight[sq] & (k[type_knight] | k[black_bit | type_knight])) |
            (tables.king[sq] & (k[type_king] | k[black_bit | type_king])) |
            (rook_attacks(sq, occ) & rooks) | (bishop_attacks(sq, occ) & bishops)) &
           occ;
}

bool attacked(const position &pos, int sq, int by, bitboard occ) {
    // By's king never stands on a square asked about (its own king's, or an empty one).
    return attacked_by(pos.kind, sq, by ? black_bit : 0, occ);
}

void make_move(position *pos, move16 m, undo_record *undo) {
    save_state(*pos, undo);
    const int from = move_from(m), to = move_to(m);
    const uint8_t p = pos->tiles[from];
    uint8_t captured = pos->tiles[to];
    clear_en_passant(pos, undo);

    uint8_t moved = p;
    int new_ep = no_square_index;
    switch (p & type_mask) {
    case type_pawn_unmoved:
        moved = static_cast<uint8_t>((p & black_bit) | type_pawn);
        if (to - from == 16 || from - to == 16) {
            moved |= en_passant_flag;
            new_ep = to;
        }
        break;
    case type_pawn:
        // En passant: the captured pawn stands beside the source square.
        if ((from & 7) != (to & 7) && captured == 0) {
            const int beside = (from & ~7) | (to & 7);
            captured = pos->tiles[beside];
            change_tile(pos, undo, beside, 0);
        }
        break;
    case type_king:
        if (to - from == 2 || from - to == 2) {
            const int row_start = from & ~7;
            const int rook_from = row_start + (to < from ? 0 : 7);
            const int rook_to = row_start + (to < from ? 3 : 5);
            change_tile(pos, undo, rook_to,
                        static_cast<uint8_t>(pos->tiles[rook_from] | has_moved_flag));
            change_tile(pos, undo, rook_from, 0);
        }
        break;
    default:
        break;
    }
    moved |= has_moved_flag;
    if (const int ascend = move_ascend(m)) moved = static_cast<uint8_t>((moved & 0xF8) | ascend);
    change_tile(pos, undo, from, 0);
    change_tile(pos, undo, to, moved);

    undo->captured = captured;
    if (captured || is_pawn(p))
        pos->clock = 0;
    else
        pos->clock++;
    pos->ep_pawn = static_cast<int8_t>(new_ep);
    pos->side ^= 1;
    pos->key ^= keys.side;
}

void make_null_move(position *pos, undo_record *undo) {
    save_state(*pos, undo);
    clear_en_passant(pos, undo);
    pos->side ^= 1;
    pos->key ^= keys.side;
}

void unmake_move(position *pos, const undo_record &undo) {
    for (int i = undo.count - 1; i >= 0; i--) put_tile(pos, undo.square[i], undo.old_tile[i]);
    pos->key = undo.key;
    pos->piece_key = undo.piece_key;
    pos->clock = undo.clock;
    pos->ep_pawn = undo.ep_pawn;
    pos->side ^= 1;
}

} // namespace fast
