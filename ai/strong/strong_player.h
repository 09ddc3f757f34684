// The strong computer player: iterative deepening alpha-beta over a fast copy of the game's
// position, with its own evaluation and transposition table. Given a game, it decides the
// move of the side to move; the game itself is never changed.
#pragma once

#include "ai/strong/search/strong_tt.h"
#include "ai/strong/strong_draws.h"
#include "ai/strong/strong_time.h"
#include "rules/game_state.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

constexpr int strong_max_ply = 128;
constexpr int64_t default_move_time_ms = 1000;

// One move as the game plays it.
struct strong_move {
    coord src, dst;
    uint8_t ascend; // type_rook..type_queen, 0 for none
};

struct strong_settings {
    move_budget time = {default_move_time_ms / 2, default_move_time_ms};
    int depth_limit = 0;     // 0: none
    uint64_t node_limit = 0; // 0: none
    int hash_mb = default_hash_mb;
    unsigned threads = 1;
    draw_rules rules = draw_rules::game;
    int elo = 0;       // play at about this Elo (lowest_elo and up); 0: full strength
    uint64_t seed = 0; // of the weakened player's choices: the same seed, the same move
    // Under FIDE rules, the keys of the game's positions since its last capture or pawn
    // move, the current one last (strong_history_keys), so that the search sees every
    // repetition. Empty, or not ending with the current position: the game's own memory of
    // its last sixteen positions is used.
    std::vector<uint64_t> history;
    // The moves the root may choose from (UCI's "go searchmoves"); empty, or none of them
    // legal: every legal move.
    std::vector<strong_move> root_moves;
};

struct strong_line {
    strong_move moves[strong_max_ply];
    int length = 0;
};

// A score from the mover's side: centipawns, or a mate in so many moves.
struct strong_score {
    int cp = 0;
    int mate_in = 0; // > 0: the mover mates in that many moves; < 0: is mated; 0: no mate
};

struct strong_iteration {
    int depth = 0;
    int seldepth = 0;
    strong_score score;
    uint64_t nodes = 0;
    int64_t time_ms = 0;
    strong_line pv;
};

struct strong_observer {
    void *context = nullptr;
    // Called after every finished iteration (and for the last, unfinished one if it changed
    // the move). Null: nothing is told.
    void (*iteration_done)(void *context, const strong_iteration &iteration) = nullptr;
    // Set by another thread to end the search at once with the best move found so far.
    const std::atomic<bool> *stop = nullptr;
    // Called on the searching thread every few thousand nodes (about a millisecond), so
    // that a caller with a window can keep it alive and raise `stop`. Null: nothing.
    void (*tick)(void *context) = nullptr;
};

enum class strong_outcome : uint8_t {
    move,
    no_move, // the side has no legal move
};

struct strong_decision {
    strong_outcome outcome = strong_outcome::no_move;
    strong_move move{};
    strong_iteration result; // the iteration the move comes from
};

// What the player keeps between moves: the transposition table. Kept by the caller; a
// fresh (or cleared) one makes a search with a depth or node limit on one thread repeat
// exactly.
struct strong_memory {
    transposition_table table;
};

// Chooses the move for game.game_status.turn. `memory` may be null: a table of the
// settings' size is made for this move alone.
strong_decision choose_strong_move(const game_state &game, const strong_settings &settings,
                                   const strong_observer &observer,
                                   strong_memory *memory = nullptr);

// "depth 12, score +0.35, 1234567 positions, 1.02 s, line: e4 e5 Nf3": the iteration for
// the person watching, the line in SAN from the game's position.
std::string strong_report(const game_state &game, const strong_iteration &iteration);
