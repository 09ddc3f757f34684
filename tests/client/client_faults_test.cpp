// The client against a scripted engine that dies, hangs, floods and plays illegal moves:
// every fault is reported, memory stays bounded and no process is left behind.
#include "client/engine_client.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

const std::string fake = FAKE_ENGINE;

bool has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

void start(engine_client *c, const std::string &script,
           engine_protocol protocol = engine_protocol::detect,
           const std::vector<engine_option> &options = {}) {
    std::string error;
    ASSERT_TRUE(start_engine(c, fake + " " + script, protocol, options, &error)) << error;
}

struct process_stat {
    char state = 0;
    long ppid = 0, pgrp = 0;
};

// Every process's state, parent and group, as /proc tells them.
std::vector<process_stat> all_processes() {
    std::vector<process_stat> all;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // pid (comm) state ppid pgrp ...: the name may hold blanks, so read after ')'.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        process_stat p;
        rest >> p.state >> p.ppid >> p.pgrp;
        all.push_back(p);
    }
    return all;
}

// No process of the group `pid` led still runs. (What the engine started is reparented
// when it dies and may stay a zombie until its new parent reaps it.)
bool group_ended(pid_t pid) {
    for (const process_stat &p : all_processes())
        if (p.pgrp == pid && p.state != 'Z') return false;
    return true;
}

// Reaped (not a zombie of ours), and nothing of its process group left running. (SIGKILL
// takes a moment to end the others of the group: they are given a second.)
bool gone(pid_t pid) {
    if (waitpid(pid, nullptr, WNOHANG) >= 0 || errno != ECHILD) return false;
    for (int tries = 0; tries < 100; tries++) {
        if (group_ended(pid)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Children of this process that have ended and wait to be reaped.
int zombie_children() {
    int zombies = 0;
    for (const process_stat &p : all_processes()) zombies += p.ppid == getpid() && p.state == 'Z';
    return zombies;
}

// The peak memory of this process, in kilobytes.
long peak_kb() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return 0;
}

engine_limits quick(long deadline_ms = 0) {
    engine_limits l;
    l.movetime_ms = 50;
    l.deadline_ms = deadline_ms;
    return l;
}

const engine_position from_start{};

} // namespace

TEST(EngineStart, FailuresAreOneLineNamingTheEngine) {
    engine_client c;
    std::string error;
    EXPECT_FALSE(start_engine(&c, "/nonexistent/engine", engine_protocol::detect, {}, &error));
    EXPECT_TRUE(has(error, "'/nonexistent/engine'")) << error;
    EXPECT_FALSE(
        start_engine(&c, "no-such-engine-here --uci", engine_protocol::detect, {}, &error));
    EXPECT_TRUE(has(error, "not found on PATH nor in /usr/games")) << error;
    EXPECT_FALSE(start_engine(&c, "/etc/passwd", engine_protocol::detect, {}, &error));
    EXPECT_TRUE(has(error, "'/etc/passwd': not executable")) << error;
    EXPECT_FALSE(start_engine(&c, "  ", engine_protocol::detect, {}, &error));
    EXPECT_FALSE(start_engine(&c, "/bin/true", engine_protocol::detect, {}, &error));
    EXPECT_TRUE(has(error, "ended while starting (exit status 0)")) << error;
    // A program that says nothing is neither: asked in UCI, then in xboard.
    EXPECT_FALSE(start_engine(&c, fake + " uci silent", engine_protocol::detect, {}, &error));
    EXPECT_TRUE(has(error, "answers neither UCI nor xboard")) << error;
    // A forced protocol the engine refuses.
    EXPECT_FALSE(start_engine(&c, fake + " xboard", engine_protocol::uci, {}, &error));
    EXPECT_TRUE(has(error, "does not speak UCI")) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST(EngineStart, ProtocolNameAndOptions) {
    engine_client uci, xboard;
    // A line end carried in from a file with CRLF lines is no part of the value.
    start(&uci, "uci", engine_protocol::detect, {{"hash", "32\r"}, {"Threads", "2"}});
    EXPECT_EQ(uci.protocol, engine_protocol::uci);
    EXPECT_EQ(uci.name, "Fake Engine");
    ASSERT_EQ(uci.warnings.size(), 1u) << "hash is Hash; Threads is not an option of it";
    EXPECT_TRUE(has(uci.warnings[0], "no option 'Threads'"));

    start(&xboard, "xboard name=Fairy", engine_protocol::detect,
          {{"strength", "7"}, {"memory", "64"}});
    EXPECT_EQ(xboard.protocol, engine_protocol::xboard);
    EXPECT_EQ(xboard.name, "Fairy");
    ASSERT_EQ(xboard.warnings.size(), 1u) << "it declares Strength, not memory";
    EXPECT_TRUE(has(xboard.warnings[0], "'memory'"));
    std::string warning;
    EXPECT_FALSE(set_engine_option(&xboard, {"Strength", "1\nquit"}, &warning));
    EXPECT_TRUE(has(warning, "not a usable"));
    EXPECT_TRUE(xboard.failure.empty());
}

TEST(EngineStart, NoWordOfTheCommandIsInterpreted) {
    engine_client c;
    start(&c, "uci name=$HOME*;`true`");
    EXPECT_EQ(c.name, "$HOME*;`true`");
}

TEST(EngineStart, NamesAreFitToPrint) {
    engine_client c;
    // A terminal's clear-screen sequence, and a name too long for a record's tag.
    start(&c, "xboard name=Evil%1b[2J");
    EXPECT_EQ(c.name, "Evil?[2J");
    start(&c, "uci name=" + std::string(300, 'n'));
    EXPECT_EQ(c.name, std::string(80, 'n'));
    // Cut before a character that does not fit whole: the tag stays UTF-8.
    start(&c, "uci name=" + std::string(79, 'n') + "%c3%a9t%c3%a9");
    EXPECT_EQ(c.name, std::string(79, 'n'));
    start(&c, "uci name=" + std::string(78, 'n') + "%c3%a9t%c3%a9");
    EXPECT_EQ(c.name, std::string(78, 'n') + "\xC3\xA9");
}

TEST(EngineFaults, DeathIsReportedAndTheEngineReaped) {
    for (const char *protocol : {"uci", "xboard"}) {
        SCOPED_TRACE(protocol);
        engine_client c;
        start(&c, std::string(protocol) + " die-after=1");
        const pid_t pid = c.process.pid;
        const engine_answer first = engine_think(&c, from_start, quick());
        EXPECT_EQ(first.fault, engine_fault::none) << first.message;
        engine_position next = from_start;
        next.moves = {first.move_text, "e7e5"};
        const engine_answer second = engine_think(&c, next, quick());
        EXPECT_EQ(second.fault, engine_fault::died);
        EXPECT_EQ(second.message, "Fake Engine died (exit status 3)");
        EXPECT_TRUE(gone(pid));
        // Every later question gets the same answer at once.
        const engine_answer third = engine_think(&c, from_start, quick());
        EXPECT_EQ(third.fault, engine_fault::died);
        EXPECT_LT(third.elapsed_ms, 100);
        EXPECT_FALSE(new_engine_game(&c));
    }
}

// A UCI engine that passes over xboard's words in silence is taken for one of the first
// xboard protocol; the interrupt that asks it for its move ends it, and that is the cause
// given, not a signal out of nowhere.
TEST(EngineFaults, AnEngineEndedByTheInterruptIsToldSo) {
    engine_client c;
    start(&c, "uci", engine_protocol::xboard);
    const engine_answer a = engine_think(&c, from_start, quick());
    EXPECT_EQ(a.fault, engine_fault::died);
    EXPECT_EQ(a.message, "fake_engine died (killed by signal 2 (SIGINT)): it does not take the "
                         "interrupt that asks an xboard engine for its move");
}

TEST(EngineFaults, AHungEngineIsGivenUpAtTheDeadline) {
    for (const char *protocol : {"uci", "xboard"}) {
        SCOPED_TRACE(protocol);
        engine_client c;
        start(&c, std::string(protocol) + " hang-after=0");
        const pid_t pid = c.process.pid;
        const auto before = engine_clock::now();
        const engine_answer a = engine_think(&c, from_start, quick(300));
        const auto waited = engine_clock::now() - before;
        EXPECT_EQ(a.fault, engine_fault::hung);
        // The time named is the time waited: 0.3 s, more on a loaded machine.
        EXPECT_EQ(a.message.rfind("Fake Engine gave no move within 0.", 0), 0u) << a.message;
        // The deadline, a second for a late move, a second for the engine to quit.
        EXPECT_GE(waited, std::chrono::milliseconds(300));
        EXPECT_LT(waited, std::chrono::milliseconds(3000));
        EXPECT_TRUE(gone(pid));
        EXPECT_FALSE(c.failure.empty());
    }
}

TEST(EngineFaults, IllegalAndUnreadableMovesAreRefusedByName) {
    for (const char *protocol : {"uci", "xboard"}) {
        SCOPED_TRACE(protocol);
        engine_client c;
        start(&c, std::string(protocol) + " illegal-after=0");
        engine_answer a = engine_think(&c, from_start, quick());
        EXPECT_EQ(a.fault, engine_fault::illegal_move);
        EXPECT_EQ(a.message, "Fake Engine played an illegal move: e2e5");
        start(&c, std::string(protocol) + " unreadable");
        a = engine_think(&c, from_start, quick());
        EXPECT_EQ(a.fault, engine_fault::unreadable_move);
        EXPECT_EQ(a.message, "Fake Engine sent an unreadable move: 'xyzzy'");
    }
}

// AddressSanitizer keeps freed memory in quarantine, and slows the flood: there the test
// floods a little, for the memory errors, and does not measure.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool measures_memory = false;
#else
constexpr bool measures_memory = true;
#endif

TEST(EngineFaults, FloodsLeaveMemoryBounded) {
    const std::string megabytes = measures_memory ? "24" : "2";
    const long before = peak_kb();
    engine_client c;
    start(&c, "uci flood=" + megabytes);
    engine_answer a = engine_think(&c, from_start, quick(20000));
    EXPECT_EQ(a.fault, engine_fault::none) << a.message;
    start(&c, "xboard long-line=" + megabytes);
    a = engine_think(&c, from_start, quick(20000));
    EXPECT_EQ(a.fault, engine_fault::none) << a.message;
    start(&c, "uci flood-forever");
    a = engine_think(&c, from_start, quick(500));
    EXPECT_EQ(a.fault, engine_fault::hung);
    // 24 MB went through each time; the client kept a few kilobytes of it.
    if (measures_memory) {
        EXPECT_LT(peak_kb() - before, 8 * 1024);
    }
}

// An engine that chatters or declares options without end is refused at once, in one line
// that says so (not as a signal the client sent it), and the client keeps little of it.
TEST(EngineStart, FloodsWhileStartingAreRefusedAtOnce) {
    const long before = peak_kb();
    for (const char *protocol : {"uci", "xboard"}) {
        SCOPED_TRACE(protocol);
        engine_client c;
        std::string error;
        const auto start_time = engine_clock::now();
        EXPECT_FALSE(start_engine(&c, fake + " " + protocol + " option-flood",
                                  engine_protocol::detect, {}, &error));
        EXPECT_TRUE(has(error, "was refused: it declares more than 1 MB of options")) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        EXPECT_LT(engine_clock::now() - start_time, std::chrono::seconds(5));

        EXPECT_FALSE(start_engine(&c, "/bin/yes",
                                  protocol == std::string("uci") ? engine_protocol::detect
                                                                 : engine_protocol::xboard,
                                  {}, &error));
        EXPECT_TRUE(has(error, "was refused: it sent 1000 lines while starting, none of it"))
            << error;
        EXPECT_LT(engine_clock::now() - start_time, std::chrono::seconds(8));
    }
    if (measures_memory) {
        EXPECT_LT(peak_kb() - before, 16 * 1024);
    }
}

// What an engine leaves running: a child that keeps its output open and leaves its process
// group and session (setsid). The engine's end is still seen as its death, and the child is
// ended and reaped with it.
TEST(EngineStop, NothingItStartedOutlivesIt) {
    const std::filesystem::path script =
        std::filesystem::temp_directory_path() / ("leaves-a-child-" + std::to_string(getpid()));
    const std::string marker = "86399." + std::to_string(getpid());
    {
        std::ofstream out(script);
        // Another child leaves the session and ends soon, while the engine plays on.
        out << "#!/bin/sh\nsetsid sleep " << marker << " &\n(setsid sleep 0.1 &)\nexec " << fake
            << " uci die-after=2\n";
    }
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const auto sleeper_runs = [&] {
        for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
            std::ifstream cmdline(entry.path() / "cmdline");
            std::string text((std::istreambuf_iterator<char>(cmdline)), {});
            if (text == "sleep" + std::string(1, '\0') + marker + std::string(1, '\0')) return true;
        }
        return false;
    };
    engine_client c;
    std::string error;
    ASSERT_TRUE(start_engine(&c, script.string(), engine_protocol::uci, {}, &error)) << error;
    EXPECT_EQ(engine_think(&c, from_start, quick()).fault, engine_fault::none);
    for (int tries = 0; tries < 100 && !sleeper_runs(); tries++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(sleeper_runs());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(engine_think(&c, {"", {"e2e4", "e7e5"}}, quick()).fault, engine_fault::none);
    EXPECT_EQ(zombie_children(), 0);
    const engine_answer a = engine_think(&c, {"", {"e2e4", "e7e5", "d2d4", "d7d5"}}, quick(20000));
    EXPECT_EQ(a.message, "Fake Engine died (exit status 3)");
    EXPECT_LT(a.elapsed_ms, 5000);
    EXPECT_FALSE(sleeper_runs());
    // Everything this process adopted was reaped: it has no child left, not even a zombie.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    std::filesystem::remove(script);
}

TEST(EngineStop, TheWholeProcessGroupEndsEvenWhenItIgnoresQuit) {
    engine_client c;
    start(&c, "uci deaf spawn");
    const pid_t pid = c.process.pid;
    const auto before = engine_clock::now();
    stop_engine(&c);
    EXPECT_LT(engine_clock::now() - before, std::chrono::milliseconds(2500));
    EXPECT_TRUE(gone(pid));
    stop_engine(&c); // twice is harmless

    pid_t scoped = -1;
    {
        engine_client d;
        start(&d, "xboard deaf spawn");
        scoped = d.process.pid;
    }
    EXPECT_TRUE(gone(scoped));
}

TEST(EngineThink, TheCallerCanAskForTheMoveNow) {
    for (const char *protocol : {"uci", "xboard"}) {
        SCOPED_TRACE(protocol);
        engine_client c;
        start(&c, std::string(protocol) + " slow");
        int calls = 0;
        const engine_watch watch{&calls, [](void *context, const engine_thinking &) {
                                     return ++*static_cast<int *>(context) < 3;
                                 }};
        const engine_answer a = engine_think(&c, from_start, engine_limits{}, watch);
        EXPECT_EQ(a.fault, engine_fault::none) << a.message;
        EXPECT_EQ(calls, 3);
        EXPECT_LT(a.elapsed_ms, 1000);
    }
}

TEST(EngineThink, AnEngineThatAsksForItIsStartedAnewForEachGame) {
    engine_client c;
    start(&c, "xboard no-reuse", engine_protocol::detect, {{"Strength", "3"}});
    const pid_t first = c.process.pid;
    ASSERT_TRUE(new_engine_game(&c));
    EXPECT_NE(c.process.pid, first);
    EXPECT_TRUE(gone(first));
    EXPECT_EQ(c.options.size(), 1u) << "its options are set again";
    EXPECT_EQ(engine_think(&c, from_start, quick()).fault, engine_fault::none);
    engine_client d;
    start(&d, "xboard");
    const pid_t kept = d.process.pid;
    ASSERT_TRUE(new_engine_game(&d));
    EXPECT_EQ(d.process.pid, kept);
}

TEST(EngineThink, ResignationAndUnusablePositions) {
    engine_client c;
    start(&c, "xboard resign");
    const engine_answer resigned = engine_think(&c, from_start, quick());
    EXPECT_EQ(resigned.fault, engine_fault::none);
    EXPECT_TRUE(resigned.resigned);

    start(&c, "uci");
    const engine_answer bad = engine_think(&c, {"", {"e2e4", "e2e4"}}, quick());
    EXPECT_EQ(bad.fault, engine_fault::bad_position);
    EXPECT_TRUE(has(bad.message, "move 2 'e2e4'")) << bad.message;
    EXPECT_TRUE(c.failure.empty()) << "not the engine's fault";
    // Mate: nothing to ask.
    const engine_answer mated = engine_think(&c, {"", {"f2f3", "e7e5", "g2g4", "d8h4"}}, quick());
    EXPECT_EQ(mated.fault, engine_fault::bad_position);
    EXPECT_EQ(engine_think(&c, from_start, quick()).fault, engine_fault::none);
}

// Two engines play each other, the xboard one given only the moves it has not seen: a
// board that fell out of step would show as an illegal move.
TEST(EngineThink, AGameFromAPositionMoveByMove) {
    engine_client white, black;
    start(&white, "xboard");
    start(&black, "uci");
    ASSERT_TRUE(new_engine_game(&white));
    ASSERT_TRUE(new_engine_game(&black));
    engine_position game{"r3k2r/pppq1ppp/2n2n2/3pp3/3PP3/2N2N2/PPPQ1PPP/R3K2R w KQkq - 0 8", {}};
    for (int ply = 0; ply < 16; ply++) {
        engine_client *mover = ply % 2 == 0 ? &white : &black;
        const engine_answer a = engine_think(mover, game, quick());
        ASSERT_EQ(a.fault, engine_fault::none) << a.message;
        ASSERT_FALSE(a.san.empty());
        game.moves.push_back(a.move_text);
    }
    // A position that does not follow makes the xboard engine start anew.
    game.moves.resize(3);
    EXPECT_EQ(engine_think(&black, game, quick()).fault, engine_fault::none);
    game.moves.pop_back();
    EXPECT_EQ(engine_think(&white, game, quick()).fault, engine_fault::none);
}
