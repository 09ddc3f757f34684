#include "rules/live_game.h"

struct board board;
struct game_status game_status;
uint32_t turn_count = 0;
