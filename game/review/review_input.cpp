#include "game/review/review_input.h"

#include "client/engine_position.h"
#include "game/records/game_replay.h"
#include "game/records/pgn_database.h"
#include "game/records/record_place.h"

#include <algorithm>
#include <cstdlib>

namespace {

// "games.pgn#3" names the third game; a '#' not followed by digits alone is part of the name.
void split_game_number(const std::string &where, std::string *path, long *number) {
    *path = where;
    *number = 0;
    const size_t hash = where.rfind('#');
    if (hash == std::string::npos || hash + 1 == where.size()) return;
    const std::string digits = where.substr(hash + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return;
    *path = where.substr(0, hash);
    // "#0" names no game: -1 makes the search report it rather than take the last one.
    *number = std::max(std::strtol(digits.c_str(), nullptr, 10), -1L);
    if (*number == 0) *number = -1;
}

bool find_game(const std::string &path, long number, bool finished_only, pgn_game *out,
               std::string *error) {
    bool found = false;
    const auto visit = [&](const database_game &g) {
        if (number != 0) {
            if (g.number != number) return true;
            *out = g.pgn;
            found = true;
            return false;
        }
        if (finished_only && g.pgn.result == "*") return true;
        *out = g.pgn;
        found = true;
        return true;
    };
    const read_status status = read_pgn_file(path, true, visit, error);
    if (status == read_status::missing) {
        *error = path + ": no such file";
        return false;
    }
    if (status == read_status::failed) return false;
    if (!found) {
        *error = path + (number != 0 ? ": there is no game " + std::to_string(std::max(number, 0L))
                         : finished_only ? ": no finished game"
                                         : ": no game");
        return false;
    }
    return true;
}

} // namespace

bool read_review_input(const std::string &where, review_input *out, std::string *error) {
    std::string path;
    long number = 0;
    split_game_number(where, &path, &number);
    const bool database = where.empty();
    if (database) {
        path = games_database_path();
        if (path.empty()) {
            *error = "no home folder: name the PGN file to review";
            return false;
        }
    }
    pgn_game record;
    if (!find_game(path, number, database, &record, error)) return false;
    const std::string label = number != 0 ? path + "#" + std::to_string(number) : path;
    if (!review_input_of_record(record, label, out, error)) return false;
    out->path = path;
    return true;
}

bool review_input_of_record(const pgn_game &record, const std::string &label, review_input *out,
                            std::string *error) {
    review_input input;
    input.record = record;
    fen_position start;
    std::string why;
    replayed_game replayed;
    if (!record_start_position(input.record, &start, &why) ||
        !replay_moves(start, input.record.moves, &replayed, &why)) {
        *error = label + ": " + why;
        return false;
    }
    if (const char *unreachable = unreachable_position(start)) {
        *error = label + ": bad FEN tag: " + unreachable;
        return false;
    }
    const bool usual = pgn_tag_value(input.record, "FEN") == nullptr;
    input.start = usual ? new_game() : game_from_position(start, searched_turn_count(start));
    input.first_fullmove = start.fullmoves == 0 ? 1 : start.fullmoves;
    input.white_first = start.turn == 0;
    input.moves = replayed.moves;
    game_state now = input.start;
    input.positions.push_back(now);
    for (const san_move &m : input.moves) {
        input.san.push_back(format_san(now.board, now.game_status.turn, m.src, m.dst, m.ascend));
        play_legal_move(&now, m);
        input.positions.push_back(now);
    }
    *out = std::move(input);
    return true;
}

game_moves game_at(const review_input &input, size_t index) {
    game_moves g;
    g.start = input.start;
    g.moves.assign(input.moves.begin(), input.moves.begin() + static_cast<long>(index));
    g.now = input.positions[index];
    return g;
}

std::vector<std::string> line_in_san(game_state from, const std::vector<san_move> &line) {
    std::vector<std::string> out;
    for (const san_move &m : line) {
        const std::string san =
            format_san(from.board, from.game_status.turn, m.src, m.dst, m.ascend);
        if (san.empty()) break;
        out.push_back(san);
        play_legal_move(&from, m);
    }
    return out;
}
