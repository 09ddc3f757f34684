// Games written as PGN, and files written so that a crash never leaves half a file.
#pragma once

#include <string>
#include <vector>

struct pgn_game {
    std::string event, date, round, white, black, result;
    std::vector<std::string> san; // the moves
    std::string termination;      // why the game ended, as a closing comment
};

std::string format_pgn(const pgn_game &game);

// Writes a temporary file beside `path`, flushes it to the disk, then renames it over
// `path`. False with the reason in `error`.
bool write_file_safely(const std::string &path, const std::string &text, std::string *error);
