// One player's Elo fitted by maximum likelihood over its games against anchors of known
// Elo, draws counting as half points, with a 95% interval from the likelihood ratio.
#pragma once

#include <vector>

struct anchor_score {
    double anchor_elo;
    int wins = 0, draws = 0, losses = 0; // the player's, against this anchor
};

struct elo_fit {
    int games = 0;
    double points = 0;
    double elo = 0;           // -infinity or +infinity after a clean sweep
    double low = 0, high = 0; // the 95% interval; a sweep leaves one side infinite
};

// The expected score against an opponent `difference` Elo weaker.
double expected_score(double difference);

// The Elo x that makes the games most likely, each game scoring s (1, 1/2, 0) with
// likelihood E^s (1-E)^(1-s), E the expected score of x against the anchor; the interval
// holds the x whose log-likelihood lies within 1.92 (chi-square, one degree, 95%) of the
// best. No games: all zero.
elo_fit fit_elo(const std::vector<anchor_score> &scores);
