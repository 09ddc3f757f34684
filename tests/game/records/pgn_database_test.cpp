// A database read from a file a game at a time: every game found, where it lies in the
// file, whatever the pieces the file is read in; text that is not a database refused.
#include "game/records/pgn_database.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct read_back {
    bool ok = false;
    std::string error;
    std::vector<database_game> games;
};

read_back read_text(const std::string &text) {
    char name[] = "/tmp/vartok-database-XXXXXX";
    const int fd = ::mkstemp(name);
    EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::lseek(fd, 0, SEEK_SET);
    read_back out;
    out.ok = read_pgn_database(
        fd,
        [&](const database_game &g) {
            out.games.push_back(g);
            return true;
        },
        &out.error);
    ::close(fd);
    ::unlink(name);
    return out;
}

// A game with a comment long enough to make the database span many pieces of the reader.
std::string game_text(int n) {
    return "[Event \"game " + std::to_string(n) + "\"]\n[Result \"*\"]\n\n1. e4 {" +
           std::string(static_cast<std::size_t>(n) * 97 % 5000, 'c') + "} e5 2. Nf3 " +
           (n % 3 ? "*" : "1-0") + "\n\n";
}

} // namespace

TEST(PgnDatabase, FindsEveryGameAndTheExactBytesOfEach) {
    std::string text = "\xEF\xBB\xBF";
    for (int n = 1; n <= 120; n++) text += game_text(n);
    text += "% an escape line at the end\n";
    const read_back back = read_text(text);
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.games.size(), 120u);
    for (int n = 1; n <= 120; n++) {
        const database_game &g = back.games[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(g.number, n);
        // Its place holds its text alone, up to the next game's first character.
        const std::string place = text.substr(g.place.begin, g.place.end - g.place.begin);
        EXPECT_EQ(place, game_text(n)) << n;
        EXPECT_EQ(*pgn_tag_value(g.pgn, "Event"), "game " + std::to_string(n));
        EXPECT_EQ(g.pgn.result, n % 3 ? "*" : "1-0");
        EXPECT_EQ(g.pgn.moves.size(), 3u);
    }
}

TEST(PgnDatabase, AResultInTheMiddleOfAGameOrOtherTextIsNoDatabase) {
    read_back back = read_text("[Event \"x\"]\n\n1. e4 1-0 e5 2. Nf3 *\n");
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, "line 3: moves after the result of a game");
    back = read_text("my notes\n");
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, "line 1: 'my' is not a move");
    // A bad token a megabyte long is named by its beginning only.
    back = read_text("[Event \"x\"]\n\n1. e4 " + std::string(1 << 20, 'x') + " *\n");
    EXPECT_FALSE(back.ok);
    EXPECT_LT(back.error.size(), 100u) << back.error.substr(0, 200);
    // A game without a result ends where the next one's tags begin.
    back = read_text("[Event \"a\"]\n1. e4\n[Event \"b\"]\n1. d4 *\n");
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.games.size(), 2u);
    EXPECT_EQ(back.games[0].pgn.result, "*");
    EXPECT_TRUE(read_text("").ok);
    EXPECT_TRUE(read_text(" \n\n").games.empty());
}

// A game of `size` bytes from its first character to its result, and a game after it.
std::string game_of_size(std::size_t size) {
    const std::string begin = "[Event \"x\"]\n\n1. e4 {", end = "} *";
    return begin + std::string(size - begin.size() - end.size(), 'c') + end +
           "\n\n[Event \"y\"]\n\n1. d4 *\n";
}

TEST(PgnDatabase, AGameBeyondTheLimitIsRefusedRatherThanHeld) {
    read_back back = read_text("[Event \"x\"]\n\n1. e4 {" + std::string(5 << 20, 'c'));
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, "line 1: a game of more than 4 MB");
    // The limit is the same for a game read whole in one piece of the reader, and is the
    // one that records are written within.
    back = read_text(game_of_size(largest_game_record));
    EXPECT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.games.size(), 2u);
    back = read_text(game_of_size(largest_game_record + 1));
    EXPECT_FALSE(back.ok);
    EXPECT_EQ(back.error, "line 1: a game of more than 4 MB");
}

TEST(PgnDatabase, AGameAddedAfterTheLastOneIsSeparatedByABlankLine) {
    EXPECT_EQ(game_separator(""), "");
    EXPECT_EQ(game_separator("*\n\n"), "");
    EXPECT_EQ(game_separator("\n\n"), "");
    EXPECT_EQ(game_separator("*\n"), "\n");
    EXPECT_EQ(game_separator("0"), "\n\n");
}
