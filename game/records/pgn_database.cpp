#include "game/records/pgn_database.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t read_size = 65536;
constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The file's text as far as it has been read: buffer[0] is the file's byte `base`.
struct database_text {
    int fd;
    std::string buffer;
    uint64_t base = 0;
    bool at_end = false;

    // Reads up to `size` more bytes; false with `error` set when reading fails.
    bool read_more(std::size_t size, std::string *error) {
        const std::size_t old = buffer.size();
        buffer.resize(old + size);
        ssize_t n;
        do n = ::read(fd, buffer.data() + old, size);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            *error = std::strerror(errno);
            buffer.resize(old);
            return false;
        }
        buffer.resize(old + static_cast<std::size_t>(n));
        at_end = n == 0;
        return true;
    }

    // Drops what lies before `*pos`, but the character before it (a '%' escape counts only
    // at the start of a line).
    void drop_before(std::size_t *pos) {
        if (*pos < 2) return;
        const std::size_t dropped = *pos - 1;
        buffer.erase(0, dropped);
        base += dropped;
        *pos -= dropped;
    }
};

bool too_large(int line, std::string *error) {
    *error = "line " + std::to_string(line) + ": a game of more than " +
             std::to_string(largest_game_record >> 20) + " MB";
    return false;
}

} // namespace

bool read_pgn_database(int fd, const std::function<bool(const database_game &)> &visit,
                       std::string *error) {
    database_text in{fd, {}};
    std::size_t pos = 0;
    int line = 1;
    if (!in.read_more(read_size, error)) return false;
    if (std::string_view(in.buffer).substr(0, byte_order_mark.size()) == byte_order_mark)
        pos = byte_order_mark.size();
    database_game pending; // the last game read, handed over once its end is known
    bool holding = false;
    int count = 0;
    for (;;) {
        // The blanks before the next game, if any.
        for (;;) {
            while (pos < in.buffer.size() && is_blank(in.buffer[pos]))
                if (in.buffer[pos++] == '\n') line++;
            if (pos < in.buffer.size() || in.at_end) break;
            in.drop_before(&pos);
            if (!in.read_more(read_size, error)) return false;
        }
        const uint64_t begin = in.base + pos;
        if (holding) {
            pending.place.end = begin;
            if (!visit(pending)) return true;
            holding = false;
        }
        if (pos == in.buffer.size()) return true;
        pgn_game game;
        std::size_t next = pos;
        int next_line = line;
        pgn_piece piece;
        while ((piece = parse_next_pgn(in.buffer, !in.at_end, &next, &next_line, &game, error)) ==
               pgn_piece::need_more) {
            if (in.buffer.size() - pos > largest_game_record) return too_large(line, error);
            if (!in.read_more(std::max(read_size, in.buffer.size() - pos), error)) return false;
        }
        if (piece == pgn_piece::broken) return false;
        // Read whole, a game may have come in a piece up to twice the limit.
        if (piece == pgn_piece::game && next - pos > largest_game_record)
            return too_large(line, error);
        if (piece == pgn_piece::none) return true; // comments after the last game
        if (count > 0 && game.tags.empty()) {
            *error = "line " + std::to_string(line) + ": moves after the result of a game";
            return false;
        }
        pending = {std::move(game), ++count, {begin, byte_range::to_the_end}};
        holding = true;
        pos = next;
        line = next_line;
        in.drop_before(&pos);
    }
}

std::string game_separator(std::string_view tail) {
    if (tail.empty() || (tail.size() >= 2 && tail.substr(tail.size() - 2) == "\n\n")) return "";
    return tail.back() == '\n' ? "\n" : "\n\n";
}

read_status read_pgn_file(const std::string &path, bool follow_link,
                          const std::function<bool(const database_game &)> &visit,
                          std::string *error, file_identity *identity, uint64_t *size) {
    int fd = -1;
    const read_status status = open_to_read(path, follow_link, &fd, error);
    if (status == read_status::failed) *error = path + ": " + *error;
    if (status != read_status::read) return status;
    struct stat st;
    ::fstat(fd, &st);
    if (identity) *identity = {file_identity::kind::this_one, st.st_dev, st.st_ino};
    if (size) *size = static_cast<uint64_t>(st.st_size);
    const bool read = read_pgn_database(fd, visit, error);
    ::close(fd);
    if (!read) *error = path + ": " + *error;
    return read ? read_status::read : read_status::failed;
}
