// The client with Debian's engines: stockfish over UCI, fairymax over xboard, and the
// command each of the others needs.
#include "client/engine_client.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

bool installed(const char *path) {
    return access(path, X_OK) == 0;
}

engine_limits moves_in(int ms) {
    engine_limits l;
    l.movetime_ms = ms;
    return l;
}

// Black mates at once: 1. f3 e5 2. g4 Qh4#.
const engine_position fools_mate{"", {"f2f3", "e7e5", "g2g4"}};

} // namespace

TEST(RealEngines, StockfishOverUci) {
    if (!installed("/usr/games/stockfish"))
        GTEST_FAIL() << "no stockfish (tools/install-packages.sh test installs it)";
    engine_client c;
    std::string error;
    ASSERT_TRUE(
        start_engine(&c, "stockfish", engine_protocol::detect, {{"Skill Level", "20"}}, &error))
        << error;
    EXPECT_EQ(c.protocol, engine_protocol::uci);
    EXPECT_EQ(c.name.rfind("Stockfish", 0), 0u) << c.name;
    EXPECT_TRUE(c.warnings.empty());
    ASSERT_TRUE(new_engine_game(&c));
    engine_answer a = engine_think(&c, fools_mate, moves_in(100));
    ASSERT_EQ(a.fault, engine_fault::none) << a.message;
    EXPECT_EQ(a.move_text, "d8h4");
    EXPECT_EQ(a.san, "Qh4#");
    EXPECT_TRUE(a.thinking.mate);
    EXPECT_EQ(a.thinking.score, 1);
    EXPECT_EQ(a.thinking.pv_san, std::vector<std::string>{"Qh4#"});
    // From a FEN, on the clocks.
    engine_limits clocks;
    clocks.clocks = true;
    clocks.wtime_ms = clocks.btime_ms = 2000;
    a = engine_think(&c, {"6k1/5ppp/8/8/8/8/8/3QK3 w - - 0 1", {}}, clocks);
    ASSERT_EQ(a.fault, engine_fault::none) << a.message;
    EXPECT_EQ(a.san, "Qd8#");
    EXPECT_LT(a.elapsed_ms, 2000);
    // Told to speak xboard, it says it does not know the word: that is the reason given.
    EXPECT_FALSE(start_engine(&c, "stockfish", engine_protocol::xboard, {}, &error));
    EXPECT_NE(error.find("does not speak xboard: Unknown command: 'xboard'"), std::string::npos)
        << error;
}

TEST(RealEngines, FairymaxOverXboard) {
    if (!installed("/usr/games/fairymax"))
        GTEST_FAIL() << "no fairymax (tools/install-packages.sh test installs it)";
    engine_client c;
    std::string error;
    ASSERT_TRUE(start_engine(&c, "fairymax", engine_protocol::detect, {{"Resign", "0"}}, &error))
        << error;
    EXPECT_EQ(c.protocol, engine_protocol::xboard);
    EXPECT_EQ(c.name, "Fairy-Max 5.0b");
    ASSERT_TRUE(new_engine_game(&c));
    const engine_answer a = engine_think(&c, fools_mate, moves_in(1000));
    ASSERT_EQ(a.fault, engine_fault::none) << a.message;
    EXPECT_EQ(a.san, "Qh4#");
    EXPECT_LT(a.elapsed_ms, 2000);
    EXPECT_FALSE(a.thinking.pv_san.empty());
    // It has no setboard: a position that is not from the start is refused, not guessed.
    const engine_answer refused =
        engine_think(&c, {"6k1/5ppp/8/8/8/8/8/3QK3 w - - 0 1", {}}, moves_in(100));
    EXPECT_EQ(refused.fault, engine_fault::no_move);
    EXPECT_NE(refused.message.find("setboard"), std::string::npos) << refused.message;
    // Its board follows a game played on.
    engine_position game = fools_mate;
    game.moves.pop_back();
    for (int ply = 0; ply < 6; ply++) {
        const engine_answer next = engine_think(&c, game, moves_in(50));
        ASSERT_EQ(next.fault, engine_fault::none) << next.message;
        game.moves.push_back(next.move_text);
    }
}

// How each Debian engine is started, and that it then answers with a legal move.
TEST(RealEngines, TheOtherDebianEngines) {
    const struct {
        const char *program, *command;
        engine_protocol protocol;
    } engines[] = {
        {"/usr/games/hoichess", "hoichess -x", engine_protocol::xboard},
        {"/usr/games/phalanx", "phalanx -l-", engine_protocol::xboard},
        {"/usr/games/gnuchess", "gnuchess", engine_protocol::xboard},
        {"/usr/games/gnuchess", "gnuchess -u", engine_protocol::uci},
    };
    for (const auto &e : engines) {
        ASSERT_TRUE(installed(e.program))
            << e.program << " (tools/install-packages.sh test installs it)";
        SCOPED_TRACE(e.command);
        engine_client c;
        std::string error;
        ASSERT_TRUE(start_engine(&c, e.command, engine_protocol::detect, {}, &error)) << error;
        EXPECT_EQ(c.protocol, e.protocol);
        const engine_answer a = engine_think(&c, {"", {"e2e4", "c7c5", "b1c3"}}, moves_in(1000));
        EXPECT_EQ(a.fault, engine_fault::none) << a.message;
    }
}
