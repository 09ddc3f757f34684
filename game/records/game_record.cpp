#include "game/records/game_record.h"
#include "game/records/atomic_file.h"
#include "game/records/pgn_database.h"
#include "game/records/record_place.h"
#include "rules/notation/notation.h"
#include "rules/time/clock_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>
#include <unistd.h>

namespace {

constexpr const char *settings_tag = "VartokSettings";
constexpr const char *rules_tag = "VartokRules"; // "FIDE" when the standard draw rules apply
constexpr const char *fide_rules = "FIDE";
constexpr const char *program = "program";
constexpr const char *human = "human";
constexpr const char *the_words[] = {"DEPTH1=", "DEPTH2=",   "BLUNDERS=", "DEADEND=", "LIMIT=",
                                     "PLAYER=", "MOVETIME=", "ELO=",      "SEED="};
constexpr int date_size = 16;
constexpr int host_size = 256;

void set_tag(pgn_game *pgn, const char *name, const std::string &value) {
    for (pgn_tag &tag : pgn->tags)
        if (tag.name == name) {
            tag.value = value;
            return;
        }
    pgn->tags.push_back({name, value});
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[date_size];
    std::strftime(date, sizeof date, "%Y.%m.%d", &local);
    return date;
}

std::string host_name() {
    char host[host_size] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == 0) return "?";
    return host;
}

// The tags that keep each side's engine command and options, for the messages of RESUME and
// to give the same engine its options again.
constexpr const char *engine_tags[] = {"WhiteEngine", "BlackEngine"};
constexpr const char *engine_option_tags[] = {"WhiteEngineOptions", "BlackEngineOptions"};
constexpr char option_separator = ';';

void erase_tag(pgn_game *pgn, const char *name) {
    std::erase_if(pgn->tags, [&](const pgn_tag &tag) { return tag.name == name; });
}

// "UCI_LimitStrength=true;UCI_Elo=1500", a ';' or '\\' within an option escaped by '\\'.
std::string joined_options(const std::vector<std::string> &options) {
    std::string text;
    for (const std::string &option : options) {
        if (!text.empty()) text += option_separator;
        for (char c : option) {
            if (c == option_separator || c == '\\') text += '\\';
            text += c;
        }
    }
    return text;
}

std::vector<std::string> split_options(const std::string &text) {
    std::vector<std::string> options(1);
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\\' && i + 1 < text.size())
            options.back() += text[++i];
        else if (text[i] == option_separator)
            options.emplace_back();
        else
            options.back() += text[i];
    }
    if (options.back().empty()) options.pop_back();
    return options;
}

bool contains_word(std::string name, std::initializer_list<const char *> words) {
    for (char &c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char *word : words)
        if (name.find(word) != std::string::npos) return true;
    return false;
}

// A record is shared like any file: an option that names a file or folder (a log file the
// engine would write, a table folder) is not taken from it, nor one without a name.
bool safe_recorded_option(const std::string &option) {
    const size_t equals = option.find('=');
    if (equals == 0 || equals == std::string::npos) return false;
    const std::string name = option.substr(0, equals);
    const std::string value = option.substr(equals + 1);
    return !contains_word(name, {"file", "path", "dir", "log", "book"}) &&
           value.find('/') == std::string::npos;
}

std::string player_name(uint8_t side, bool computer, const game_options &options) {
    if (!computer) return "Person";
    if (!options.engine_names[side].empty()) return options.engine_names[side];
    if (options.strong) {
        // On a clock the player budgets its time from the clock: no move time is used.
        const std::string name =
            options.elo ? "Vartok strong at Elo " + std::to_string(options.elo) : "Vartok strong";
        return options.clock ? name
                             : name + " (" + std::to_string(options.movetime_ms) + " ms a move)";
    }
    const ai_settings &settings = options.ai;
    return "Vartok (depths " + std::to_string(settings.depth1) + "/" +
           std::to_string(settings.depth2) + ")";
}

bool is_settings_word(const std::string &word) {
    for (const char *prefix : the_words)
        if (word.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

// The time controls of the TimeControl tags: one for both sides, or one each with odds.
void apply_clock_tags(const pgn_game &pgn, game_options *options) {
    time_control both{};
    if (const std::string *tc = pgn_tag_value(pgn, "TimeControl");
        tc && parse_time_control_tag_value(*tc, &both)) {
        options->clock = true;
        options->clocks[0] = options->clocks[1] = both;
    }
    const char *side_tags[] = {"WhiteTimeControl", "BlackTimeControl"};
    for (int side = 0; side <= 1; side++) {
        time_control one{};
        if (const std::string *tc = pgn_tag_value(pgn, side_tags[side]);
            tc && parse_time_control_tag_value(*tc, &one)) {
            if (!options->clock) options->clocks[0] = options->clocks[1] = one;
            options->clock = true;
            options->clocks[side] = one;
        }
    }
}

} // namespace

std::string settings_words(const ai_settings &settings) {
    // DEADEND=n sets the threshold to -n; the largest threshold stands for the smallest n.
    const int64_t deadend = -static_cast<int64_t>(settings.global_deadend_score);
    return "DEPTH1=" + std::to_string(settings.depth1) +
           " DEPTH2=" + std::to_string(settings.depth2) +
           " BLUNDERS=" + std::to_string(settings.blunders) +
           " DEADEND=" + std::to_string(deadend) +
           " LIMIT=" + std::to_string(settings.deadend_limit);
}

void apply_record_tags(const pgn_game &pgn, game_options *options) {
    if (const std::string *white = pgn_tag_value(pgn, "WhiteType"))
        options->white_ai = *white == program ? 1 : 0;
    if (const std::string *black = pgn_tag_value(pgn, "BlackType"))
        options->black_ai = *black == program ? 1 : 0;
    if (const std::string *rules = pgn_tag_value(pgn, rules_tag))
        options->fide = *rules == fide_rules;
    apply_clock_tags(pgn, options);
    const std::string *words = pgn_tag_value(pgn, settings_tag);
    if (!words) return;
    std::istringstream in(*words);
    std::vector<std::string> kept;
    for (std::string word; in >> word;)
        if (is_settings_word(word)) kept.push_back(word);
    std::vector<char *> argv;
    for (std::string &word : kept) argv.push_back(word.data());
    game_options from_tag = *options;
    parse_args(static_cast<int>(argv.size()), argv.data(), &from_tag);
    options->ai = from_tag.ai;
    options->strong = from_tag.strong;
    options->movetime_ms = from_tag.movetime_ms;
    options->elo = from_tag.elo;
    options->seeded = from_tag.seeded;
    options->seed = from_tag.seed;
}

std::string recorded_engine(const pgn_game &pgn, uint8_t side) {
    const std::string *type = pgn_tag_value(pgn, side ? "BlackType" : "WhiteType");
    const std::string *command = pgn_tag_value(pgn, engine_tags[side]);
    return type && *type == program && command ? *command : std::string();
}

std::vector<std::string> recorded_engine_options(const pgn_game &pgn, uint8_t side) {
    std::vector<std::string> kept;
    if (const std::string *text = pgn_tag_value(pgn, engine_option_tags[side]))
        for (const std::string &option : split_options(*text))
            if (safe_recorded_option(option)) kept.push_back(option);
    return kept;
}

void record_set_players(game_record *record, const game_options &options) {
    pgn_game &pgn = record->pgn;
    set_tag(&pgn, "White", player_name(0, options.white_ai, options));
    set_tag(&pgn, "Black", player_name(1, options.black_ai, options));
    for (uint8_t side = 0; side <= 1; side++)
        if (const std::string command = engine_command(options, side); !command.empty()) {
            set_tag(&pgn, engine_tags[side], command);
            if (const auto &given = engine_options_for(options, side); !given.empty())
                set_tag(&pgn, engine_option_tags[side], joined_options(given));
            else
                erase_tag(&pgn, engine_option_tags[side]);
        } else {
            erase_tag(&pgn, engine_tags[side]);
            erase_tag(&pgn, engine_option_tags[side]);
        }
    set_tag(&pgn, "WhiteType", options.white_ai ? program : human);
    set_tag(&pgn, "BlackType", options.black_ai ? program : human);
    std::string words = settings_words(options.ai);
    if (options.strong) words += " PLAYER=strong MOVETIME=" + std::to_string(options.movetime_ms);
    if (options.strong && options.elo) words += " ELO=" + std::to_string(options.elo);
    if (options.strong && options.seeded) words += " SEED=" + std::to_string(options.seed);
    set_tag(&pgn, settings_tag, words);
    if (options.clock)
        for (const clock_tag &tag : time_control_tags(options.clocks[0], options.clocks[1]))
            set_tag(&pgn, tag.name.c_str(), tag.value);
    if (options.fide) set_tag(&pgn, rules_tag, fide_rules);
}

void record_new_game(game_record *record, const game_options &options, const fen_position &start,
                     bool usual_start) {
    pgn_game &pgn = record->pgn;
    pgn = {};
    record->moves.clear();
    record->finished = false;
    set_tag(&pgn, "Event", "Vartok game");
    set_tag(&pgn, "Site", host_name());
    set_tag(&pgn, "Date", today());
    set_tag(&pgn, "Round", "-");
    record_set_players(record, options);
    if (!usual_start) {
        set_tag(&pgn, "SetUp", "1");
        set_tag(&pgn, "FEN", format_fen(start));
    }
    record->first_fullmove = start.fullmoves == 0 ? 1 : start.fullmoves;
    record->first_turn = start.turn;
    set_tag(&pgn, "Termination", "unterminated");
}

void record_resumed_game(game_record *record, const pgn_game &old, const fen_position &start,
                         const game_options &options) {
    record->pgn = old;
    record->pgn.moves.clear();
    record->pgn.result.assign(1, '*'); // unfinished again
    record->pgn.final_comment.clear();
    record->moves.clear();
    record->finished = false;
    record->first_fullmove = start.fullmoves == 0 ? 1 : start.fullmoves;
    record->first_turn = start.turn;
    for (pgn_tag &tag : record->pgn.tags)
        if (tag.name == "Termination") tag.value = "unterminated";
    record_set_players(record, options);
}

chess_clock clocks_of_record(const game_record &record, const game_options &options) {
    int64_t last[2] = {no_reading, no_reading};
    uint8_t side = record.first_turn;
    for (const recorded_move &m : record.moves) {
        int64_t ms;
        if (read_clk_annotation(m.comment, &ms)) last[side] = ms;
        side = !side;
    }
    return clock_from_readings(options.clocks[0], options.clocks[1], last[0], last[1]);
}

uint32_t record_first_half_move(const game_record &record) {
    return half_move_number(record.first_fullmove, record.first_turn);
}

void record_replayed_move(game_record *record, const game_state &before, const san_move &move,
                          const std::string &comment) {
    record->moves.push_back(
        {move, format_san(before.board, before.game_status.turn, move.src, move.dst, move.ascend),
         comment});
}

pgn_game record_pgn(const game_record &record) {
    pgn_game pgn = record.pgn;
    pgn.moves.clear();
    pgn.move_comments.clear();
    for (const recorded_move &m : record.moves) {
        pgn.moves.push_back(m.san);
        pgn.move_comments.push_back(m.comment);
    }
    return pgn;
}

namespace {

// The record as PGN text: its tags, result and comment, with its moves.
std::string record_text(const game_record &record) {
    return format_pgn(record_pgn(record));
}

void warn_once(game_record *record, const std::string &text) {
    if (record->warned) return;
    record->warned = true;
    std::fflush(stdout);
    std::fprintf(stderr, "vartok: %s\n", text.c_str());
}

// A record the game could not read back is not written.
bool fits_a_record(const std::string &text, std::string *error) {
    if (text.size() <= largest_game_record) return true;
    *error = "the record would be larger than " + std::to_string(largest_game_record >> 20) +
             " MB, which the game does not read back";
    return false;
}

} // namespace

void record_save(game_record *record) {
    if (!record->enabled) return;
    if (!record->placed) settle_record_place(record);
    std::string error;
    const std::string text = record_text(*record);
    record->saved =
        fits_a_record(text, &error) && create_parent_folders(record->path, 0700, &error) &&
        (record->shared ? write_shared_game(record->path, &record->in_database, text, &error)
                        : write_file_atomically(record->path, text, &error));
    if (!record->saved) {
        warn_once(record, "cannot keep the game record in " + record->path + ": " + error);
        return;
    }
    claim_written_record(&record->claims, text);
    if (!record->taken.path.empty()) release_taken_game(record);
}

void record_move(game_record *record, const game_state &before, const san_move &move,
                 const std::string &comment) {
    record_replayed_move(record, before, move, comment);
    record_save(record);
}

void record_end(game_record *record, const game_outcome &outcome) {
    if (!record->enabled || record->finished) return;
    record->finished = true;
    record->pgn.result = outcome.result;
    record->pgn.final_comment = outcome.reason;
    set_tag(&record->pgn, "Termination", outcome.termination);
    // A game over before its first move is no game to keep, unless a clock decided it.
    if (record->moves.empty() && !record->saved &&
        std::string_view(outcome.termination) == "normal")
        return;
    if (record->database.empty()) {
        record_save(record);
        return;
    }
    if (!record->placed) settle_record_place(record);
    // Into the database first, then away from the unfinished place: a crash in between
    // leaves the game twice, never nowhere.
    std::string error;
    const std::string text = record_text(*record);
    if (fits_a_record(text, &error) && create_parent_folders(record->database, 0700, &error) &&
        append_file_atomically(record->database, text, &error)) {
        // Even after a failed last write the file may hold an earlier state of the game.
        unlink(record->path.c_str());
        record->saved = false;
        return;
    }
    record_save(record);
    warn_once(record, "cannot add the game to " + record->database + ": " + error);
}

void record_truncate(game_record *record, size_t count) {
    if (record->moves.size() > count) record->moves.resize(count);
    record_save(record);
}
