#include "game/game_record.h"
#include "game/atomic_file.h"
#include "game/record_place.h"
#include "rules/notation.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>
#include <unistd.h>

namespace {

constexpr const char *settings_tag = "VartokSettings";
constexpr const char *program = "program";
constexpr const char *human = "human";
constexpr const char *the_words[] = {"DEPTH1=", "DEPTH2=", "BLUNDERS=", "DEADEND=", "LIMIT="};
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

std::string player_name(bool computer, const ai_settings &settings) {
    if (!computer) return "Person";
    return "Vartok (depths " + std::to_string(settings.depth1) + "/" +
           std::to_string(settings.depth2) + ")";
}

bool is_settings_word(const std::string &word) {
    for (const char *prefix : the_words)
        if (word.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
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
}

void record_set_players(game_record *record, const game_options &options) {
    pgn_game &pgn = record->pgn;
    set_tag(&pgn, "White", player_name(options.white_ai, options.ai));
    set_tag(&pgn, "Black", player_name(options.black_ai, options.ai));
    set_tag(&pgn, "WhiteType", options.white_ai ? program : human);
    set_tag(&pgn, "BlackType", options.black_ai ? program : human);
    set_tag(&pgn, settings_tag, settings_words(options.ai));
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

uint32_t record_first_half_move(const game_record &record) {
    return half_move_number(record.first_fullmove, record.first_turn);
}

void record_replayed_move(game_record *record, const game_state &before, const san_move &move) {
    record->moves.push_back(
        {move, format_san(before.board, before.game_status.turn, move.src, move.dst, move.ascend)});
}

namespace {

// The record as PGN text: its tags, result and comment, with its moves.
std::string record_text(const game_record &record) {
    pgn_game pgn = record.pgn;
    pgn.moves.clear();
    for (const recorded_move &m : record.moves) pgn.moves.push_back(m.san);
    return format_pgn(pgn);
}

void warn_once(game_record *record, const std::string &text) {
    if (record->warned) return;
    record->warned = true;
    std::fflush(stdout);
    std::fprintf(stderr, "vartok: %s\n", text.c_str());
}

// The earlier games kept once are, from then on, the beginning of the file as written.
void keep_what_was_written(kept_games *before) {
    if (before->ranges.empty() && before->separator.empty()) return;
    uint64_t length = before->separator.size();
    for (const byte_range &r : before->ranges) length += r.end - r.begin;
    before->ranges.assign(1, {0, length});
    before->separator.clear();
}

} // namespace

void record_save(game_record *record) {
    if (!record->enabled) return;
    if (!record->placed) settle_record_place(record);
    std::string error;
    record->saved =
        create_parent_folders(record->path, 0700, &error) &&
        rewrite_file(record->path, record->before.ranges,
                     record->before.separator + record_text(*record), &record->before.file, &error);
    if (!record->saved) {
        warn_once(record, "cannot keep the game record in " + record->path + ": " + error);
        return;
    }
    keep_what_was_written(&record->before);
    if (!record->taken.path.empty()) release_taken_game(record);
}

void record_move(game_record *record, const game_state &before, const san_move &move) {
    record_replayed_move(record, before, move);
    record_save(record);
}

void record_end(game_record *record, const game_outcome &outcome) {
    if (!record->enabled || record->finished) return;
    record->finished = true;
    record->pgn.result = outcome.result;
    record->pgn.final_comment = outcome.reason;
    set_tag(&record->pgn, "Termination", "normal");
    // A game over before its first move is no game to keep.
    if (record->moves.empty() && !record->saved) return;
    if (record->database.empty()) {
        record_save(record);
        return;
    }
    if (!record->placed) settle_record_place(record);
    // Into the database first, then away from the unfinished place: a crash in between
    // leaves the game twice, never nowhere.
    std::string error;
    if (create_parent_folders(record->database, 0700, &error) &&
        append_file_atomically(record->database, record_text(*record), &error)) {
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
