// A "go" searched by the strong player: its limits from the go command, an info line per
// iteration, and the decision.
#pragma once

#include "ai/strong/strong_player.h"
#include "engine/search_driver.h"

// Searches the request's position; `stop` ends the search at once. Sends one info line per
// iteration.
strong_decision search_strong(const search_request &request, strong_memory *memory,
                              const std::atomic<bool> *stop);

// The limits of a go command for the strong player.
strong_settings strong_settings_for(const search_request &request);

// Whether a search with these settings ends by itself: false for one that runs until stop.
bool strong_search_ends(const strong_settings &settings);

// The closing info line and "bestmove".
void send_strong_result(const search_request &request, const strong_decision &d);
