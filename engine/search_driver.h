// The search of a "go" command, on a thread of its own so that the protocol loop keeps
// answering (isready, stop) meanwhile. It searches as the game's computer player does,
// sends info lines while it works, and ends with "bestmove".
#pragma once

#include "ai/classic/search_context.h"
#include "ai/strong/strong_player.h"
#include "engine/engine_options.h"
#include "engine/go_limits.h"
#include "rules/game_state.h"
#include "rules/notation/san.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct search_request {
    game_state game;
    engine_options options;
    go_limits limits;
    // How `game` was reached: the position command's start and its moves (a player that
    // keeps the game's history replays them).
    game_state start{};
    std::vector<san_move> moves;
};

struct search_driver {
    // The computer player's scratch and random numbers, the engine's own.
    std::unique_ptr<search_context> context = new_search_context(default_seed);
    std::thread worker;
    std::atomic<bool> busy{false}; // a go has not yet been answered with bestmove
    bool infinite = false;         // the search under way answers only after stop
    bool endless = false;          // ... or has no end of its own (the strong player's plain go)
    engine_player player = engine_player::classic; // whose search is (or was last) under way
    std::atomic<bool> stop{false}; // ends the search under way (the GUI's stop or the clock)
    std::mutex lock;
    std::condition_variable wake; // an infinite search waits on it for the GUI's stop
    bool stop_requested = false;  // the GUI said stop (or quit); guarded by lock
    strong_memory strong;         // the strong player's table, kept from go to go
};

// Starts the search; the previous one must have been answered (busy is false).
void start_search(search_driver *driver, const search_request &request);

// The GUI's "stop": the search answers at once with the best move rated so far; returns
// once "bestmove" has been sent. Nothing happens when no search is under way.
void stop_search(search_driver *driver);

// The end of input: a search with an end of its own is let finish and answer; an endless one
// is stopped.
void finish_search(search_driver *driver);
