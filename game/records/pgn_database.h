// A PGN database read from a file a game at a time, so that memory stays bounded whatever
// the file's size.
#pragma once

#include "game/records/atomic_file.h"
#include "game/records/pgn_text.h"

#include <functional>
#include <string>

// The largest game the game reads or writes, in bytes of its text: no real game comes
// near, and whatever it writes it can read back.
constexpr std::size_t largest_game_record = 4 << 20;

// A game of a database and where its text lies in the file.
struct database_game {
    pgn_game pgn;
    int number = 0;   // 1 for the file's first game
    byte_range place; // from its first character to the next game's first, or the file's end
};

// Reads the games of the file open at `fd` from its start, handing each to `visit` in turn
// (`visit` returns false to stop). A file of blanks only holds no game. False with `error`
// naming the line when the text is not a PGN database: broken text, a game larger than
// largest_game_record, or text after a game's result that is not a next game with its tags.
bool read_pgn_database(int fd, const std::function<bool(const database_game &)> &visit,
                       std::string *error);

// read_pgn_database over the file at `path` (through a link at its last component only when
// `follow_link`), as open_to_read finds it; errors name the path. `identity` and `size`,
// when given, get the file's.
read_status read_pgn_file(const std::string &path, bool follow_link,
                          const std::function<bool(const database_game &)> &visit,
                          std::string *error, file_identity *identity = nullptr,
                          uint64_t *size = nullptr);

// The blank lines that separate the games of a file ending in `tail` (its last bytes, up to
// two) from a game added after them: none after an empty file or a blank line.
std::string game_separator(std::string_view tail);
