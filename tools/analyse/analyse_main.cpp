// vartok-analyse [options] FEN: lets the computer player make one move in the given
// position. Standard output holds exactly its report lines, then "FEN: " and the position
// after the move (unchanged when there is no legal move); the time taken goes to standard
// error.
#include "ai/root_rating.h"
#include "game/computer_turn.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/fen.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int usage_status = 2;
constexpr uint32_t lowest_turn = 2; // the castling bonus divides by turn_count / 2

struct analyse_options {
    long long seed = 1;
    long long turn = -1; // from the FEN unless given
    uint8_t depth1 = default_depth1;
    uint8_t depth2 = default_depth2;
    uint8_t blunders = 0;
    int32_t deadend_score = default_deadend_score;
    int32_t deadend_limit = default_deadend_limit;
    unsigned threads = default_search_threads();
    std::string fen;
};

void usage(std::FILE *to) {
    std::fprintf(to, "usage: vartok-analyse [--seed N] [--turn N] [--depth1 N] [--depth2 N] "
                     "[--blunders N] [--deadend N] [--limit N] [--threads N] FEN\n");
}

bool parse_number(const char *text, long long *out) {
    char *end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0) return false;
    *out = v;
    return true;
}

int32_t clamp32(long long v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

// Returns false after a message when the words are not usable.
bool parse_options(int argc, char **argv, analyse_options *o) {
    for (int i = 1; i < argc; i++) {
        const char *word = argv[i];
        if (std::strncmp(word, "--", 2) != 0) {
            if (!o->fen.empty()) o->fen += ' ';
            o->fen += word;
            continue;
        }
        long long v = 0;
        if (i + 1 >= argc || !parse_number(argv[i + 1], &v)) {
            std::fprintf(stderr, "vartok-analyse: %s needs a number\n", word);
            return false;
        }
        i++;
        if (std::strcmp(word, "--seed") == 0) {
            o->seed = v;
        } else if (std::strcmp(word, "--turn") == 0) {
            o->turn = v;
        } else if (std::strcmp(word, "--depth1") == 0) {
            o->depth1 = static_cast<uint8_t>(v); // kept in 8 bits, as the option words do
        } else if (std::strcmp(word, "--depth2") == 0) {
            o->depth2 = static_cast<uint8_t>(v);
        } else if (std::strcmp(word, "--blunders") == 0) {
            o->blunders = static_cast<uint8_t>(v);
        } else if (std::strcmp(word, "--deadend") == 0) {
            const int32_t n = clamp32(v);
            o->deadend_score = n == INT32_MIN ? INT32_MAX : -n;
        } else if (std::strcmp(word, "--limit") == 0) {
            o->deadend_limit = clamp32(v);
        } else if (std::strcmp(word, "--threads") == 0) {
            if (v < 1 || v > max_search_threads) {
                std::fprintf(stderr, "vartok-analyse: --threads must be 1 to %d\n",
                             max_search_threads);
                return false;
            }
            o->threads = static_cast<unsigned>(v);
        } else {
            std::fprintf(stderr, "vartok-analyse: unknown option %s\n", word);
            return false;
        }
    }
    if (o->fen.empty()) {
        usage(stderr);
        return false;
    }
    return true;
}

fen_position unchanged_position;
bool moved = false;

void print_unchanged_position() {
    if (!moved) std::printf("FEN: %s\n", format_fen(unchanged_position).c_str());
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        usage(stdout);
        return 0;
    }
    analyse_options o;
    if (!parse_options(argc, argv, &o)) return usage_status;
    fen_position pos;
    std::string error;
    if (!load_fen(o.fen, &pos, &error)) {
        std::fprintf(stderr, "vartok-analyse: %s\n", error.c_str());
        return usage_status;
    }
    if (const char *unreachable = unreachable_position(pos)) {
        std::fprintf(stderr, "vartok-analyse: %s\n", unreachable);
        return usage_status;
    }
    const long long turn =
        o.turn >= 0 ? o.turn : 2 * (static_cast<long long>(pos.fullmoves) - 1) + 1 + pos.turn;
    if (turn < lowest_turn || turn > UINT32_MAX) {
        std::fprintf(stderr, "vartok-analyse: the half-move number must be from %u to %u\n",
                     lowest_turn, UINT32_MAX);
        return usage_status;
    }

    game_state game = game_from_position(pos, static_cast<uint32_t>(turn));
    ai_settings settings;
    settings.depth1 = o.depth1;
    settings.depth2 = o.depth2;
    settings.blunders = o.blunders;
    settings.global_deadend_score = o.deadend_score;
    settings.deadend_limit = o.deadend_limit;
    settings.threads = o.threads;
    std::srand(static_cast<unsigned>(o.seed));

    // The game's own computer turn: the same report lines, move and promotion. A side without
    // any legal move ends the game inside do_ai_move; the position, unchanged, is still
    // printed on the way out.
    unchanged_position = pos;
    std::atexit(print_unchanged_position);
    const auto start = std::chrono::steady_clock::now();
    const ai_decision decision = do_ai_move(&game, settings);
    moved = true;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    game.game_status.turn = !game.game_status.turn;
    const uint32_t fullmoves = pos.fullmoves + (pos.turn == side_black ? 1 : 0);
    std::printf("FEN: %s\n", format_fen(position_of(game, fullmoves)).c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "%.3f s, %llu positions rated\n", seconds,
                 static_cast<unsigned long long>(decision.positions_rated));
    return 0;
}
