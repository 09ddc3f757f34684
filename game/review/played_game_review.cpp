#include "game/review/played_game_review.h"

#include "game/view/output_check.h"
#include "rules/time/chess_clock.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

constexpr const char *review_offer = "Type review to review the game, or Enter to leave.";
constexpr int line_size = 256;

std::string budget_text() {
    return std::to_string(default_review_movetime_ms) + " ms a position";
}

// A line without the "End of input." of the game's own reads: after the game, the end of
// input is simply the way to leave. False at the end of input or when output is lost.
bool read_offer_answer(person_input *input, std::string *out) {
    if (!flush_output()) return false;
    char line[line_size];
    if (input->timed) {
        if (read_line_before(&input->reader, line, sizeof line, no_deadline) != line_wait::line)
            return false;
    } else if (std::fgets(line, sizeof line, stdin) == nullptr) {
        return false;
    }
    *out = line;
    const size_t first = out->find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        out->clear();
        return true;
    }
    *out = out->substr(first, out->find_last_not_of(" \t\r\n") - first + 1);
    return true;
}

} // namespace

bool review_played_game(const game_record &record, const analysis_progress *progress,
                        played_game_review *out, std::string *error) {
    const pgn_game pgn = record_pgn(record);
    played_game_review r;
    if (!review_input_of_record(pgn, "the game", &r.input, error)) return false;
    r.input.path = record.path;
    analysis_request request;
    request.limits.movetime_ms = default_review_movetime_ms;
    request.threads = std::max(1u, std::thread::hardware_concurrency());
    request.progress = progress;
    std::vector<position_analysis> analyses;
    std::string player_name;
    if (!analyse_game(r.input, request, &analyses, &player_name, error)) return false;
    r.review = review_of(r.input, analyses, player_name + ", " + budget_text());
    *out = std::move(r);
    return true;
}

void offer_review(person_input *input, const game_record &record) {
    set_input_deadline(input, no_deadline); // the game's clocks no longer bound the wait
    std::string answer;
    for (;;) {
        std::puts(review_offer);
        if (!read_offer_answer(input, &answer) || answer.empty()) return;
        if (answer == "review") break;
    }
    played_game_review r;
    std::string error;
    if (!review_played_game(record, nullptr, &r, &error)) {
        std::printf("The review failed: %s\n", error.c_str());
        return;
    }
    std::fputs(review_summary(r.input, r.review, summary_columns()).c_str(), stdout);
}
