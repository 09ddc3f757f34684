// The evaluation graph of a review as an SVG picture, in the style of the match tool's
// ladder: White's Win% against the move, mistakes and blunders marked.
#pragma once

#include "game/review/review_report.h"

#include <string>

std::string review_svg(const game_review &review, const std::string &title);
