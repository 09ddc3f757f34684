// The review of a game this run has just finished, in the game itself: the command `review`
// after a text game with COMMANDS, and the key v on the full-screen board's end screen.
#pragma once

#include "game/input/line_input.h"
#include "game/records/game_record.h"
#include "game/review/review_analysis.h"
#include "game/review/review_report.h"

#include <string>

struct played_game_review {
    review_input input;
    game_review review; // its moves line up with the record's
};

// Reviews every move of `record` (a resumed game's earlier ones too) with the strong player
// at the review's default budget on every core. `progress`, when given, is told instead of
// the bar on standard error. False with one line in `error`.
bool review_played_game(const game_record &record, const analysis_progress *progress,
                        played_game_review *out, std::string *error);

// After the text game's last message: offers the review until the person types review
// (which prints the summary), an empty line or the end of input, which ends it quietly.
void offer_review(person_input *input, const game_record &record);
