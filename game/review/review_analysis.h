// Every position of a game analysed by a pool of threads, one player each, the positions
// shared out as the threads come free; a progress bar on standard error meanwhile.
#pragma once

#include "game/review/review_input.h"
#include "game/review/review_math.h"
#include "game/review/review_players.h"

#include <string>
#include <vector>

struct position_analysis {
    review_score score; // from the view of the side to move
    bool has_best = false;
    san_move best{};
    std::vector<san_move> line; // from the best move on
};

// A review's budget for each position unless told otherwise.
constexpr int default_review_movetime_ms = 300;

// Told on the calling thread about every 100 ms while the positions are analysed.
struct analysis_progress {
    void *context = nullptr;
    void (*told)(void *context, size_t done, size_t total) = nullptr;
};

struct analysis_request {
    review_engine engine;
    player_limits limits;
    unsigned threads = 1;
    const analysis_progress *progress = nullptr; // null: a progress bar on standard error
};

// One analysis per position of `input`. False with one line in `error` when a player
// cannot start or fails; `player_name`, when given, gets the name of the one asked.
bool analyse_game(const review_input &input, const analysis_request &request,
                  std::vector<position_analysis> *out, std::string *player_name,
                  std::string *error);
