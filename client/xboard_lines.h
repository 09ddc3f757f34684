// The lines of the xboard (CECP) protocol: those an engine sends, read; the time commands,
// written.
#pragma once

#include "client/engine_limits.h"
#include "client/engine_thinking.h"

#include <string>
#include <string_view>
#include <vector>

struct xboard_feature {
    std::string name, value;
};

// The NAME=VALUE pairs of a "feature" line; a value in double quotes may hold blanks.
// Empty for other lines.
std::vector<xboard_feature> read_features(std::string_view line);

// "move e2e4", and the older "My move is: e2e4" -> "e2e4".
bool read_xboard_move(std::string_view line, std::string *move);

// A thinking line "PLY SCORE TIME NODES PV...": time in centiseconds, a score of 100000+N
// a mate in N moves. False for other lines.
bool read_xboard_thinking(std::string_view line, engine_thinking *t);

// "1-0 {White mates}", "0-1 {...}", "1/2-1/2 {...}", "resign": the engine ends the game.
bool is_game_end_claim(std::string_view line);

// The time control for one move: a move time as "st N" in whole seconds, otherwise (st
// takes whole seconds only) as one move in the time left, "level 1 ..." with "time" and
// "otim"; the clocks as "level MPS BASE INC" with "time" and "otim" in centiseconds, when
// the engine accepts them (`time_commands`); "sd N" for a depth.
std::vector<std::string> xboard_time_commands(const engine_limits &limits, bool engine_is_white,
                                              bool time_commands);
