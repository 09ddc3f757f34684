// The command-line words. Numbers are read as atoi reads them (leading blanks, a sign,
// digits up to the first other character, 0 without digits), but a number beyond the
// 32-bit range saturates instead of wrapping unpredictably.
#include "ai/levels.h"
#include "game/settings.h"
#include "rules/notation.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

int32_t option_number(const char *text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Kept in 8 bits: reduced modulo 256.
uint8_t option_byte(const char *text) {
    return static_cast<uint8_t>(option_number(text));
}

bool has_prefix(const char *word, const char *prefix) {
    return std::strncmp(word, prefix, std::strlen(prefix)) == 0;
}

} // namespace

void parse_args(int argc, char **argv, game_options *options) {
    ai_settings *settings = &options->ai;
    for (int i = 0; i < argc; i++) {
        const char *word = argv[i];
        if (std::strcmp(word, "GRAPHICS") == 0) {
            options->graphics = 1;
        } else if (std::strcmp(word, "WHITE_AI") == 0) {
            options->white_ai = 1;
        } else if (std::strcmp(word, "BLACK_HUMAN") == 0) {
            options->black_ai = 0;
        } else if (has_prefix(word, "DEPTH1=")) {
            settings->depth1 = option_byte(word + 7);
        } else if (has_prefix(word, "DEPTH2=")) {
            settings->depth2 = option_byte(word + 7);
        } else if (has_prefix(word, "BLUNDERS=")) {
            settings->blunders = option_byte(word + 9);
        } else if (has_prefix(word, "DEADEND=")) {
            const int32_t n = option_number(word + 8);
            settings->global_deadend_score = n == INT32_MIN ? INT32_MAX : -n;
        } else if (has_prefix(word, "LIMIT=")) {
            settings->deadend_limit = option_number(word + 6);
        } else if (has_prefix(word, "PGN=")) {
            options->pgn_path = word + 4;
        } else if (std::strcmp(word, "RESUME") == 0) {
            options->resume = true;
            options->resume_path.clear();
        } else if (has_prefix(word, "RESUME=")) {
            options->resume = true;
            options->resume_path = word + 7;
        } else if (has_prefix(word, "FEN=")) {
            options->fen = word + 4;
            options->fen_given = true;
        } else if (std::strcmp(word, "COMMANDS") == 0) {
            options->commands = true;
        } else if (std::strcmp(word, "UNICODE") == 0) {
            options->unicode = true;
        } else if (std::strcmp(word, "FLIP") == 0) {
            options->flip = true;
        } else if (std::strcmp(word, "PANEL") == 0) {
            options->panel = true;
        } else if (has_prefix(word, "LEVEL=")) {
            const int32_t level = option_number(word + 6);
            if (level >= lowest_level && level <= highest_level)
                apply_level(level, settings);
            else
                options->error = shown_text(word) + ": the level is a number from " +
                                 std::to_string(lowest_level) + " to " +
                                 std::to_string(highest_level);
        }
        // Any other word is ignored.
    }
}
