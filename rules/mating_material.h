// What the material on the board still allows: a mate by one side, a mate by anyone.
#pragma once

#include "rules/board.h"

// Whether `side` (0 White, non-zero Black) has the material to mate: anything more than a
// king alone or a king with one bishop or knight. This is how a fallen flag is judged: the
// game is drawn when the side with time left cannot mate by any series of legal moves.
bool can_mate(const struct board &brd, uint8_t side);

// Whether some series of legal moves lets `side` mate, as the standard rules judge a fallen
// flag: false for a bare king, for a king and one bishop or knight against a bare king, and
// in a dead position.
bool could_ever_mate(const struct board &brd, uint8_t side);

// A dead position, drawn at once: no series of legal moves mates either king. Recognised:
// king against king, king and a bishop or knight against king, and kings with bishops that
// all stand on squares of one colour (king and bishop against king and bishop among them).
bool dead_position(const struct board &brd);
