#include "game/record_place.h"
#include "game/atomic_file.h"
#include "game/base_folders.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char *unfinished_name = "/current.pgn";
constexpr const char *lock_name = "/current.lock";
constexpr const char *database_name = "/games.pgn";
constexpr mode_t private_folder = 0700;

std::string state_folder() {
    const std::string base = base_folder("XDG_STATE_HOME", "/.local/state");
    return base.empty() ? "" : base + "/vartok";
}

// Takes the default place for this process. The lock lives as long as the process: its
// descriptor is never closed.
bool lock_default_place(const std::string &folder) {
    std::string error;
    if (!create_folders(folder, private_folder, &error)) return false;
    const int fd = open((folder + lock_name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    close(fd);
    return false;
}

void warn(const std::string &text) {
    std::fflush(stdout);
    std::fprintf(stderr, "vartok: %s\n", text.c_str());
}

} // namespace

std::string unfinished_game_path() {
    const std::string folder = state_folder();
    return folder.empty() ? "" : folder + unfinished_name;
}

std::string games_database_path() {
    const std::string base = base_folder("XDG_DATA_HOME", "/.local/share");
    return base.empty() ? "" : base + "/vartok" + database_name;
}

void place_record(game_record *record, const game_options &options, bool continuing) {
    record->enabled = true;
    if (!options.pgn_path.empty()) {
        record->path = options.pgn_path;
        record->database.clear();
        return;
    }
    const std::string folder = state_folder();
    record->database = games_database_path();
    if (folder.empty() || record->database.empty()) {
        record->enabled = false;
        warn("no home folder to keep the game record in");
        return;
    }
    if (!lock_default_place(folder)) {
        // Another game is being played and recorded there.
        record->path = folder + "/game-" + std::to_string(getpid()) + ".pgn";
        return;
    }
    record->path = folder + unfinished_name;
    if (continuing) return;
    std::string old, error;
    switch (read_whole_file(record->path, &old, &error)) {
    case read_status::missing:
        return;
    case read_status::failed:
        // Never overwrite what cannot be read: this game goes beside it.
        record->path = folder + "/game-" + std::to_string(getpid()) + ".pgn";
        warn("cannot read the unfinished game " + folder + unfinished_name + ": " + error);
        return;
    case read_status::read:
        break;
    }
    // A game left before its first move holds nothing worth keeping.
    pgn_game unfinished;
    if (parse_pgn(old, &unfinished, &error) && unfinished.moves.empty()) return;
    if (!create_parent_folders(record->database, private_folder, &error) ||
        !append_file_atomically(record->database, old, &error)) {
        record->path = folder + "/game-" + std::to_string(getpid()) + ".pgn";
        warn("cannot keep the unfinished game in " + record->database + ": " + error);
    }
}
