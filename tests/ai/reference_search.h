// The rating search in its plainest form, over the reference rules.
#pragma once

#include "ai/search_state.h"
#include "rules/structs.h"

int8_t ref_rate_move(struct move *mv, const struct board *brd, uint8_t turn, search_state *st);
