// The command-line words. Numbers are read as atoi reads them (leading blanks, a sign,
// digits up to the first other character, 0 without digits), but a number beyond the
// 32-bit range saturates instead of wrapping unpredictably.
#include "game/options/game_options.h"
#include "ai/classic/levels.h"
#include "ai/strong/strong_strength.h"
#include "rules/notation/notation.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long long max_movetime_ms = 24LL * 60 * 60 * 1000; // a day

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

// CLOCK=M+S sets both sides, WHITE_CLOCK= and BLACK_CLOCK= one side each. A side that no word
// names plays on the other side's time control.
void set_clock(game_options *options, const char *word, const char *value, int sides) {
    time_control control{};
    std::string error;
    if (!parse_time_control(value, &control, &error)) {
        options->error = shown_text(word) + ": " + error;
        return;
    }
    if (!options->clock) options->clocks[0] = options->clocks[1] = control;
    options->clock = true;
    for (int side = 0; side <= 1; side++)
        if (sides & (1 << side)) options->clocks[side] = control;
}

} // namespace

std::string engine_command(const game_options &options, uint8_t side) {
    if (!options.side_engines[side].empty()) return options.side_engines[side];
    const bool computer = side ? options.black_ai : options.white_ai;
    return computer ? options.engine : std::string();
}

const std::vector<std::string> &engine_options_for(const game_options &options, uint8_t side) {
    return options.engine_options.empty() ? options.recorded_engine_options[side]
                                          : options.engine_options;
}

int parse_args(int argc, char **argv, game_options *options) {
    ai_settings *settings = &options->ai;
    int ignored = 0;
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
        } else if (std::strcmp(word, "TUI") == 0) {
            options->tui = true;
        } else if (std::strcmp(word, "ASCII") == 0) {
            options->ascii = true;
        } else if (has_prefix(word, "CLOCK=")) {
            set_clock(options, word, word + 6, 3);
        } else if (has_prefix(word, "WHITE_CLOCK=")) {
            set_clock(options, word, word + 12, 1);
        } else if (has_prefix(word, "BLACK_CLOCK=")) {
            set_clock(options, word, word + 12, 2);
        } else if (std::strcmp(word, "FIDE") == 0) {
            options->fide = true;
        } else if (has_prefix(word, "ENGINE=")) {
            options->engine = word + 7;
        } else if (has_prefix(word, "WHITE_ENGINE=")) {
            options->side_engines[0] = word + 13;
            options->white_ai = 1;
        } else if (has_prefix(word, "BLACK_ENGINE=")) {
            options->side_engines[1] = word + 13;
            options->black_ai = 1;
        } else if (has_prefix(word, "ENGINE_OPTION=")) {
            const std::string option = word + 14;
            if (option.find('=') == std::string::npos || option.front() == '=')
                options->error = shown_text(word) + ": an option is written Name=Value";
            else
                options->engine_options.push_back(option);
        } else if (has_prefix(word, "ENGINE_PROTOCOL=")) {
            const std::string protocol = word + 16;
            if (protocol == "uci" || protocol == "xboard")
                options->engine_protocol = protocol;
            else
                options->error = shown_text(word) + ": the protocol is uci or xboard";
        } else if (has_prefix(word, "PLAYER=")) {
            const std::string player = word + 7;
            if (player == "strong" || player == "classic")
                options->strong = player == "strong";
            else
                options->error = shown_text(word) + ": the player is classic or strong";
        } else if (has_prefix(word, "ELO=")) {
            // The strong player below its full strength; ELO=max is full strength.
            const std::string value = word + 4;
            char *end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (value == "max") {
                options->strong = true;
                options->elo = 0;
            } else if (value.empty() || *end != '\0' || n < lowest_elo || n > full_strength_elo) {
                options->error = shown_text(word) + ": the Elo is a number from " +
                                 std::to_string(lowest_elo) + " to " +
                                 std::to_string(full_strength_elo) + ", or max";
            } else {
                options->strong = true;
                options->elo = n == full_strength_elo ? 0 : static_cast<int>(n);
            }
        } else if (has_prefix(word, "SEED=")) {
            // Digits only: strtoull would take "-1" as the largest number, and it saturates.
            const char *digits = word + 5;
            char *end = nullptr;
            errno = 0;
            const unsigned long long n = std::strtoull(digits, &end, 10);
            if (!std::isdigit(static_cast<unsigned char>(*digits)) || *end != '\0' ||
                errno == ERANGE)
                options->error = shown_text(word) + ": the seed is a whole number from 0 to " +
                                 std::to_string(ULLONG_MAX);
            else
                options->seeded = true, options->seed = n;
        } else if (has_prefix(word, "MOVETIME=")) {
            char *end = nullptr;
            const long long ms = std::strtoll(word + 9, &end, 10);
            if (end == word + 9 || *end != '\0' || ms < 1 || ms > max_movetime_ms)
                options->error = shown_text(word) +
                                 ": the time a move is a number of ms from 1 to " +
                                 std::to_string(max_movetime_ms);
            else
                options->movetime_ms = ms;
        } else if (has_prefix(word, "LEVEL=")) {
            const int32_t level = option_number(word + 6);
            if (level >= lowest_level && level <= highest_level)
                apply_level(level, settings);
            else
                options->error = shown_text(word) + ": the level is a number from " +
                                 std::to_string(lowest_level) + " to " +
                                 std::to_string(highest_level);
        } else if (std::strcmp(word, no_words_file_word) == 0) {
            // Acted on before any word is read: the words file is then skipped.
        } else {
            ignored++;
        }
    }
    return ignored;
}

bool known_word(const char *word) {
    game_options scratch;
    char *words[] = {const_cast<char *>(word)};
    return parse_args(1, words, &scratch) == 0;
}
