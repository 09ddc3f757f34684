// Records with clocks read by pgn-extract, an independent PGN reader: the TimeControl tags
// and a %clk comment after every move survive its re-export, and the clocks restored from
// its last readings are those the game had.
#include "rules/move_piece.h"
#include "rules/notation/san.h"
#include "rules/time/chess_clock.h"
#include "rules/time/clock_text.h"
#include "rules/time/flag_fall.h"
#include "rules/time/time_control.h"
#include "tests/support/board_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr const char *pgn_extract = "/usr/games/pgn-extract";
constexpr const char *start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

struct timed_game {
    std::string text;            // the record
    std::vector<int64_t> clocks; // the reading written after each move, in order
    chess_clock clock;           // as the game left it
};

// Plays `moves` with the given thinking times on the clock, writes the %clk reading after
// each move, and lets the side to move then use up its time.
timed_game play_on_the_clock(const time_control &white, const time_control &black,
                             const std::vector<std::string> &moves,
                             const std::vector<int64_t> &think_ms) {
    timed_game g{"", {}, new_clock(white, black)};
    fen_position pos = position_from_fen(start_fen);
    std::string movetext;
    int64_t now = 1000;
    for (size_t i = 0; i < moves.size(); i++) {
        const uint8_t turn = pos.turn;
        start_clock(&g.clock, turn, now);
        now += think_ms[i % think_ms.size()];
        san_move m{};
        std::string error;
        EXPECT_TRUE(parse_san(pos.board, turn, moves[i], &m, &error)) << moves[i];
        const std::string san = format_san(pos.board, turn, m.src, m.dst, m.ascend);
        if (move_piece(&pos.board, m.src, m.dst)) ascend_piece(&pos.board, m.dst, m.ascend);
        EXPECT_TRUE(stop_clock(&g.clock, now));
        g.clocks.push_back(g.clock.remaining_ms[turn]);
        if (turn == side_white) movetext += std::to_string(i / 2 + 1) + ". ";
        movetext += san + " {" + clk_annotation(g.clocks.back()) + "} ";
        pos.turn = !turn;
    }
    start_clock(&g.clock, pos.turn, now);
    const int64_t flag = now + ms_until_flag(g.clock, now);
    EXPECT_TRUE(flag_fallen(g.clock, pos.turn, flag));
    pause_clock(&g.clock, flag);
    const flag_verdict verdict = flag_fall_verdict(pos.board, pos.turn);
    g.text = "[Event \"Clock test\"]\n[Site \"?\"]\n[Date \"2024.06.11\"]\n[Round \"-\"]\n"
             "[White \"a\"]\n[Black \"b\"]\n[Result \"" +
             std::string(verdict.result) + "\"]\n";
    for (const clock_tag &tag : time_control_tags(white, black))
        g.text += "[" + tag.name + " \"" + tag.value + "\"]\n";
    g.text += "[Termination \"" + std::string(time_forfeit_termination) + "\"]\n\n" + movetext +
              "{" + verdict.message + "} " + verdict.result + "\n\n";
    return g;
}

std::string read_file(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game re-exported by pgn-extract, which must read it without a complaint.
std::string through_pgn_extract(const std::string &record) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vartok-clock-record-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.pgn", std::ios::binary) << record;
    const std::string command = std::string(pgn_extract) + " -s -l " + (dir / "log").string() +
                                " -o " + (dir / "out.pgn").string() + " " +
                                (dir / "in.pgn").string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(read_file(dir / "log"), "") << record;
    const std::string out = read_file(dir / "out.pgn");
    std::filesystem::remove_all(dir);
    return out;
}

// Every %clk reading of the text's comments, in order.
std::vector<int64_t> clock_readings(const std::string &text) {
    std::vector<int64_t> readings;
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
        const size_t close = text.find('}', open);
        int64_t ms;
        if (read_clk_annotation(std::string_view(text).substr(open, close - open), &ms))
            readings.push_back(ms);
    }
    return readings;
}

class ClockRecords : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(pgn_extract))
            GTEST_FAIL()
                << "pgn-extract not installed (tools/install-packages.sh test installs it)";
    }
};

const std::vector<std::string> opening = {"e4",  "e5",  "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6",
                                          "O-O", "Be7", "Re1", "b5",  "Bb3", "d6", "c3"};

} // namespace

TEST_F(ClockRecords, PgnExtractKeepsTheTagsAndAClockAfterEveryMove) {
    const time_control blitz{300000, 3000};
    const timed_game g = play_on_the_clock(blitz, blitz, opening, {4200, 12345, 800, 61000});
    const std::string out = through_pgn_extract(g.text);
    EXPECT_NE(out.find("[TimeControl \"300+3\"]"), std::string::npos) << out;
    EXPECT_NE(out.find("[Termination \"time forfeit\"]"), std::string::npos) << out;
    EXPECT_NE(out.find("[Result \"1-0\"]"), std::string::npos) << out; // Black's flag fell
    const std::vector<int64_t> read = clock_readings(out);
    ASSERT_EQ(read.size(), opening.size()) << out;
    for (size_t i = 0; i < read.size(); i++) EXPECT_EQ(read[i], g.clocks[i] / 100 * 100) << i;

    // Resuming the game as it stood before Black's last move: each side's last reading (White
    // made the last move), to the tenth; nobody's time runs until the game starts it.
    const chess_clock resumed =
        clock_from_readings(blitz, blitz, read[read.size() - 1], read[read.size() - 2]);
    EXPECT_EQ(resumed.running, clock_stopped);
    EXPECT_EQ(resumed.remaining_ms[side_white], g.clocks[g.clocks.size() - 1] / 100 * 100);
    EXPECT_EQ(resumed.remaining_ms[side_black], g.clocks[g.clocks.size() - 2] / 100 * 100);
}

TEST_F(ClockRecords, OddsAndFractionsOfASecondAreReadToo) {
    const timed_game g = play_on_the_clock({600, 250}, {30000, 0}, {"d4", "d5", "c4"}, {100, 300});
    const std::string out = through_pgn_extract(g.text);
    for (const char *tag : {"[TimeControl \"?\"]", "[WhiteTimeControl \"0.6+0.25\"]",
                            "[BlackTimeControl \"30\"]", "[Result \"1-0\"]"})
        EXPECT_NE(out.find(tag), std::string::npos) << tag << "\n" << out;
    EXPECT_EQ(clock_readings(out).size(), 3u);
}
