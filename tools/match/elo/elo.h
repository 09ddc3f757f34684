// The Elo difference a match score stands for, with its 95% error margin.
#pragma once

struct match_score {
    int wins = 0, draws = 0, losses = 0;
};

struct elo_estimate {
    double score; // points per game, 0..1
    double elo;   // the difference; meaningful only when `finite`
    double low;   // the 95% interval; `low` may be -infinity, `high` +infinity
    double high;
    bool finite; // false when every game was won or every game lost
};

// The score's standard error comes from the spread of the game results (wins, draws and
// losses as 1, 1/2 and 0); the interval is the score plus or minus 1.96 of them, turned
// into Elo. A clean sweep has no finite estimate: its bound uses the chance 0.05 that
// every one of n games goes the same way, score bound 1 - 0.05^(1/n).
elo_estimate estimate_elo(const match_score &s);
