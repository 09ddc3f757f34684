// A player: anything that decides the move of the side to move in a game. The classic
// player, the strong player and an outside engine all sit behind this one interface, so
// that every caller (the turn loop, the UCI engine, the match tool, the review) asks them
// alike, and every front end (the text report, the window's panel, the full-screen board)
// watches any of them through one observer.
#pragma once

#include "rules/game_state.h"
#include "rules/notation/san.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The game as a player sees it: where it started, every half-move since, and the position
// reached. A player that keeps its own history (repetitions, an engine's "position ...
// moves") replays `moves` from `start`; one that needs only the position reads `now`.
struct game_moves {
    game_state start;
    std::vector<san_move> moves;
    game_state now;
};

constexpr int64_t no_clock = -1;

// What bounds one decision. Everything left at its default means "the player's own
// habit" (its time a move, its depth).
struct player_limits {
    int64_t movetime_ms = 0;                        // 0: none given
    int64_t time_left_ms[2] = {no_clock, no_clock}; // White's and Black's clocks
    int64_t increment_ms[2] = {0, 0};
    int moves_to_go = 0; // 0: not known
    int depth = 0;       // 0: none
    uint64_t nodes = 0;  // 0: none
    bool infinite = false;
    std::vector<san_move> searchmoves; // empty: every legal move
};

// What a player thinks, from the mover's side.
struct player_thinking {
    int depth = 0;
    int seldepth = 0;
    bool has_score = false;
    int cp = 0;
    int mate_in = 0; // > 0: the mover mates in that many moves; < 0: is mated; 0: no mate
    uint64_t nodes = 0;
    int64_t time_ms = 0;
    std::vector<san_move> pv;
};

// How far the classic player's pass under way has got: root moves rated of those to rate.
struct player_progress {
    int pass = 0; // 1 for the first pass, 2 for the second
    int depth = 0;
    int rated = 0;
    int to_rate = 0;
};

struct player_observer {
    void *context = nullptr;
    // After every finished iteration (the classic player: every pass). Null: not told.
    void (*thinking)(void *context, const player_thinking &so_far) = nullptr;
    // On the thinking thread about every 100 ms (or more often), so that a front end can
    // keep a window or a terminal alive, tick its clocks and raise `stop`. Null: nothing.
    void (*tick)(void *context) = nullptr;
    // The player's own report lines, without their newline ("depth 3: Analyzed ..."). Null:
    // dropped.
    void (*line)(void *context, const char *text) = nullptr;
    // A player that rates root moves one by one says so after each and about every 100 ms;
    // `tick` is then not called, so this is where a window is kept alive. Null: not told.
    void (*progress)(void *context, const player_progress &now) = nullptr;
    // Set by another thread (or by `tick`) to end the thinking at once with the best move
    // found so far.
    const std::atomic<bool> *stop = nullptr;
};

enum class player_outcome : uint8_t {
    move,
    no_move, // the side to move has no legal move
    failed,  // the player could not answer (an engine died, hung or moved illegally)
};

struct player_answer {
    player_outcome outcome = player_outcome::failed;
    san_move move{};
    bool book = false;      // taken from an opening book, not searched
    bool resigned = false;  // an engine gave up (its move is then not played)
    player_thinking report; // the thinking the move comes from
    std::string failure;    // with `failed`: one line saying what went wrong
    bool timed_out = false; // with `failed`: no answer before the clock's flag would fall
    // The move was cut short by the clock and comes from a quick first pass instead.
    bool one_pass = false;
    // Its own report lines already named the move ("12: Moving e7 to e5 (score: 35)"), so a
    // caller that announces moves does not name it again.
    bool announced = false;
    // One line on how the move was found, for after the move is announced ("depth 12,
    // score +0.35, ..."); none when it has nothing to say that fits the move.
    std::optional<std::string> summary;
    int opening = -1; // the classic player's book counter after its move; -1: no book
};

// One small interface because callers must treat every kind of player alike. A player is
// used by one thread at a time; give each thread its own.
struct player {
    virtual ~player() = default;
    virtual player_answer decide(const game_moves &game, const player_limits &limits,
                                 const player_observer &observer) = 0;
    // The name a record gives it ("Vartok strong at Elo 1800", "Stockfish 15.1").
    virtual std::string name() const = 0;
};
