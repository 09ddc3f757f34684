// A review put together from the analyses of a game's positions: each move judged, the
// sides' figures, and the texts written from them (the annotated PGN and the summary).
#pragma once

#include "game/review/review_analysis.h"
#include "game/review/review_input.h"
#include "game/review/review_math.h"

#include <string>
#include <vector>

struct judged_move {
    std::string san;
    bool white = true;
    uint32_t fullmove = 1;
    review_score before, after; // from the mover's view
    move_judgement judgement;
    std::vector<std::string> better; // the best line in SAN, when the move played is not its first
};

struct game_review {
    std::string annotator; // the player and its budget
    std::vector<judged_move> moves;
    std::vector<review_score> white_scores; // every position, from White's view
    std::vector<double> white_win;          // and White's Win% there
    side_figures accuracy;
    double average_cp_loss[2] = {0, 0}; // White's, Black's; 0 without moves
    int counts[2][4] = {};              // of each move_class, a side
};

game_review review_of(const review_input &input, const std::vector<position_analysis> &analyses,
                      const std::string &annotator);

// The game's tags with an Annotator tag, every move with its [%eval] from White's view and
// its class's NAG, the better line as a variation for mistakes and blunders.
std::string annotated_pgn(const review_input &input, const game_review &review);

// Each side's figures, the list of mistakes and blunders, and a chart of the evaluation
// `columns` wide: a line a move, or a sparkline when it is narrow.
std::string review_summary(const review_input &input, const game_review &review, int columns);

// "18... Qxb2?? (-2.8)", then " better 18... Nxe4 (+0.3)" when `with_better` and the player
// preferred another move: a move as the summary lists it, scores from the mover's view.
std::string judged_move_text(const judged_move &m, bool with_better);

// The width of standard output when it is a terminal, else $COLUMNS, else 80.
int summary_columns();

// "0.35", "-1.20", "#3", "#-2": an evaluation from White's view as [%eval] writes it.
std::string eval_text(review_score white_view);
