#include "game/records/pgn_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

pgn_game parsed(const std::string &text) {
    pgn_game game;
    std::string error;
    EXPECT_TRUE(parse_pgn(text, &game, &error)) << error << "\n" << text;
    return game;
}

std::string parse_error(const std::string &text) {
    pgn_game game;
    std::string error;
    EXPECT_FALSE(parse_pgn(text, &game, &error)) << text;
    return error;
}

std::string joined(const std::vector<std::string> &moves) {
    std::string out;
    for (const std::string &m : moves) out += (out.empty() ? "" : " ") + m;
    return out;
}

} // namespace

TEST(PgnText, WritesTheRosterFirstEscapedAndNumbered) {
    pgn_game game;
    game.tags = {{"VartokSettings", "depth1=3"},
                 {"White", "Ann \"the rook\" O\\Neil"},
                 {"Event", "Club\nnight"},
                 {"Result", "1-0"},
                 {"Black", "Vartok"},
                 {"Termination", "normal"}};
    game.moves = {"e4", "e5", "Qh5", "Nc6", "Bc4", "Nf6", "Qxf7#"};
    game.result = "1-0";
    EXPECT_EQ(format_pgn(game), "[Event \"Club night\"]\n"
                                "[Site \"?\"]\n"
                                "[Date \"????.??.??\"]\n"
                                "[Round \"?\"]\n"
                                "[White \"Ann \\\"the rook\\\" O\\\\Neil\"]\n"
                                "[Black \"Vartok\"]\n"
                                "[Result \"1-0\"]\n"
                                "[VartokSettings \"depth1=3\"]\n"
                                "[Termination \"normal\"]\n"
                                "\n"
                                "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n"
                                "\n");

    // The Result tag always follows the result; an unknown result is written as "*".
    game.result = "2-0";
    game.moves.clear();
    const std::string text = format_pgn(game);
    EXPECT_NE(text.find("[Result \"*\"]\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "\n*\n\n");
}

TEST(PgnText, NumbersFromTheFenAndBlackFirst) {
    pgn_game game;
    game.tags = {{"SetUp", "1"}, {"FEN", "4k3/8/8/8/8/8/4P3/4K3 b - - 3 17"}};
    game.moves = {"Kd7", "e4", "Kd6"};
    game.final_comment = "White resigns";
    game.result = "0-1";
    const std::string text = format_pgn(game);
    EXPECT_NE(text.find("\n17... Kd7 18. e4 Kd6 {White resigns} 0-1\n\n"), std::string::npos)
        << text;
    game.tags[1].value = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 40";
    EXPECT_NE(format_pgn(game).find("\n40. Kd7 e4 41. Kd6 {"), std::string::npos);
}

TEST(PgnText, LongGamesWrapAt79AndReadBackTheSame) {
    pgn_game game;
    game.tags = {{"White", "A \\ B"}, {"Black", "C \"D\""}, {"FEN", "8/8/8/8/8/8/8/8 b - - 0 9"}};
    const char *cycle[] = {"Nf3", "Nf6", "Ng1", "Ng8", "exd8=Q+", "O-O-O#", "Rae1", "Qa1xb2"};
    for (int i = 0; i < 300; i++) game.moves.push_back(cycle[i % 8]);
    // Readers look for a clock command whole: no line break falls inside one.
    game.move_comments.assign(300, "[%clk 0:00:04.7]");
    game.move_comments[7] = "a long remark before the clock, long enough to need its own line "
                            "[%clk 1:02:03.4]";
    game.move_comments.back().clear(); // the final comment follows the last move
    game.final_comment = "Draw by repetition: the same position appeared for the third time, "
                         "with the same side to move } and the same rights";
    game.result = "1/2-1/2";
    const std::string text = format_pgn(game);
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 79u) << line;
        const std::size_t command = line.rfind("[%");
        EXPECT_TRUE(command == std::string::npos || line.find(']', command) != std::string::npos)
            << line;
        count++;
    }
    EXPECT_GT(count, 30);

    const pgn_game back = parsed(text);
    EXPECT_EQ(back.moves, game.moves);
    EXPECT_EQ(back.result, "1/2-1/2");
    EXPECT_EQ(back.final_comment, "Draw by repetition: the same position appeared for the third "
                                  "time, with the same side to move ) and the same rights");
    ASSERT_NE(pgn_tag_value(back, "White"), nullptr);
    EXPECT_EQ(*pgn_tag_value(back, "White"), "A \\ B");
    EXPECT_EQ(*pgn_tag_value(back, "Black"), "C \"D\"");
    EXPECT_EQ(*pgn_tag_value(back, "Date"), "????.??.??");
    EXPECT_EQ(pgn_tag_value(back, "Annotator"), nullptr);
}

TEST(PgnText, ReadsCommentsVariationsNagsAndEscapes) {
    const pgn_game game = parsed("\xEF\xBB\xBF% exported by some program\n"
                                 "[Event \"Test \\\"quoted\\\" \\\\ path\"]\n"
                                 "[White \"x\"] [Black \"y\"]\n"
                                 "\n"
                                 "{A comment before the moves}\n"
                                 "1. e4 $1 e5!? 2.Nf3 ; Nc3 is a line comment ) (\n"
                                 "2... Nc6 (2... d6 {a comment with ) and (} 3. d4 (3. Bc4 Nf6)\n"
                                 "exd4) 3. Bb5 a6 4. Ba4!! Nf6?! 5. O-O $14 {Castles.\n"
                                 "Over two lines} 5... Be7 {The end} { and more } 1-0\n"
                                 "\n"
                                 "[Event \"second\"]\n"
                                 "1. d4 *\n");
    EXPECT_EQ(joined(game.moves), "e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7");
    EXPECT_EQ(*pgn_tag_value(game, "Event"), "Test \"quoted\" \\ path");
    EXPECT_EQ(*pgn_tag_value(game, "Black"), "y");
    EXPECT_EQ(game.final_comment, "The end and more");
    EXPECT_EQ(game.result, "1-0");

    // Move numbers glued to moves, "12. ... e5", and "%" only at the start of a line.
    const pgn_game loose = parsed("1.e4 1...e5 2. ... Nf3 exd6 e.p. 0-0 *");
    EXPECT_EQ(joined(loose.moves), "e4 e5 Nf3 exd6 0-0");
    EXPECT_EQ(loose.result, "*");
    EXPECT_EQ(parse_error("1. e4 % e5 *"), "line 1: unexpected character '%'");
}

TEST(PgnText, TakesTheFirstGameOfADatabase) {
    const std::string second = "[Event \"two\"]\n\n1. d4 d5 1/2-1/2\n\n";
    const std::string broken = "[Event \"three\n1. ( {\n";
    const pgn_game first = parsed("[Event \"one\"]\n\n1. e4 c5 0-1\n\n" + second + broken);
    EXPECT_EQ(*pgn_tag_value(first, "Event"), "one");
    EXPECT_EQ(joined(first.moves), "e4 c5");
    EXPECT_EQ(first.result, "0-1");

    // A game cut off before its result ends at the next game's tags, or at the end of the
    // text; its result is then the Result tag's, else "*".
    const pgn_game cut = parsed("[Result \"1-0\"]\n1. e4 e5\n" + second);
    EXPECT_EQ(joined(cut.moves), "e4 e5");
    EXPECT_EQ(cut.result, "1-0");
    EXPECT_EQ(parsed("1. e4 e5 2. Nf3").result, "*");
    EXPECT_EQ(parsed("[Event \"no moves\"]\n").moves.size(), 0u);
}

TEST(PgnText, BrokenTextNamesTheLine) {
    EXPECT_EQ(parse_error(""), "no game found");
    EXPECT_EQ(parse_error("\n% only an escape line\n; and a comment\n"), "no game found");
    EXPECT_EQ(parse_error("[Event \"a\"]\n\n1. e4 {never closed\n2. d4 *\n"),
              "line 3: a comment is not closed with '}'");
    EXPECT_EQ(parse_error("[Event \"a\"]\n[Site \"b]\n1. e4 *\n"),
              "line 2: the value of the tag Site is not closed");
    EXPECT_EQ(parse_error("[Event \"a\"\n"), "line 1: the tag Event is not closed with ']'");
    EXPECT_EQ(parse_error("[ \"a\"]\n"), "line 1: a tag pair without a name");
    EXPECT_EQ(parse_error("\n[Event a]\n"), "line 2: the tag Event has no value in quotes");
    EXPECT_EQ(parse_error("1. e4\n\ne5 ) 2. d4 *"), "line 3: ')' without '('");
    EXPECT_EQ(parse_error("1. e4\n(1. d4 (1. c4)\n e5 *\n\n"),
              "line 2: a variation is not closed with ')'");
    EXPECT_EQ(parse_error("1. e4 e5\n2. -- Nf6 *"), "line 2: '--' is not a move");
    EXPECT_EQ(parse_error("1. e4 e5\n2. Nf3 <x> *"), "line 2: unexpected character '<'");
    EXPECT_EQ(parse_error("1. e4 $x *"), "line 1: '$' without a number");
    EXPECT_EQ(parse_error("1. e4\n\n\n1/2 *"), "line 4: '1/2' is not a move");
    EXPECT_EQ(parse_error("1. e4 \x01 *"), "line 1: unexpected character 0x01");
}
