#include "rules/time/flag_fall.h"
#include "rules/mating_material.h"

flag_verdict flag_fall_verdict(const struct board &brd, uint8_t flagged, bool fide) {
    const uint8_t other = flagged ? side_white : side_black;
    const std::string loser = flagged ? "Black" : "White";
    const std::string winner = flagged ? "White" : "Black";
    const std::string time_up = loser + "'s time is up. ";
    if (fide ? !could_ever_mate(brd, other) : !can_mate(brd, other))
        return {"1/2-1/2", time_up + "Draw: " + winner + " cannot mate."};
    return {flagged ? "1-0" : "0-1", time_up + winner + " won."};
}
