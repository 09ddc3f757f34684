#include "game/game_start.h"
#include "game/records/atomic_file.h"
#include "game/records/game_replay.h"
#include "game/records/record_place.h"
#include "game/records/resumed_game.h"
#include "game/tui/tui_game.h"
#include "rules/attack.h"
#include "rules/board_queries.h"
#include "rules/notation/notation.h"
#include "rules/notation/shown_text.h"
#include "rules/position_rules.h"

#include <string_view>

namespace {

constexpr int resume_attempts = 3;

// The half-move number of the side to move in a FEN position: 1 for White's first move.
uint32_t first_half_move(const fen_position &pos) {
    return half_move_number(pos.fullmoves == 0 ? 1 : pos.fullmoves, pos.turn);
}

bool is_usual_start(const fen_position &pos) {
    const fen_position usual = usual_start_position();
    return pos.board == usual.board && pos.turn == usual.turn && pos.fullmoves == 1;
}

// The game before the first half-move from `start`: the usual start keeps the opening book,
// any other position has it off.
game_state game_before(const fen_position &start, const game_options &options) {
    game_state game = game_from_position(start, first_half_move(start));
    if (is_usual_start(start)) game.opening = opening_book_calls;
    game.game_status.white_ai = options.white_ai;
    game.game_status.black_ai = options.black_ai;
    return game;
}

// Plays one recorded move through the game's own move code, as the turn loop does; the book
// counter goes down on the turns the recorded sides gave the computer.
void replay_move(game_state *game, const san_move &m, bool white_ai, bool black_ai) {
    const bool computer = game->game_status.turn ? black_ai : white_ai;
    if (computer && game->opening > 0) game->opening--;
    play_half_move(game, m.src, m.dst, m.ascend);
}

// Whether the command line chooses one of the game's own players for `side` (ENGINE= words
// and BLACK_HUMAN show in the options themselves).
bool chooses_own_player(int argc, char **argv, uint8_t side) {
    constexpr std::string_view prefixes[] = {"PLAYER=", "ELO=", "LEVEL="};
    for (int i = 0; i < argc; i++) {
        const std::string_view word = argv[i];
        if (side == 0 && word == "WHITE_AI") return true;
        for (std::string_view prefix : prefixes)
            if (word.starts_with(prefix)) return true;
    }
    return false;
}

// The engine command as a word to type again: quoted for the shell when it needs to be.
std::string engine_word(uint8_t side, const std::string &command) {
    const std::string word = std::string(side ? "BLACK_ENGINE=" : "WHITE_ENGINE=") + command;
    const bool plain = word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                              "0123456789_-+=.,:/@%") == std::string::npos;
    return plain ? word : "'" + word + "'";
}

// A record never starts a program: a side an engine played goes on against that engine only
// when the words name it again, and against another player when they choose one.
bool engines_named_again(const pgn_game &pgn, const game_options &options, int argc, char **argv,
                         std::string *error) {
    for (uint8_t side = 0; side <= 1; side++) {
        const std::string played = recorded_engine(pgn, side);
        const bool computer = side ? options.black_ai : options.white_ai;
        if (played.empty() || !computer || !engine_command(options, side).empty() ||
            chooses_own_player(argc, argv, side))
            continue;
        const std::string shown = shown_text(played);
        const std::string again = shown == played && played.find('\'') == std::string::npos
                                      ? "continue it with " + engine_word(side, played)
                                      : std::string("name that engine again with ") +
                                            (side ? "BLACK_ENGINE=" : "WHITE_ENGINE=");
        *error = (side ? "this game was played against '" + shown + "'"
                       : "White in this game was played by '" + shown + "'") +
                 "; " + again + ", or choose another " + (side ? "opponent" : "player") + " (" +
                 (side ? "BLACK_HUMAN, " : "") + "PLAYER=strong)";
        return false;
    }
    return true;
}

bool resume(int argc, char **argv, default_place *place, game_start *out, std::string *error) {
    resume_source source;
    // A game another run writes anew meanwhile is looked for again, to find its claim.
    for (int attempt = 1;; attempt++) {
        if (!find_resumed_game(out->options, place, &source, error)) return false;
        const resume_claim claim = claim_resumed(&out->record, source, error);
        if (claim == resume_claim::claimed) break;
        if (claim == resume_claim::refused) return false;
        if (attempt == resume_attempts) {
            *error = source.path + ": this game is being played by another run";
            return false;
        }
    }
    // The default place, unless it was looked at to find the game: where the game is kept,
    // or whose unfinished game it is.
    if (!out->options.resume_path.empty() &&
        (out->options.pgn_path.empty() || source.owner == game_owner::current)) {
        *place = open_default_place();
        if (source.owner == game_owner::current && !place->locked) {
            *error = source.path + ": another run of the game is playing it";
            return false;
        }
    }
    const pgn_game &pgn = source.game.pgn;
    fen_position start;
    replayed_game replayed;
    if (!record_start_position(pgn, &start, error) || !playable_position(start, error) ||
        !replay_moves(start, pgn.moves, &replayed, error)) {
        const int number = source.game.number;
        *error = source.path + ": " + (number > 1 ? "game " + std::to_string(number) + ": " : "") +
                 *error;
        return false;
    }
    // Sides and settings as recorded, unless the command line says otherwise.
    game_options recorded = out->options;
    recorded.white_ai = 0;
    recorded.black_ai = 1;
    apply_record_tags(pgn, &recorded);
    game_options options = recorded;
    parse_args(argc, argv, &options);
    if (!engines_named_again(pgn, options, argc, argv, error)) return false;
    // The same engine again plays as it did, unless the words give it options of their own.
    for (uint8_t side = 0; side <= 1; side++)
        if (const std::string played = recorded_engine(pgn, side);
            !played.empty() && engine_command(options, side) == played)
            options.recorded_engine_options[side] = recorded_engine_options(pgn, side);
    out->options = options;

    // The record goes on from the resumed one, its moves written anew.
    game_record &record = out->record;
    if (!place_record(&record, options, place, &source, error)) return false;
    record_resumed_game(&record, pgn, start, options);
    // The moves again, one by one: the game, each turn's start for take-backs, and the SAN.
    game_state &game = out->game;
    game = game_before(start, options);
    out->turns.clear();
    game_timing &timing = out->timing;
    timing = timing_for(options);
    if (timing.fide) note_position(&timing.positions, game.board, game.game_status.turn);
    for (size_t i = 0; i < replayed.moves.size(); i++) {
        const san_move &m = replayed.moves[i];
        out->turns.push_back({game, record.moves.size()});
        record_replayed_move(&record, game, m,
                             i < pgn.move_comments.size() ? pgn.move_comments[i] : "");
        replay_move(&game, m, recorded.white_ai, recorded.black_ai);
        if (timing.fide) note_position(&timing.positions, game.board, game.game_status.turn);
    }
    if (timing.clocks) timing.clock = clocks_of_record(record, options);
    return true;
}

// A new game from the start position (or FEN=) with `out`'s options, its record placed as
// the words say. `place_held`: this process took the default place before, for good.
bool new_game(game_start *out, std::string *error, default_place *place_in, bool place_held) {
    default_place &place = *place_in;
    const game_options &options = out->options;
    fen_position start = usual_start_position();
    if (options.fen_given) {
        if (!load_fen(options.fen, &start, error) || !playable_position(start, error)) {
            *error = "FEN=" + shown_text(options.fen) + ": " + *error;
            return false;
        }
    }
    out->game = game_before(start, options);
    out->timing = timing_for(options);
    if (out->timing.fide)
        note_position(&out->timing.positions, out->game.board, out->game.game_status.turn);
    // A FEN start is recorded with its position even when it is the usual one.
    record_new_game(&out->record, options, start, !options.fen_given);
    if (options.pgn_path.empty()) {
        place = open_default_place();
        // Its lock is this process's own: taking it again through another descriptor fails.
        if (place_held && place.problem.empty()) place.locked = true;
    }
    return place_record(&out->record, options, &place, nullptr, error);
}

} // namespace

bool playable_position(const fen_position &pos, std::string *error) {
    for (uint8_t side = 0; side <= 1; side++) {
        int kings = 0;
        for (const auto &row : pos.board.tiles)
            for (uint8_t tile : row)
                if (piece_type(tile) == type_king && (is_black(tile) ? 1 : 0) == side) kings++;
        if (kings != 1) {
            *error = std::string("the position needs exactly one ") + (side ? "black" : "white") +
                     " king";
            return false;
        }
    }
    const coord resting_king = find_king(&pos.board, !pos.turn);
    if (king_threatened(&pos.board, &resting_king, resting_king)) {
        *error = "in the position the side not to move is in check";
        return false;
    }
    return true;
}

bool prepare_game(int argc, char **argv, game_start *out, std::string *error,
                  const words_file *config) {
    out->options = game_options{};
    // The words file first: the command line overrides it, and a resumed record's tags
    // override it too (they are applied over these options, the command line again last).
    if (config && config->state == words_file_state::read) {
        std::vector<std::string> words = config->words;
        std::vector<char *> file_argv;
        for (std::string &word : words) file_argv.push_back(word.data());
        parse_args(static_cast<int>(file_argv.size()), file_argv.data(), &out->options);
        if (!out->options.error.empty()) {
            *error = config->path + ": " + out->options.error;
            return false;
        }
    }
    parse_args(argc, argv, &out->options);
    const game_options &options = out->options;
    if (!options.error.empty()) {
        *error = options.error;
        return false;
    }
    // The full-screen board needs a terminal: without one no file is touched.
    if (options.tui && !tui_usable(error)) return false;
    // The default place is looked at only when the game may be kept or found there, and
    // only once the words are known to be usable.
    default_place place;
    if (options.resume && options.resume_path.empty()) place = open_default_place();
    if (options.resume) return resume(argc, argv, &place, out, error);
    return new_game(out, error, &place, false);
}

bool start_new_game(game_start *out, bool place_held, std::string *error) {
    default_place place;
    out->options.resume = false;
    out->options.resume_path.clear();
    return new_game(out, error, &place, place_held);
}
