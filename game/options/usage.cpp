#include "game/options/usage.h"
#include "ai/classic/ai_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef VARTOK_VERSION
#define VARTOK_VERSION "unknown"
#endif

namespace {

// One command-line word of the game as the usage lists it.
struct usage_word {
    const char *word;
    const char *effect;
    std::string default_value;
};

// Every word the game knows, in the order the usage lists them.
const usage_word usage_words[] = {
    {"GRAPHICS", "also show the board in a window", "text only"},
    {"WHITE_AI", "the computer plays White", "a person plays White"},
    {"BLACK_HUMAN", "a person plays Black", "the computer plays Black"},
    {"DEPTH1=n", "depth of the computer's first pass", std::to_string(default_depth1)},
    {"DEPTH2=n", "depth of the computer's second pass", std::to_string(default_depth2)},
    {"BLUNDERS=n", "the computer takes a worse move once in n (0: never)", "0"},
    {"DEADEND=n", "the computer's dead-end threshold is -n",
     std::to_string(-default_deadend_score)},
    {"LIMIT=n", "the dead-end threshold's rise per ply", std::to_string(default_deadend_limit)},
    {"LEVEL=n", "the five settings above from a preset, 1 to 8", "none"},
    {"PGN=FILE", "add the game to the games in FILE", "~/.local/state/vartok"},
    {"RESUME", "continue the unfinished game kept there", "a new game"},
    {"RESUME=FILE", "continue the last unfinished game in FILE", "a new game"},
    {"FEN=...", "start from this position (quote the word)", "usual start"},
    {"COMMANDS", "typed moves (Nf3, e2e4) and commands (see help)", "off"},
    {"UNICODE", "the text board with chess symbols", "letters"},
    {"FLIP", "Black at the bottom when a person plays Black", "off"},
    {"PANEL", "the window's right part shows the game", "off"},
    {"TUI", "the game on one full screen of the terminal", "off"},
    {"ASCII", "with TUI: pieces as letters, not chess symbols", "symbols"},
    {"PLAYER=name", "strong: a real opponent (LEVEL etc.: classic)", "classic"},
    {"ELO=n", "the strong player at about n Elo (800..2800, max)", "max"},
    {"SEED=n", "the weakened player's choices repeat", "drawn anew"},
    {"MOVETIME=ms", "the strong player's time a move without clocks", "1000"},
    {"ENGINE=CMD", "an outside engine plays the computer's side(s)", "none"},
    {"WHITE_ENGINE=CMD", "an outside engine plays White", "none"},
    {"BLACK_ENGINE=CMD", "an outside engine plays Black", "none"},
    {"ENGINE_OPTION=N=V", "sets an engine's option N to V (again for more)", "none"},
    {"ENGINE_PROTOCOL=P", "uci or xboard: the engine is not asked which", "asked"},
    {"CLOCK=M+S", "clocks: M minutes, S s a move, both sides", "none"},
    {"WHITE_CLOCK=M+S", "White's clock alone (odds)", "CLOCK="},
    {"BLACK_CLOCK=M+S", "Black's clock alone (odds)", "CLOCK="},
    {"FIDE", "the standard draw rules (claims: draw)", "off"},
    {"--no-config", "do not read the words file (below)", "read"},
};

constexpr std::size_t word_column = 11; // "BLACK_HUMAN"

constexpr const char *help_words[] = {"--help", "-h"};
constexpr const char *version_word = "--version";

bool asks_for_help(const char *word) {
    for (const char *help : help_words)
        if (std::strcmp(word, help) == 0) return true;
    return false;
}

} // namespace

void print_usage(const words_file &config) {
    std::puts("Usage: vartok [WORD...]\n"
              "       vartok --help | -h | --version\n"
              "\n"
              "Chess in the terminal, with an optional window. Before every half-move the board\n"
              "is printed; type the square of a piece, then its destination (e2, then e4).\n"
              "Type draw to claim a draw after more than 50 half-moves without a pawn move or\n"
              "capture. Messages such as CHECK. wait for the Enter key.\n"
              "\n"
              "Words (case-sensitive; a later word overrides an earlier one):");
    // A word longer than the column stands on a line of its own, its text below.
    for (const usage_word &w : usage_words) {
        if (std::strlen(w.word) > word_column)
            std::printf("  %s\n  %-*s", w.word, static_cast<int>(word_column), "");
        else
            std::printf("  %-*s", static_cast<int>(word_column), w.word);
        std::printf("  %s; default: %s\n", w.effect, w.default_value.c_str());
    }
    std::puts("\n"
              "Exit status: 0 when the game ended or the window was closed; 1 when standard\n"
              "input ended, standard output could not be written, memory ran out, a sprite\n"
              "file was short or the font missing; 2 when a word cannot be used (RESUME, PGN=,\n"
              "FEN=, LEVEL=, PLAYER=, MOVETIME=, CLOCK=...).\n"
              "LEVEL, DEPTH1, DEPTH2, BLUNDERS, DEADEND and LIMIT set the classic player only.\n"
              "ELO=n is on the CCRL Blitz scale, as measured by games at 100 ms a move against\n"
              "Stockfish's Skill Levels (1320 to 2363); the classic levels play below 1000.\n");
    std::puts("Words file (words one or more a line, # comments; read before the command line,\n"
              "which overrides it):");
    std::printf("  %s\n", describe_words_file(config).c_str());
    std::puts("\nSee vartok(6) for more.");
}

int answer_usage_request(int argc, char **argv, const words_file &config) {
    for (int i = 1; i < argc; i++) {
        if (asks_for_help(argv[i])) {
            print_usage(config);
            return 0;
        }
        if (std::strcmp(argv[i], version_word) == 0) {
            std::puts("vartok " VARTOK_VERSION);
            return 0;
        }
    }
    return -1;
}
