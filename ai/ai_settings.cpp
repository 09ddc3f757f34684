#include "ai/ai_settings.h"

uint8_t depth1 = default_depth1;
uint8_t depth2 = default_depth2;
uint8_t blunders = 0;
int32_t global_deadend_score = default_deadend_score;
int32_t deadend_limit = default_deadend_limit;
