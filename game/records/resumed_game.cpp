#include "game/records/resumed_game.h"

#include <sys/stat.h>

namespace {

constexpr const char *unfinished = "*";

// What a file offers to resume: the game asked for by number, or its last unfinished one.
struct file_choice {
    bool numbered = false; // FILE#N: the N-th game; else the last unfinished one
    int wanted = 0;
    int games = 0;
    bool found = false;
    database_game game;
    std::string last_result;
};

read_status choose_in_file(const std::string &path, bool follow_link, file_choice *choice,
                           file_identity *file, std::string *error) {
    return read_pgn_file(
        path, follow_link,
        [&](const database_game &g) {
            choice->games++;
            choice->last_result = g.pgn.result;
            if (choice->numbered ? g.number == choice->wanted : g.pgn.result == unfinished) {
                choice->game = g;
                choice->found = true;
            }
            return true;
        },
        error, file);
}

// "FILE#N" names the N-th game of FILE, unless a file of that whole name exists.
void split_game_number(const std::string &word, std::string *path, file_choice *choice) {
    *path = word;
    const std::size_t hash = word.rfind('#');
    if (hash == std::string::npos || hash + 1 == word.size() || word.size() - hash > 10 ||
        word.find_first_not_of("0123456789", hash + 1) != std::string::npos)
        return;
    struct stat st;
    if (lstat(word.c_str(), &st) == 0) return;
    *path = word.substr(0, hash);
    choice->numbered = true;
    choice->wanted = std::stoi(word.substr(hash + 1));
}

bool from_default_place(const default_place &place, resume_source *source, std::string *error) {
    if (!place.problem.empty()) {
        *error = place.problem;
        return false;
    }
    // The unfinished game, unless another run is playing it.
    file_choice choice;
    if (place.locked) {
        if (choose_in_file(place.current, false, &choice, &source->file, error) ==
            read_status::failed)
            return false;
        if (choice.found && !choice.game.pgn.moves.empty()) {
            *source = {place.current, choice.game, source->file, game_owner::current};
            return true;
        }
    }
    choice = {};
    if (choose_in_file(place.database, false, &choice, &source->file, error) == read_status::failed)
        return false;
    if (!choice.found) {
        *error = place.current + ": no unfinished game to resume" +
                 (place.locked ? "" : " (another run of the game is playing there)");
        return false;
    }
    *source = {place.database, choice.game, source->file, game_owner::database};
    return true;
}

} // namespace

bool find_resumed_game(const game_options &options, const default_place *place,
                       resume_source *source, std::string *error) {
    if (options.resume_path.empty()) return from_default_place(*place, source, error);
    file_choice choice;
    std::string path;
    split_game_number(options.resume_path, &path, &choice);
    switch (choose_in_file(path, true, &choice, &source->file, error)) {
    case read_status::missing:
        *error = path + ": no such file";
        return false;
    case read_status::failed:
        return false;
    case read_status::read:
        break;
    }
    if (choice.games == 0) {
        *error = path + ": no game found";
        return false;
    }
    if (choice.numbered && !choice.found) {
        *error = path + ": there is no game " + std::to_string(choice.wanted) + ", only " +
                 std::to_string(choice.games);
        return false;
    }
    if (choice.found && choice.game.pgn.result != unfinished) {
        *error = options.resume_path + ": the game is over (" + choice.game.pgn.result + ")";
        return false;
    }
    if (!choice.found) {
        *error = choice.games == 1 ? path + ": the game is over (" + choice.last_result + ")"
                                   : path + ": none of its " + std::to_string(choice.games) +
                                         " games is unfinished";
        return false;
    }
    source->path = path;
    source->game = choice.game;
    source->owner = owner_of_file(source->file, path);
    return true;
}
