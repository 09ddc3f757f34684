// The strong player's table as the Hash option asks for it: made when the option is set, so
// that no search pays for it, and never larger than the machine can spare.
#pragma once

#include "ai/strong/search/strong_tt.h"

// Half the memory of the machine (or of the process's control group, when smaller), in MB:
// a table that fills it would leave the rest of the machine paging.
int64_t spare_megabytes();

// Makes `table` `megabytes` large. A size above spare_megabytes(), or one whose allocation
// fails, is halved until it can be had; when no size above the table in place can be had, that
// table stays. Either case is told in an info string.
void size_strong_table(transposition_table *table, int megabytes);
