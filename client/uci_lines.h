// The lines of the UCI protocol: those an engine sends, read; the go command, written.
#pragma once

#include "client/engine_limits.h"
#include "client/engine_thinking.h"

#include <string>
#include <string_view>

// "id name Stockfish 15.1" -> "Stockfish 15.1".
bool read_uci_id_name(std::string_view line, std::string *name);

// "option name Skill Level type spin ..." -> "Skill Level".
bool read_uci_option_name(std::string_view line, std::string *name);

// An info line of the main line (not a second multipv line, not "info string", not a bound
// once an exact line was read): its depth, score, nodes, time and principal variation go
// into `t`, whichever it has. False for other lines.
bool read_uci_info(std::string_view line, engine_thinking *t);

// "bestmove e2e4 ponder e7e5" -> "e2e4"; "bestmove" alone -> "".
bool read_uci_bestmove(std::string_view line, std::string *move);

// "go movetime 100", "go wtime 60000 btime 60000 winc 1000 binc 1000", "go depth 6" ...;
// plain "go" when `limits` sets nothing.
std::string uci_go_command(const engine_limits &limits);
