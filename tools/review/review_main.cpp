// vartok-review: a game of a PGN file reviewed by the strong player or an outside engine.
#include "game/review/review_analysis.h"
#include "game/review/review_input.h"
#include "game/review/review_report.h"
#include "review_options.h"
#include "review_svg.h"
#include "tools/tool-help/tool_help.h"

#include "game/records/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

std::string budget_text(const review_options &options) {
    if (options.depth > 0) return "depth " + std::to_string(options.depth) + " a position";
    return std::to_string(options.movetime_ms) + " ms a position";
}

// Whether `a` and `b` are one file: the review must not replace the record it reads.
bool same_file(const std::string &a, const std::string &b) {
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool write_stdout(const std::string &text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv) {
    const int help = answer_help(argc, argv, review_usage);
    if (help >= 0) return help;
    review_options options;
    std::string error;
    if (!read_review_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "vartok-review: %s (see --help)\n", error.c_str());
        return 2;
    }
    review_input input;
    if (!read_review_input(options.game, &input, &error)) {
        std::fprintf(stderr, "vartok-review: %s\n", error.c_str());
        return 2;
    }
    for (const std::string *out : {&options.pgn_path, &options.svg_path})
        if (!out->empty() && same_file(*out, input.path)) {
            std::fprintf(stderr, "vartok-review: %s is the file reviewed: write elsewhere\n",
                         out->c_str());
            return 2;
        }
    analysis_request request;
    request.engine = options.engine;
    if (options.depth > 0)
        request.limits.depth = options.depth;
    else
        request.limits.movetime_ms = options.movetime_ms;
    request.threads =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<position_analysis> analyses;
    std::string player_name;
    if (!analyse_game(input, request, &analyses, &player_name, &error)) {
        std::fprintf(stderr, "vartok-review: %s\n", error.c_str());
        return 1;
    }
    const game_review review =
        review_of(input, analyses, player_name + ", " + budget_text(options));
    const std::string pgn = annotated_pgn(input, review);
    if (options.pgn_path.empty()) {
        if (!write_stdout(pgn)) return 1;
    } else if (!write_file_atomically(options.pgn_path, pgn, &error)) {
        std::fprintf(stderr, "vartok-review: %s\n", error.c_str());
        return 1;
    }
    if (!options.svg_path.empty()) {
        const std::string title =
            (pgn_tag_value(input.record, "White") ? *pgn_tag_value(input.record, "White") : "?") +
            " - " +
            (pgn_tag_value(input.record, "Black") ? *pgn_tag_value(input.record, "Black") : "?");
        if (!write_file_atomically(options.svg_path, review_svg(review, title), &error)) {
            std::fprintf(stderr, "vartok-review: %s\n", error.c_str());
            return 1;
        }
    }
    if (options.summary || isatty(STDOUT_FILENO)) {
        const std::string summary = review_summary(input, review, summary_columns());
        if (!write_stdout((options.pgn_path.empty() ? "\n" : "") + summary)) return 1;
    }
    return 0;
}
