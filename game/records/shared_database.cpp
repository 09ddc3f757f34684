#include "game/records/shared_database.h"
#include "game/records/pgn_database.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file is the one this run left, as it left it: no run wrote it since.
bool as_left(const struct stat &st, const shared_game &game) {
    return !game.written.empty() && game.file.expect == file_identity::kind::this_one &&
           st.st_dev == game.file.device && st.st_ino == game.file.inode &&
           static_cast<uint64_t>(st.st_size) == game.size &&
           st.st_mtim.tv_sec == game.modified.tv_sec && st.st_mtim.tv_nsec == game.modified.tv_nsec;
}

// Bytes [begin, begin + text's size) of the file open at `fd` are `text`.
bool holds_at(int fd, uint64_t begin, const std::string &text) {
    std::string bytes(text.size(), '\0');
    std::size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t n =
            pread(fd, bytes.data() + have, bytes.size() - have, static_cast<off_t>(begin + have));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        have += static_cast<std::size_t>(n);
    }
    return bytes == text;
}

// The blank lines between the last of a file's `size` bytes and a game added after them.
std::string separator_at_end(int fd, uint64_t size) {
    char tail[2];
    const uint64_t from = size >= 2 ? size - 2 : 0;
    const ssize_t n =
        pread(fd, tail, static_cast<std::size_t>(size - from), static_cast<off_t>(from));
    return game_separator(std::string_view(tail, n > 0 ? static_cast<std::size_t>(n) : 0));
}

// Where the game's text last written lies in the database open at `fd`: `*found` false when
// it is not there. False with `error` when the file is not a PGN database.
bool find_written(int fd, const struct stat &st, const shared_game &game, bool *found,
                  uint64_t *begin, std::string *error) {
    *found = false;
    if (as_left(st, game)) {
        *found = true;
        *begin = game.begin;
        return true;
    }
    return read_pgn_database(
        fd,
        [&](const database_game &g) {
            if (!game.written.empty() && g.place.end - g.place.begin >= game.written.size() &&
                holds_at(fd, g.place.begin, game.written)) {
                *found = true;
                *begin = g.place.begin;
            }
            return true;
        },
        error);
}

} // namespace

bool write_shared_game(const std::string &path, shared_game *game, const std::string &text,
                       std::string *error) {
    // Other runs write under the same lock: from this read to the rename, the file is ours.
    const folder_lock lock(path);
    std::vector<byte_range> before, after;
    std::string piece = text;
    uint64_t begin = 0;
    file_identity expected{file_identity::kind::none};
    int fd = -1;
    std::string why;
    switch (open_to_read(path, false, &fd, &why)) {
    case read_status::missing: // written anew, this game alone
        break;
    case read_status::failed:
        *error = "cannot write " + path + ": " + why;
        return false;
    case read_status::read: {
        struct stat st;
        fstat(fd, &st);
        expected = {file_identity::kind::this_one, st.st_dev, st.st_ino};
        bool found = false;
        if (!find_written(fd, st, *game, &found, &begin, &why)) {
            close(fd);
            *error = path + " is no longer a PGN database, so it is left as it is (" + why + ")";
            return false;
        }
        const uint64_t size = static_cast<uint64_t>(st.st_size);
        if (found) {
            if (begin > 0) before.push_back({0, begin});
            if (begin + game->written.size() < size)
                after.push_back({begin + game->written.size(), size});
        } else {
            if (size > 0) before.push_back({0, size});
            piece = separator_at_end(fd, size) + text;
            begin = size + piece.size() - text.size();
        }
        close(fd);
        break;
    }
    }
    if (!rewrite_file_around(path, before, piece, after, &expected, error)) return false;
    game->written = text;
    game->begin = begin;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        game->file = {};
        return true;
    }
    game->file = {file_identity::kind::this_one, st.st_dev, st.st_ino};
    game->size = static_cast<uint64_t>(st.st_size);
    game->modified = st.st_mtim;
    return true;
}
