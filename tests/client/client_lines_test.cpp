// The client's reading and writing of protocol lines, and its line reader's bounds.
#include "client/command_words.h"
#include "client/line_reader.h"
#include "client/uci_lines.h"
#include "client/xboard_lines.h"
#include "rules/notation/words.h"

#include <atomic>
#include <climits>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

using strings = std::vector<std::string>;

engine_clock::time_point soon(int ms = 2000) {
    return engine_clock::now() + std::chrono::milliseconds(ms);
}

} // namespace

TEST(CommandWords, SplitOnBlanksAndNothingElse) {
    EXPECT_EQ(split_words("  /usr/games/phalanx\t-l-   -r 800 "),
              (strings{"/usr/games/phalanx", "-l-", "-r", "800"}));
    // Quotes, variables and patterns are words like any other.
    EXPECT_EQ(split_words("eng '$HOME' \"a b\" *"), (strings{"eng", "'$HOME'", "\"a", "b\"", "*"}));
    EXPECT_TRUE(split_words(" \t ").empty());
    // A line with Windows line endings: the carriage return ends the last word, whether
    // the line comes as a std::string (the engine's GUI) or a view (an outside engine).
    EXPECT_EQ(split_words(std::string("go depth 3\r\n")), (strings{"go", "depth", "3"}));
    EXPECT_EQ(split_words(std::string_view("bestmove e2e4\r")), (strings{"bestmove", "e2e4"}));
}

TEST(CommandWords, BareNamesOnPathThenInGames) {
    EXPECT_EQ(find_program("sh", "/nonexistent:/bin"), "/bin/sh");
    // Not on PATH: Debian's engine folder.
    EXPECT_EQ(find_program("fairymax", "/bin"), "/usr/games/fairymax");
    EXPECT_EQ(find_program("fairymax", ""), "/usr/games/fairymax");
    // The first directory that has it wins; an empty entry is not the current directory.
    EXPECT_EQ(find_program("sh", ":/usr/bin:/bin"), "/usr/bin/sh");
    EXPECT_EQ(find_program("no-such-engine-here", "/bin:/usr/bin"), "");
    // A path is taken as it is, never searched; a file that cannot run is no program.
    EXPECT_EQ(find_program("/bin/sh", ""), "/bin/sh");
    EXPECT_EQ(find_program("./no/such", "/bin"), "");
    EXPECT_EQ(find_program("/etc/passwd", ""), "");
    EXPECT_EQ(find_program("/tmp", ""), "");
}

TEST(UciLines, HandshakeLines) {
    std::string text;
    EXPECT_TRUE(read_uci_id_name("id name Stockfish 15.1", &text));
    EXPECT_EQ(text, "Stockfish 15.1");
    EXPECT_FALSE(read_uci_id_name("id author the Stockfish developers", &text));
    EXPECT_TRUE(
        read_uci_option_name("option name Skill Level type spin default 20 min 0 max 20", &text));
    EXPECT_EQ(text, "Skill Level");
    EXPECT_FALSE(read_uci_option_name("option type spin", &text));
}

TEST(UciLines, InfoOfTheMainLineOnly) {
    engine_thinking t;
    EXPECT_TRUE(read_uci_info("info depth 12 seldepth 15 multipv 1 score cp -35 nodes 98765 nps "
                              "1000 time 98 pv e7e5 g1f3 b8c6",
                              &t));
    EXPECT_EQ(t.depth, 12);
    EXPECT_TRUE(t.has_score);
    EXPECT_FALSE(t.mate);
    EXPECT_EQ(t.score, -35);
    EXPECT_EQ(t.nodes, 98765);
    EXPECT_EQ(t.time_ms, 98);
    EXPECT_EQ(t.pv, (strings{"e7e5", "g1f3", "b8c6"}));
    // A second line, a string and a progress line leave it as it was.
    EXPECT_FALSE(read_uci_info("info depth 12 multipv 2 score cp -80 pv d7d5", &t));
    EXPECT_FALSE(read_uci_info("info string NNUE evaluation enabled pv a2a3", &t));
    EXPECT_FALSE(read_uci_info("info depth 13 currmove a2a3 currmovenumber 20", &t));
    // A bound after an exact line says less than it.
    EXPECT_FALSE(read_uci_info("info depth 13 score cp -37 upperbound nodes 9 pv e7e5", &t));
    EXPECT_EQ(t.score, -35);
    EXPECT_EQ(t.pv.size(), 3u);
    // Mate scores, and a pv that other words follow.
    t = engine_thinking{};
    EXPECT_TRUE(read_uci_info("info depth 3 score mate -2 lowerbound pv f7f6 d1h5 nodes 100", &t));
    EXPECT_TRUE(t.mate);
    EXPECT_EQ(t.score, -2);
    EXPECT_EQ(t.pv, (strings{"f7f6", "d1h5"}));
    EXPECT_EQ(t.nodes, 100);
    EXPECT_FALSE(read_uci_info("infodepth 3", &t));
}

// Numbers engines have sent to break the client: out of range, the line is not read (the
// thinking stays as it was) rather than overflowing.
TEST(EngineLines, NumbersNoEngineCouldMeanAreNotRead) {
    engine_thinking t;
    ASSERT_TRUE(read_uci_info("info depth 1 score cp 5 pv e2e4", &t));
    EXPECT_FALSE(read_uci_info("info depth 2 score mate -2147483648 pv e7e5", &t));
    EXPECT_FALSE(read_uci_info("info depth 99999999999999999999 score cp 1 pv e7e5", &t));
    EXPECT_FALSE(read_uci_info("info time -5 pv e7e5", &t));
    EXPECT_EQ(t.pv, strings{"e2e4"});
    EXPECT_EQ(t.score, 5);
    engine_thinking x;
    ASSERT_TRUE(read_xboard_thinking("9 156 1084 156 e5", &x));
    EXPECT_FALSE(read_xboard_thinking("9 156 1084444444444444449 156 e5", &x));
    EXPECT_FALSE(read_xboard_thinking("9 -9223372036854775808 10 156 e5", &x));
    EXPECT_FALSE(read_xboard_thinking("9 999999 10 156 e5", &x));
    EXPECT_EQ(x.time_ms, 10840);
    EXPECT_EQ(x.score, 156);
    // The widest that are read, and any score a caller sets, are described without fault.
    ASSERT_TRUE(read_uci_info("info depth 10000 score mate -10000 pv e7e5", &t));
    EXPECT_EQ(describe_thinking(t), "depth 10000, mated in 10000");
    t.score = INT_MIN;
    EXPECT_EQ(describe_thinking(t), "depth 10000, mated in 2147483648");
}

TEST(UciLines, BestMoveAndGo) {
    std::string move = "unset";
    EXPECT_TRUE(read_uci_bestmove("bestmove e7e8q ponder a2a1", &move));
    EXPECT_EQ(move, "e7e8q");
    EXPECT_TRUE(read_uci_bestmove("bestmove", &move));
    EXPECT_EQ(move, "");
    EXPECT_FALSE(read_uci_bestmove("bestmoves e2e4", &move));

    engine_limits l;
    EXPECT_EQ(uci_go_command(l), "go");
    l.movetime_ms = 250;
    EXPECT_EQ(uci_go_command(l), "go movetime 250");
    l.clocks = true;
    l.wtime_ms = 60000;
    l.btime_ms = 59000;
    l.winc_ms = 1000;
    l.binc_ms = 0;
    l.movestogo = 12;
    l.depth = 7;
    // The clocks take over from a move time.
    EXPECT_EQ(uci_go_command(l),
              "go wtime 60000 btime 59000 winc 1000 binc 0 movestogo 12 depth 7");
}

TEST(XboardLines, Features) {
    const std::vector<xboard_feature> f = read_features(
        "feature ping=1 myname=\"Fairy-Max 5.0b\"  option=\"Resign -check 0\" done=0 san=0");
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0].name, "ping");
    EXPECT_EQ(f[0].value, "1");
    EXPECT_EQ(f[1].name, "myname");
    EXPECT_EQ(f[1].value, "Fairy-Max 5.0b");
    EXPECT_EQ(f[2].value, "Resign -check 0");
    EXPECT_EQ(f[3].name, "done");
    EXPECT_EQ(f[4].value, "0");
    EXPECT_TRUE(read_features("features ping=1").empty());
    EXPECT_TRUE(read_features("tellics say feature ping=1").empty());
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(read_features("feature myname=\"Half").at(0).value, "Half");
}

TEST(XboardLines, MovesThinkingAndClaims) {
    std::string move;
    EXPECT_TRUE(read_xboard_move("move e7e5", &move));
    EXPECT_EQ(move, "e7e5");
    EXPECT_TRUE(read_xboard_move("My move is : b8c6", &move));
    EXPECT_EQ(move, "b8c6");
    EXPECT_TRUE(read_xboard_move("My move is: O-O", &move));
    EXPECT_EQ(move, "O-O");
    EXPECT_FALSE(read_xboard_move("1. ... b8c6", &move));
    EXPECT_FALSE(read_xboard_move("move", &move));

    engine_thinking t;
    EXPECT_TRUE(read_xboard_thinking(" 9 +17 250 123456 d7d5 exd5 Nf6", &t));
    EXPECT_EQ(t.depth, 9);
    EXPECT_EQ(t.score, 17);
    EXPECT_EQ(t.time_ms, 2500);
    EXPECT_EQ(t.nodes, 123456);
    EXPECT_EQ(t.pv, (strings{"d7d5", "exd5", "Nf6"}));
    EXPECT_TRUE(read_xboard_thinking("12& -100003 10 5 Kh1", &t));
    EXPECT_TRUE(t.mate);
    EXPECT_EQ(t.score, -3);
    EXPECT_FALSE(read_xboard_thinking("tellics say 1 2 3 4", &t));
    EXPECT_FALSE(read_xboard_thinking("1 2 3", &t));

    EXPECT_TRUE(is_game_end_claim("resign"));
    EXPECT_TRUE(is_game_end_claim("1/2-1/2 {Draw by repetition}"));
    EXPECT_TRUE(is_game_end_claim("0-1"));
    EXPECT_FALSE(is_game_end_claim("1-0x"));
    EXPECT_FALSE(is_game_end_claim("1-0 Nf3"));
}

TEST(XboardLines, TimeCommands) {
    engine_limits l;
    l.movetime_ms = 2000;
    EXPECT_EQ(xboard_time_commands(l, true, true), (strings{"st 2"}));
    // st counts whole seconds: a shorter time is one move in that much time.
    l.movetime_ms = 100;
    EXPECT_EQ(xboard_time_commands(l, true, true),
              (strings{"level 1 0:01 0", "time 10", "otim 10"}));
    l = engine_limits{};
    l.clocks = true;
    l.wtime_ms = 65000;
    l.btime_ms = 301500;
    l.winc_ms = 2000;
    l.binc_ms = 500;
    l.depth = 4;
    // The engine's own clock is "time", the other "otim", both in centiseconds.
    EXPECT_EQ(xboard_time_commands(l, false, true),
              (strings{"level 0 5:01 0", "time 30150", "otim 6500", "sd 4"}));
    EXPECT_EQ(xboard_time_commands(l, true, false), (strings{"level 0 1:05 2", "sd 4"}));
}

TEST(LineReader, LinesDeadlineAndEnd) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    line_reader r;
    r.fd = fds[0];
    const std::string text = "uciok\r\nid name X\npartial";
    ASSERT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    std::string line;
    ASSERT_EQ(read_line(&r, &line, soon()), read_result::line);
    EXPECT_EQ(line, "uciok");
    ASSERT_EQ(read_line(&r, &line, soon()), read_result::line);
    EXPECT_EQ(line, "id name X");
    const auto before = engine_clock::now();
    EXPECT_EQ(read_line(&r, &line, soon(100)), read_result::timeout);
    EXPECT_GE(engine_clock::now() - before, std::chrono::milliseconds(100));
    close(fds[1]);
    ASSERT_EQ(read_line(&r, &line, soon()), read_result::line);
    EXPECT_EQ(line, "partial");
    EXPECT_EQ(read_line(&r, &line, soon()), read_result::closed);
    close(fds[0]);
}

TEST(LineReader, LongLinesAreCutAndMemoryStaysBounded) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // Ten megabytes without a line end, then two short lines.
    std::thread writer([fd = fds[1]] {
        const std::string block(64 * 1024, 'x');
        for (int i = 0; i < 160; i++)
            if (write(fd, block.data(), block.size()) < 0) break;
        const std::string tail = "yyy\nbestmove e2e4\n";
        [[maybe_unused]] ssize_t n = write(fd, tail.data(), tail.size());
        close(fd);
    });
    line_reader r;
    r.fd = fds[0];
    std::string line;
    size_t longest_pending = 0;
    std::vector<std::string> lines;
    while (read_line(&r, &line, soon(10000)) == read_result::line) {
        lines.push_back(line);
        longest_pending = std::max(longest_pending, r.pending.capacity());
    }
    writer.join();
    close(fds[0]);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(max_line_bytes, 'x'));
    EXPECT_EQ(lines[1], "bestmove e2e4");
    EXPECT_LE(longest_pending, 5 * max_line_bytes);
}

TEST(LineReader, ADeadlineHoldsWhileLinesKeepComing) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[1], F_SETFL, O_NONBLOCK);
    std::atomic<bool> done = false;
    std::thread writer([&] {
        const std::string lines(4096, '\n');
        while (!done)
            if (write(fds[1], lines.data(), lines.size()) < 0) std::this_thread::yield();
    });
    line_reader r;
    r.fd = fds[0];
    std::string line;
    const auto deadline = soon(200);
    read_result result;
    while ((result = read_line(&r, &line, deadline)) == read_result::line) {
    }
    EXPECT_EQ(result, read_result::timeout);
    // Well after the deadline only on a starved machine; a reader that ignored it while
    // lines keep coming would not return at all.
    EXPECT_LT(engine_clock::now() - deadline, std::chrono::milliseconds(1000));
    done = true;
    writer.join();
    close(fds[0]);
    close(fds[1]);
}
