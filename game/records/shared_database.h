// A game kept in a PGN database that other runs may write at the same time (PGN=FILE). Each
// write is made under a lock on the database's folder, into the file as it is then: the
// game's text last written is found again and replaced, wherever other runs' games have
// put it, and every other byte of the file is kept. A game whose text is the same as
// another's may take the other's place: the two are the same text, so nothing is lost.
#pragma once

#include "game/records/atomic_file.h"

#include <ctime>
#include <string>

struct shared_game {
    std::string written; // the game's text as last written; empty before its first write
    // The file as this run left it, so that a file no one changed since is not read again.
    file_identity file;
    uint64_t size = 0;
    timespec modified{};
    uint64_t begin = 0; // where `written` begins in it
};

// Writes `text` as the game's text at `path`: in place of the text last written, or after
// the file's games when it is not found there (or not yet written). A file that is no
// longer a PGN database is left as it is: false with `error`, as rewrite_file's.
bool write_shared_game(const std::string &path, shared_game *game, const std::string &text,
                       std::string *error);
