// vartok-analyse [options] FEN: lets the computer player make one move in the given
// position. Standard output holds exactly its report lines, then "FEN: " and the position
// after the move (unchanged when there is no legal move); the time taken goes to standard
// error.
#include "ai/classic/root_rating.h"
#include "game/running_game.h"
#include "game/turns/computer_turn.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/fen.h"
#include "tools/tool-help/tool_help.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

constexpr const char *usage =
    "usage: vartok-analyse [--seed N] [--turn N] [--depth1 N] [--depth2 N] [--blunders N]\n"
    "                      [--deadend N] [--limit N] [--threads N] FEN\n"
    "Lets the computer player make one move in the position FEN (its words may be given\n"
    "apart or quoted as one). Standard output holds its report lines, then \"FEN: \" and the\n"
    "position after the move; the time taken goes to standard error.\n"
    "  --seed N      the random seed (default 1)\n"
    "  --turn N      the half-move number, from 2 (default: from the FEN's move number)\n"
    "  --depth1 N    --depth2 N    --blunders N    --deadend N    --limit N\n"
    "                the settings of the game's DEPTH1=, DEPTH2=, BLUNDERS=, DEADEND=, LIMIT=\n"
    "  --threads N   search threads, 1 to 64 (default: one per core)\n";

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
        std::fputs(usage, stderr);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (const int help = answer_help(argc, argv, usage); help >= 0) return help;
    analyse_options o;
    if (!parse_options(argc, argv, &o)) return usage_status;
    fen_position pos;
    std::string error, ignored;
    if (!load_fen(o.fen, &pos, &error, &ignored)) {
        std::fprintf(stderr, "vartok-analyse: %s\n", error.c_str());
        return usage_status;
    }
    if (!ignored.empty()) std::fprintf(stderr, "vartok-analyse: %s\n", ignored.c_str());
    if (const char *unreachable = unreachable_position(pos)) {
        std::fprintf(stderr, "vartok-analyse: %s\n", unreachable);
        return usage_status;
    }
    // From the move number as the engine derives it, unless given.
    const long long turn = o.turn >= 0 ? o.turn : searched_turn_count(pos);
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
    const auto search = new_search_context(static_cast<unsigned>(o.seed));

    // The game's own computer turn: the same report lines, move and ascension. A side without
    // any legal move ends the game there, with its message; the position, unchanged, is
    // still printed.
    const auto start = std::chrono::steady_clock::now();
    running_game run;
    const computer_move m = do_ai_move(&run, search.get(), &game, settings);
    if (m.ending) {
        close_game(&run, *m.ending, nullptr);
        std::printf("FEN: %s\n", format_fen(pos).c_str());
        return 0;
    }
    const ai_decision &decision = m.decision;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const uint32_t fullmoves = pos.fullmoves + (pos.turn == side_black ? 1 : 0);
    std::printf("FEN: %s\n", format_fen(position_of(game, fullmoves)).c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "%.3f s, %llu positions rated\n", seconds,
                 static_cast<unsigned long long>(decision.positions_rated));
    return 0;
}
