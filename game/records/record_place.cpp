#include "game/records/record_place.h"
#include "game/options/base_folders.h"
#include "game/options/folder_trust.h"
#include "game/records/atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *unfinished_name = "/current.pgn";
constexpr const char *lock_name = "/current.lock";
constexpr const char *database_name = "/games.pgn";
constexpr const char *other_run_prefix = "game-";
constexpr const char *pgn_suffix = ".pgn";
constexpr mode_t private_folder = 0700;

std::string state_folder() {
    const std::string base = base_folder("XDG_STATE_HOME", "/.local/state");
    return base.empty() ? "" : base + "/vartok";
}

void warn(const std::string &text) {
    std::fflush(stdout);
    std::fprintf(stderr, "vartok: %s\n", text.c_str());
}

// Takes the default place for this process. The lock lives as long as the process: its
// descriptor is never closed. Never through a link, and only a file of this user's.
bool lock_default_place(const std::string &folder) {
    const int fd = open((folder + lock_name).c_str(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    close(fd);
    return false;
}

bool same_file(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool is_file(const std::string &path, const struct stat &st) {
    struct stat other;
    return lstat(path.c_str(), &other) == 0 && same_file(st, other);
}

// The process id in the name of another run's record ("game-123.pgn"), or 0.
pid_t other_run_of(const std::string &name) {
    const std::string prefix = other_run_prefix, suffix = pgn_suffix;
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix))
        return 0;
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return static_cast<pid_t>(std::stol(digits));
}

std::string other_run_path(const std::string &folder, pid_t pid) {
    return folder + "/" + other_run_prefix + std::to_string(pid) + pgn_suffix;
}

// The records other runs left beside the unfinished game whose process is gone.
std::vector<std::string> left_by_other_runs(const std::string &folder) {
    std::vector<std::string> found;
    DIR *dir = opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent *entry = readdir(dir)) {
        const pid_t pid = other_run_of(entry->d_name);
        if (pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH)
            found.push_back(folder + "/" + entry->d_name);
    }
    closedir(dir);
    return found;
}

// What a record of an earlier run holds: worth moving into the database when it has a
// move or a result.
struct earlier_record {
    bool worth_keeping = false;
    std::string last_result; // of its last game
    uint64_t size = 0;
};

read_status look_at_earlier_record(const std::string &path, earlier_record *found,
                                   std::string *error) {
    *found = {};
    const read_status status = read_pgn_file(
        path, false,
        [&](const database_game &g) {
            found->worth_keeping |= !g.pgn.moves.empty() || g.pgn.result != "*";
            found->last_result = g.pgn.result;
            return true;
        },
        error, nullptr, &found->size);
    if (status == read_status::read && found->size > largest_game_record) {
        *error = path + ": too large for a game record";
        return read_status::failed;
    }
    return status;
}

// The number in the database of the game that begins at `offset` (0 when it cannot be
// read back).
int number_at(const std::string &database, uint64_t offset) {
    int number = 0;
    std::string error;
    read_pgn_file(
        database, false,
        [&](const database_game &g) {
            if (g.place.begin < offset) return true;
            number = g.number;
            return false;
        },
        &error);
    return number;
}

// Moves the record of an earlier run into the database, and says where it went. A record
// without a move or a result is just removed. `taken`, a resumed game about to leave the
// database, is counted out of the number the advice gives.
bool move_into_database(const std::string &path, const std::string &database,
                        const taken_game &taken, std::string *error) {
    earlier_record found;
    switch (look_at_earlier_record(path, &found, error)) {
    case read_status::missing:
        return true;
    case read_status::failed:
        return false;
    case read_status::read:
        break;
    }
    if (!found.worth_keeping) return unlink(path.c_str()) == 0 || errno == ENOENT;
    std::string text;
    uint64_t offset = 0;
    if (read_whole_file(path, &text, error) != read_status::read ||
        !create_parent_folders(database, private_folder, error) ||
        !append_file_atomically(database, text, error, &offset))
        return false;
    // In the database first, then away from here: a crash in between leaves the game twice,
    // never nowhere.
    unlink(path.c_str());
    int number = number_at(database, offset);
    if (number > 0 && taken.path == database && taken.number > 0 && taken.number < number) number--;
    const std::string game = found.last_result == "*" ? "the unfinished game" : "the game";
    if (number == 0)
        warn(game + " of " + path + " is now at the end of " + database);
    else if (found.last_result != "*")
        warn(game + " of " + path + " is now game " + std::to_string(number) + " of " + database);
    else
        warn(game + " of " + path + " is now game " + std::to_string(number) + " of " + database +
             "; continue it with RESUME=" + database + "#" + std::to_string(number));
    return true;
}

// A resumed game of the game's own files leaves them once it is written at its new place.
void take_away(game_record *record, const resume_source *source) {
    if (!source || source->owner == game_owner::person) return;
    record->taken = {source->path, source->game.pgn, source->game.number,
                     source->owner != game_owner::database};
}

void keep_beside(game_record *record, const std::string &folder) {
    record->path = other_run_path(folder, getpid());
    record->resume_word = "RESUME=" + record->path;
}

// PGN=FILE: the game goes after the file's games, which other runs may write meanwhile; a
// resumed game of the same file leaves its old place once it is written there.
bool place_in_file(game_record *record, const std::string &path, const resume_source *source,
                   std::string *error) {
    sweep_stale_temp_files(path);
    record->path = path;
    record->database.clear();
    record->resume_word = "RESUME=" + path;
    record->placed = true;
    record->shared = true;
    record->in_database = {};
    open_claims(&record->claims, state_folder());
    int fd = -1;
    std::string why;
    take_away(record, source);
    switch (open_to_read(path, false, &fd, &why)) {
    case read_status::missing:
        return true;
    case read_status::failed:
        *error = path + ": " + why;
        return false;
    case read_status::read:
        break;
    }
    struct stat st;
    fstat(fd, &st);
    const bool resumed_here =
        source && source->file.device == st.st_dev && source->file.inode == st.st_ino;
    const bool database = read_pgn_database(
        fd, [](const database_game &) { return true; }, &why);
    close(fd);
    if (!database) {
        *error = path + " is not a PGN database, so it is left as it is (" + why + ")";
        return false;
    }
    // Its new text is added first: a crash in between leaves the game twice, never nowhere.
    if (resumed_here) record->taken = {path, source->game.pgn, source->game.number, false};
    return true;
}

// The default place: the unfinished game's file unless another run holds it, or a file
// there cannot be moved away.
void place_at_default(game_record *record, const default_place &place,
                      const resume_source *source) {
    record->database = place.database;
    if (!place.problem.empty()) {
        record->enabled = false;
        warn(place.problem);
        return;
    }
    open_claims(&record->claims, place.folder);
    const bool continuing = source && source->owner == game_owner::current;
    if (!continuing) take_away(record, source);
    if (!place.locked) {
        keep_beside(record, place.folder);
        record->placed = true;
        return;
    }
    record->path = place.current;
    record->resume_word = "RESUME";
    if (!continuing) {
        earlier_record found;
        std::string error;
        switch (look_at_earlier_record(place.current, &found, &error)) {
        case read_status::missing:
            break;
        case read_status::failed:
            // Never overwrite what cannot be read as a record: this game goes beside it.
            keep_beside(record, place.folder);
            warn(error + "; it is left alone, and this game is kept in " + record->path);
            break;
        case read_status::read:
            if (!found.worth_keeping) break;
            record->to_gather.push_back(place.current);
            // Said now: a person who meant to go on with it can still stop and do so.
            if (!source && found.last_result == "*")
                warn(place.current +
                     " holds an unfinished game: RESUME continues it; at this "
                     "game's first move it goes to " +
                     place.database);
            break;
        }
    }
    for (const std::string &path : left_by_other_runs(place.folder))
        if (path != record->taken.path) record->to_gather.push_back(path);
    record->placed = record->to_gather.empty();
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

default_place open_default_place() {
    default_place place;
    place.folder = state_folder();
    place.current = unfinished_game_path();
    place.database = games_database_path();
    if (place.folder.empty() || place.database.empty()) {
        place.problem = "no home folder to keep the game record in";
        return place;
    }
    for (const std::string &folder : {place.folder, folder_of(place.database)}) {
        const std::string unsafe = unsafe_folder(folder);
        if (!unsafe.empty()) {
            place.problem = "bad owner or permissions on " + unsafe + ", so no game is kept there";
            return place;
        }
    }
    std::string error;
    if (!create_folders(place.folder, private_folder, &error)) {
        place.problem = "cannot keep the game record in " + place.folder + ": " + error;
        return place;
    }
    place.locked = lock_default_place(place.folder);
    // The folders are the game's own: the leftovers of any of its files go.
    sweep_stale_temp_files(place.folder + "/");
    sweep_stale_temp_files(folder_of(place.database) + "/");
    return place;
}

game_owner owner_of_file(const file_identity &file, const std::string &path) {
    struct stat st {};
    st.st_dev = file.device;
    st.st_ino = file.inode;
    if (is_file(unfinished_game_path(), st)) return game_owner::current;
    if (is_file(games_database_path(), st)) return game_owner::database;
    struct stat folder, state;
    if (other_run_of(name_of(path)) > 0 && stat(folder_of(path).c_str(), &folder) == 0 &&
        stat(state_folder().c_str(), &state) == 0 && same_file(folder, state))
        return game_owner::other_run;
    return game_owner::person;
}

bool place_record(game_record *record, const game_options &options, const default_place *place,
                  const resume_source *source, std::string *error) {
    record->enabled = true;
    record->shared = false;
    if (!options.pgn_path.empty()) return place_in_file(record, options.pgn_path, source, error);
    place_at_default(record, *place, source);
    return true;
}

void settle_record_place(game_record *record) {
    record->placed = true;
    for (const std::string &path : record->to_gather) {
        std::string error;
        if (move_into_database(path, record->database, record->taken, &error)) continue;
        if (path != record->path) {
            warn("cannot keep " + path + " in " + record->database + ": " + error);
            continue;
        }
        keep_beside(record, folder_of(path));
        warn("cannot keep the unfinished game of " + path + " in " + record->database + ": " +
             error + "; this game is kept in " + record->path);
    }
    record->to_gather.clear();
}

resume_claim claim_resumed(game_record *record, const resume_source &source, std::string *error) {
    open_claims(&record->claims, state_folder());
    // Under the lock its writers take, the game as read is still there, or it is already
    // written anew by the run that plays it.
    const folder_lock lock(source.path);
    bool still_there = false;
    std::string why;
    read_pgn_file(
        source.path, true,
        [&](const database_game &g) {
            still_there = g.pgn == source.game.pgn;
            return !still_there;
        },
        &why);
    if (!still_there) return resume_claim::changed;
    pid_t holder = 0;
    if (claim_resumed_game(&record->claims, format_pgn(source.game.pgn), &holder))
        return resume_claim::claimed;
    *error = source.path + ": this game is being played by process " + std::to_string(holder);
    return resume_claim::refused;
}

void release_taken_game(game_record *record) {
    const taken_game taken = std::move(record->taken);
    record->taken = {};
    const folder_lock lock(taken.path);
    // The game may have moved in its file since it was read (another run added or took
    // games): found again by its text, at its old number first.
    byte_range found{0, 0};
    bool at_its_number = false;
    int games = 0;
    std::string error;
    file_identity file;
    uint64_t size = 0;
    const read_status status = read_pgn_file(
        taken.path, false,
        [&](const database_game &g) {
            games++;
            if (g.pgn != taken.pgn || at_its_number) return true;
            found = g.place;
            at_its_number = g.number == taken.number;
            return true;
        },
        &error, &file, &size);
    if (status != read_status::read || found.end == 0) return;
    if (taken.alone && games == 1) {
        unlink(taken.path.c_str());
        return;
    }
    std::vector<byte_range> kept;
    if (found.begin > 0) kept.push_back({0, found.begin});
    if (found.end < size) kept.push_back({found.end, size});
    if (!rewrite_file(taken.path, kept, "", &file, &error))
        warn("the resumed game stays in " + taken.path + " too: " + error);
}
