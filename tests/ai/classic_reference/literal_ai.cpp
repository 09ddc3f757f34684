#include "tests/ai/classic_reference/literal_ai.h"

#include "ai/classic/ai_settings.h"
#include "rules/position_rules.h"
#include "tests/support/literal_rules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace literal {
namespace {

constexpr int64_t smallest_score = INT64_MIN;
constexpr int32_t largest_int32 = 2147483647;
constexpr int64_t mate_found_above = 2147483646;
constexpr int64_t draw_avoid_floor = -536870910;

uint8_t depth = 0;
uint8_t max_depth = 0;
uint64_t a = 0;
// The game being played and the settings of this call of do_ai_move.
game_state *live = nullptr;
ai_settings cfg;

struct piece_cache {
    uint8_t move_count;
    struct move *moves;
    coord *legal_moves;
};
piece_cache all_moves[board_size][board_size];

struct counts {
    uint8_t queen, rook, bishop, knight, pawn;
};

counts count_pieces(const struct board *brd, uint8_t side) {
    counts c{};
    const uint8_t colour = side ? black_bit : 0;
    for (const auto &row : brd->tiles)
        for (uint8_t tile : row) {
            if ((tile & black_bit) != colour) continue;
            switch (tile & type_mask) {
            case type_pawn_unmoved:
            case type_pawn:
                c.pawn++;
                break;
            case type_rook:
                c.rook++;
                break;
            case type_knight:
                c.knight++;
                break;
            case type_bishop:
                c.bishop++;
                break;
            case type_queen:
                c.queen++;
                break;
            default:
                break;
            }
        }
    return c;
}

int8_t measure(const counts &c) {
    return static_cast<int8_t>(2 * c.queen + c.rook + (c.bishop + c.knight) / 2);
}

bool odd_ply() {
    return (depth & 1) != 0;
}

// Two's-complement arithmetic on 32 and 64 bits, without undefined overflow.
int32_t add32(int32_t x, int32_t y) {
    return static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(y));
}
int32_t mul32(int32_t x, int32_t y) {
    return static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
}
int64_t add64(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) + static_cast<uint64_t>(y));
}
int64_t sub64(int64_t x, int64_t y) {
    return static_cast<int64_t>(static_cast<uint64_t>(x) - static_cast<uint64_t>(y));
}

uint64_t ascend_value(uint8_t piece) {
    if (piece == type_queen) return 994;
    if (piece == type_bishop) return 350;
    if (piece == type_rook) return 548;
    return 305;
}

int8_t rate_move(struct move *mv, const struct board *brd, uint8_t turn);

void continuation(struct move *mv, struct board *temp, uint8_t turn, coord king_pos,
                  int32_t deadend_score, int8_t non_aggressiveness) {
    if (odd_ply()) {
        const int32_t bound = add32(deadend_score, mul32(cfg.deadend_limit, depth));
        if (!(mv->score > bound)) return;
    } else {
        const int32_t bound =
            add32(mul32(-1, deadend_score), mul32(-1, mul32(cfg.deadend_limit, depth)));
        if (!(mv->score < bound)) return;
    }
    struct move opmax {};
    opmax.score = smallest_score;
    uint32_t legal_move_count = 0;
    const uint8_t other = !turn;
    for (uint8_t row = 0; row < board_size; row++) {
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = temp->tiles[row][col];
            if (tile == 0 || is_black(tile) != (other != 0)) continue;
            const coord pc_coords{row, col};
            coord list[max_destinations];
            const uint8_t move_count = literal::legal_moves(temp, pc_coords, list, &king_pos);
            if (move_count == 0) continue;
            legal_move_count += move_count;
            struct move lmove {};
            lmove.src = pc_coords;
            for (int k = move_count - 1; k >= 0; k--) {
                lmove.dst = list[k];
                rate_move(&lmove, temp, other);
                if (lmove.score > opmax.score) opmax = lmove;
                if (lmove.staledraw) {
                    mv->staledraw = 1;
                } else {
                    if (lmove.checkmate_found < mv->checkmate_found)
                        mv->checkmate_found = lmove.checkmate_found;
                    if (opmax.score > mate_found_above) break;
                }
            }
        }
    }
    if (live->turn_count > 5) mv->score = sub64(mv->score, legal_move_count >> depth);
    if (odd_ply()) {
        mv->score = sub64(mv->score, opmax.score / (non_aggressiveness * depth));
    } else {
        mv->score = sub64(mv->score, static_cast<int64_t>(static_cast<uint64_t>(opmax.score) * 2));
    }
}

int8_t rate_move(struct move *mv, const struct board *brd, uint8_t turn) {
    int64_t check_score = 1;
    int32_t deadend_score = cfg.global_deadend_score;
    uint32_t pawn_move_score = 10;
    mv->score = 0;
    mv->ascend = 0;
    mv->staledraw = 0;
    mv->checkmate_found = no_checkmate;
    if (depth >= max_depth) return -1;
    struct board temp = *brd;
    depth++;
    const uint8_t other = !turn;
    const counts cur_op = count_pieces(brd, other);
    const counts cur_my = count_pieces(brd, turn);
    int8_t s = measure(cur_op);
    const int8_t r = measure(cur_my);
    int8_t non_aggressiveness = 1;
    if (s <= 1) {
        if (r <= 2) pawn_move_score = 10 << 4;
        if (s == 0) {
            check_score = 32767;
            deadend_score = add32(deadend_score, mul32(-1, cfg.deadend_limit));
        }
    } else {
        if (cur_op.queen > cur_my.queen) non_aggressiveness++;
        if (cur_op.rook > cur_my.rook) non_aggressiveness += (cur_op.rook - cur_my.rook) / 2;
        s = s - r;
    }
    a++;
    const uint8_t tile = brd->tiles[mv->src.row][mv->src.col];
    const uint8_t type = tile & type_mask;
    if (type == type_king && std::abs(mv->dst.col - mv->src.col) == 2)
        mv->score += 1000u / (live->turn_count / 2u);
    if (type == type_pawn_unmoved || type == type_pawn) mv->score += pawn_move_score;
    const int ascend_required = literal::move_piece(&temp, mv->src, mv->dst);
    const coord king_pos = literal::find_king(&temp, other);
    const counts mov_op = count_pieces(&temp, other);
    mv->score += static_cast<int32_t>((cur_op.queen - mov_op.queen) * 994);
    mv->score += static_cast<int32_t>((cur_op.rook - mov_op.rook) * 548);
    mv->score += static_cast<int32_t>((cur_op.knight - mov_op.knight) * 305);
    mv->score += static_cast<int32_t>((cur_op.bishop - mov_op.bishop) * 350);
    mv->score += static_cast<int32_t>((cur_op.pawn - mov_op.pawn) * 100);
    int stale = literal::check_stale(&live->game_status, &temp, king_pos, depth);
    if (live->turn_count >= 4 && stale >= 4) {
        mv->score += odd_ply() ? 6000 : -6000;
        mv->staledraw = 1;
    } else if (stale == 2) {
        mv->score += odd_ply() ? 4000 : -4000;
        if (depth <= 2) mv->staledraw = 1;
    } else if (stale == 3) {
        if (odd_ply())
            mv->score += largest_int32 - depth;
        else
            mv->score += largest_int32 / static_cast<int32_t>(depth);
        mv->checkmate_found = depth;
    } else {
        if (stale == 1) mv->score += check_score;
        if (!ascend_required) {
            continuation(mv, &temp, turn, king_pos, deadend_score, non_aggressiveness);
        } else {
            const int64_t noascend_score = mv->score;
            int64_t ascend_max_score = smallest_score;
            for (uint8_t ascend = type_rook; ascend <= type_queen; ascend++) {
                literal::ascend_piece(&temp, mv->dst, ascend);
                stale =
                    literal::check_stale(&live->game_status, &temp, king_pos, no_repetition_test);
                if (stale == 1) {
                    mv->score = noascend_score + 1;
                    continuation(mv, &temp, turn, king_pos, deadend_score, non_aggressiveness);
                } else if (stale == 2) {
                    mv->score = noascend_score + (odd_ply() ? 4000 : -4000);
                } else if (stale == 3) {
                    const int32_t mate =
                        odd_ply() ? largest_int32 : largest_int32 / static_cast<int32_t>(depth);
                    mv->score = noascend_score + static_cast<int64_t>(ascend_value(ascend)) + mate;
                } else {
                    mv->score = noascend_score + static_cast<int64_t>(ascend_value(ascend));
                }
                if (mv->score >= ascend_max_score) {
                    ascend_max_score = mv->score;
                    mv->ascend = ascend;
                }
            }
        }
    }
    depth--;
    return s;
}

uint64_t moves_above_score(int64_t score) {
    uint64_t n = 0;
    for (auto &row : all_moves)
        for (auto &pm : row)
            for (int k = 0; k < pm.move_count; k++)
                if (pm.moves[k].score >= score) n++;
    return n;
}

int ai_opening() {
    if (live->opening == 0) return 0;
    live->opening--;
    coord src, dst;
    if (live->turn_count == 1) {
        src = {6, 4};
        dst = {4, 4};
    } else if (live->turn_count == 2) {
        if (live->board.tiles[4][4] == 194) {
            src = {1, 2};
            dst = {3, 2};
        } else if (live->board.tiles[4][3] == 194) {
            src = {1, 5};
            dst = {3, 5};
        } else {
            return 0;
        }
    } else {
        return 0;
    }
    literal::play_move(live, src, dst);
    literal::log_move(live);
    return 1;
}

} // namespace

uint64_t analysed_count() {
    return a;
}

int8_t rate_move_alone(game_state *game, const ai_settings &settings, struct move *mv,
                       const struct board *brd, uint8_t turn, uint8_t max_plies) {
    live = game;
    cfg = settings;
    max_depth = max_plies;
    a = 0;
    return rate_move(mv, brd, turn);
}

int8_t rate_move_to_depth(struct move *mv, uint8_t d) {
    max_depth = d;
    const int8_t s = rate_move(mv, &live->board, live->game_status.turn);
    if (mv->checkmate_found != no_checkmate)
        std::printf("Found %s checkmate at depth %u\n",
                    (mv->checkmate_found & 1) ? "my" : "opponent's", mv->checkmate_found);
    return s;
}

void do_ai_move(game_state *game, const ai_settings &settings, coord king_pos) {
    live = game;
    cfg = settings;
    static const char *const ascends[] = {"rook", "knight", "bishop", "queen"};
    if (ai_opening() == 1) return;
    std::memset(all_moves, 0, sizeof all_moves);
    struct move max {};
    struct move max_nostale {};
    max_nostale.score = smallest_score;
    // Wide, so that a second pass never wraps back into the depth range: with 8 bits,
    // settings such as cfg.depth2 255 would pass for ever.
    unsigned d = cfg.depth1;
    a = 0;
    int64_t bestval_limit2 = 0;
    uint32_t total_moves = 0;
    uint8_t i = 0;
    int64_t bestval = smallest_score + 1000;
    bool blunder = false;
    bool ended = false;
    // A rating at the very bottom of the range can lose every comparison; the first rated
    // move is then played.
    bool chosen = false;
    struct move first_rated {};
    bool have_first_rated = false;
    // One pass at cfg.depth1 when cfg.depth2 lies below it.
    while (d <= cfg.depth2 || (i == 0 && cfg.depth2 < cfg.depth1)) {
        max.score = smallest_score;
        for (uint8_t row = 0; row < board_size && !ended; row++) {
            for (uint8_t col = 0; col < board_size && !ended; col++) {
                const uint8_t tile = live->board.tiles[row][col];
                if (tile == 0 || is_black(tile) != (live->game_status.turn != 0)) continue;
                piece_cache &piece_moves = all_moves[row][col];
                const coord pc_coords{row, col};
                if (i == 0) {
                    piece_moves.legal_moves = new coord[max_destinations];
                    piece_moves.move_count = literal::legal_moves(
                        &live->board, pc_coords, piece_moves.legal_moves, &king_pos);
                    if (piece_moves.move_count != 0) {
                        piece_moves.moves = new struct move[piece_moves.move_count]();
                    } else {
                        delete[] piece_moves.legal_moves;
                        piece_moves.legal_moves = nullptr;
                    }
                }
                total_moves += piece_moves.move_count;
                for (int k = piece_moves.move_count - 1; k >= 0; k--) {
                    struct move &mv = piece_moves.moves[k];
                    if (mv.score < bestval) continue;
                    mv.src = pc_coords;
                    mv.dst = piece_moves.legal_moves[k];
                    const int8_t s = rate_move_to_depth(&mv, static_cast<uint8_t>(d));
                    if (std::getenv("LITERAL_DEBUG"))
                        std::fprintf(stderr, "%c%c%c%c %lld cf %u sd %u\n", 'a' + mv.src.col,
                                     '8' - mv.src.row, 'a' + mv.dst.col, '8' - mv.dst.row,
                                     (long long)mv.score, mv.checkmate_found, mv.staledraw);
                    if (i == 0) bestval_limit2 = add64(bestval_limit2, mv.score);
                    if (!have_first_rated) first_rated = mv;
                    have_first_rated = true;
                    if (mv.score > max.score || (mv.score == max.score && (std::rand() & 7) == 0)) {
                        max = mv;
                        chosen = true;
                        if (max.staledraw && max.score >= draw_avoid_floor && s < -1)
                            std::puts("Trying to avoid draw...");
                        else
                            max_nostale = max;
                    } else if (cfg.blunders != 0 && std::rand() % cfg.blunders == 0 &&
                               mv.score < max.score) {
                        max = mv;
                        blunder = true;
                        ended = true;
                        break;
                    }
                    if (max.score > mate_found_above) {
                        ended = true;
                        break;
                    }
                }
            }
        }
        if (ended) break;
        std::printf("depth %u: Analyzed %lu possible situations.\n", d,
                    static_cast<unsigned long>(a));
        if (total_moves == 0) {
            // No legal move: the game ends here and the board stays as it is.
            const bool in_check = literal::king_threatened(&live->board, &king_pos, king_pos);
            std::fflush(stdout);
            if (in_check) {
                char text[80];
                std::snprintf(text, sizeof text, "Checkmate. %s won.\n",
                              live->game_status.turn ? "White" : "Black");
                std::puts(text);
            } else
                std::puts("Stalemate.");
            std::fflush(stdout);
            std::exit(0);
        }
        if (live->turn_count <= 3 || cfg.depth2 == cfg.depth1 || cfg.depth2 < cfg.depth1) break;
        if (i == 0) {
            bestval_limit2 = bestval_limit2 / static_cast<int64_t>(total_moves);
            std::printf("Total moves: %u, average score: %lli\n", total_moves,
                        static_cast<long long>(bestval_limit2));
            bestval_limit2 = bestval_limit2 + (max.score - bestval_limit2) / 2;
            if (moves_above_score(bestval_limit2) < 2) break;
            std::printf("Recalculating moves with score >= %lli using depth %u.\n",
                        static_cast<long long>(bestval_limit2), cfg.depth2);
        }
        d += static_cast<uint8_t>(cfg.depth2 - cfg.depth1);
        bestval = bestval_limit2;
        i++;
        a = 0;
    }
    for (auto &row : all_moves) {
        for (auto &pm : row) {
            delete[] pm.legal_moves;
            delete[] pm.moves;
            pm = {};
        }
    }
    if (!chosen && !blunder) max = first_rated;
    if (max.staledraw && max_nostale.score != smallest_score) max = max_nostale;
    std::printf("%u: Moving %c%c to %c%c (score: %lli)\n", live->turn_count, 'a' + max.src.col,
                '8' - max.src.row, 'a' + max.dst.col, '8' - max.dst.row,
                static_cast<long long>(max.score));
    if (literal::play_move(live, max.src, max.dst)) {
        if (max.ascend == 0) max.ascend = type_queen;
        literal::ascend_piece(&live->board, max.dst, max.ascend);
        std::printf("Ascended to %s\n", ascends[max.ascend - type_rook]);
    }
    literal::log_move(live);
}

} // namespace literal
