// Portable Game Notation (PGN) text: a game record written in export format and read from a
// file or database. No file access here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct pgn_tag {
    std::string name;
    std::string value;
    bool operator==(const pgn_tag &) const = default;
};

struct pgn_game {
    std::vector<pgn_tag> tags;      // in the order they are written or were read
    std::vector<std::string> moves; // SAN tokens of the main line, without move numbers
    // The comment after each move of `moves` (empty: none); may be shorter than `moves`.
    std::vector<std::string> move_comments;
    std::string final_comment; // after the last move, e.g. why the game was drawn
    std::string result = "*";  // "1-0", "0-1", "1/2-1/2", or "*" while unfinished
    bool operator==(const pgn_game &) const = default;
};

// The value of the first tag of that name, or null.
const std::string *pgn_tag_value(const pgn_game &game, std::string_view name);

// Export format: the seven-tag roster (Event, Site, Date, Round, White, Black, Result; "?"
// or "????.??.??" where a tag is missing, Result always from `result`), then the other tags
// in order, values escaped; the movetext numbered from the FEN tag's side to move and
// full-move number ("12... e5" when Black moves first), lines of at most 79 characters, the
// final comment and the result; then an empty line.
std::string format_pgn(const pgn_game &game);

// What reading a game from a piece of text found.
enum class pgn_piece : uint8_t {
    game,      // a whole game
    none,      // only blanks and comments up to the end
    broken,    // text that is not PGN (`error` says where)
    need_more, // the piece ends before the game does: read it again with more text
};

// Reads the game that starts at `*pos` of `text` (the line number there is `*line`) and
// moves both past it: its tags and movetext up to its result, or up to the next game's
// tags when it has none. `more_follows` says that `text` is only the beginning of the
// text. Errors name the line.
pgn_piece parse_next_pgn(std::string_view text, bool more_follows, std::size_t *pos, int *line,
                         pgn_game *next_game, std::string *error);

// Reads the first game of a PGN file or database: tag pairs, movetext with move numbers,
// comments in braces and after ";", "%" lines, NAGs and "!?" marks, variations in
// parentheses (skipped, however deep). A game without a result reads as "*". Returns false
// with an error naming the line when the text is broken.
bool parse_pgn(std::string_view text, pgn_game *first_game, std::string *error);
