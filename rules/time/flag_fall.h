// The end of a game whose clock ran out.
#pragma once

#include "rules/board.h"

#include <string>

// The record's Termination tag for a game decided by a clock.
constexpr const char *time_forfeit_termination = "time forfeit";

struct flag_verdict {
    const char *result;  // "1-0", "0-1" or "1/2-1/2"
    std::string message; // "White's time is up. Black won."
};

// `flagged` (0 White, 1 Black) has no time left: the other side wins, or the game is drawn
// when the other side cannot mate ("White's time is up. Draw: Black cannot mate."). The
// game's own rules count any lone minor piece as unable to mate; the standard rules (`fide`)
// only a bare king, a lone minor piece against a bare king, and the dead positions, since
// otherwise some series of legal moves mates.
flag_verdict flag_fall_verdict(const struct board &brd, uint8_t flagged, bool fide = false);
