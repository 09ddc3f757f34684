#include "game/review/review_report.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t pgn_line_width = 79;
constexpr const char *nags[] = {"", "$6", "$2", "$4"};
constexpr const char *marks[] = {"", "?!", "?", "??"};
constexpr int narrow_columns = 50;
constexpr int default_columns = 80;
constexpr double chart_pawns = 10; // the chart's bars reach their ends at +/-10 pawns

std::string move_number(uint32_t fullmove, bool white) {
    return std::to_string(fullmove) + (white ? "." : "...");
}

// "-2.8", "+0.3", "#3", "#-2": from the mover's view, for the summary.
std::string short_score(review_score s) {
    if (s.type == review_score::kind::mating) return std::string("#") + std::to_string(s.value);
    if (s.type == review_score::kind::mated) return std::string("#-") + std::to_string(s.value);
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f", s.value / 100.0);
    return text;
}

// Movetext broken into lines of at most pgn_line_width, a token never split.
struct movetext {
    std::string text;
    size_t line_length = 0;
};

void add_token(movetext *out, const std::string &token) {
    if (out->line_length > 0 && out->line_length + 1 + token.size() > pgn_line_width) {
        out->text += '\n';
        out->line_length = 0;
    } else if (out->line_length > 0) {
        out->text += ' ';
        out->line_length++;
    }
    out->text += token;
    out->line_length += token.size();
}

// The tags as the game's own PGN writer writes them: the roster first, values escaped.
std::string tag_section(const review_input &input, const std::string &annotator) {
    pgn_game tags_only;
    tags_only.tags = input.record.tags;
    tags_only.result = input.record.result;
    std::erase_if(tags_only.tags, [](const pgn_tag &t) { return t.name == "Annotator"; });
    tags_only.tags.push_back({"Annotator", annotator});
    const std::string whole = format_pgn(tags_only);
    return whole.substr(0, whole.find("\n\n") + 1);
}

const std::string &tag_or_unknown(const review_input &input, const char *name) {
    static const std::string unknown = "?";
    const std::string *value = pgn_tag_value(input.record, name);
    return value && !value->empty() ? *value : unknown;
}

std::string fixed(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string counted(int count, const char *one, const char *more) {
    return std::to_string(count) + " " + (count == 1 ? one : more);
}

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// A bar from the middle of `width` columns, to the right for White, to the left for Black.
std::string eval_bar(review_score white_view, int width) {
    const int half = width / 2;
    const double pawns =
        std::clamp(score_centipawns(white_view) / 100.0, -chart_pawns, chart_pawns);
    const int length = static_cast<int>(std::lround(std::fabs(pawns) / chart_pawns * half));
    std::string bar(static_cast<size_t>(2 * half + 1), ' ');
    bar[static_cast<size_t>(half)] = '|';
    for (int i = 1; i <= length; i++) bar[static_cast<size_t>(half + (pawns > 0 ? i : -i))] = '#';
    return bar;
}

std::string sparkline(const std::vector<double> &white_win, int columns) {
    static const char *const blocks[] = {"\u2581", "\u2582", "\u2583", "\u2584",
                                         "\u2585", "\u2586", "\u2587", "\u2588"};
    const size_t width = static_cast<size_t>(std::max(columns - 1, 1));
    const size_t count = white_win.size();
    std::string out;
    for (size_t c = 0; c < std::min(width, count); c++) {
        // Every position when they fit; evenly chosen ones when they do not.
        const size_t i = count <= width ? c : c * (count - 1) / (width - 1 ? width - 1 : 1);
        const int level = std::clamp(static_cast<int>(white_win[i] / 100 * 8), 0, 7);
        out += blocks[level];
    }
    return out;
}

} // namespace

std::string eval_text(review_score white_view) {
    if (white_view.type == review_score::kind::mating)
        return std::string("#") + std::to_string(white_view.value);
    if (white_view.type == review_score::kind::mated)
        return std::string("#-") + std::to_string(white_view.value);
    return fixed(white_view.value / 100.0, 2);
}

game_review review_of(const review_input &input, const std::vector<position_analysis> &analyses,
                      const std::string &annotator) {
    game_review r;
    r.annotator = annotator;
    for (size_t i = 0; i < analyses.size(); i++) {
        const bool white_to_move = input.positions[i].game_status.turn == 0;
        const review_score white = white_to_move ? analyses[i].score : flipped(analyses[i].score);
        r.white_scores.push_back(white);
        r.white_win.push_back(win_percent(white));
    }
    double cp_loss_sum[2] = {0, 0};
    int moves[2] = {0, 0};
    for (size_t i = 0; i < input.moves.size(); i++) {
        judged_move m;
        m.san = input.san[i];
        m.white = input.positions[i].game_status.turn == 0;
        m.fullmove =
            input.first_fullmove + static_cast<uint32_t>((i + (input.white_first ? 0 : 1)) / 2);
        m.before = analyses[i].score;
        m.after = flipped(analyses[i + 1].score);
        const bool best_played = analyses[i].has_best && analyses[i].best == input.moves[i];
        m.judgement = judge_move(m.before, m.after, best_played);
        if (!best_played && analyses[i].has_best)
            m.better = line_in_san(input.positions[i], analyses[i].line);
        const int side = m.white ? 0 : 1;
        cp_loss_sum[side] += m.judgement.cp_loss;
        moves[side]++;
        r.counts[side][static_cast<int>(m.judgement.verdict)]++;
        r.moves.push_back(std::move(m));
    }
    for (int side = 0; side < 2; side++)
        if (moves[side] > 0) r.average_cp_loss[side] = cp_loss_sum[side] / moves[side];
    r.accuracy = game_accuracy(r.white_win, input.white_first);
    return r;
}

std::string annotated_pgn(const review_input &input, const game_review &review) {
    std::string out = tag_section(input, review.annotator);
    out += '\n';
    movetext text;
    for (size_t i = 0; i < review.moves.size(); i++) {
        const judged_move &m = review.moves[i];
        add_token(&text, move_number(m.fullmove, m.white));
        add_token(&text, m.san);
        const int verdict = static_cast<int>(m.judgement.verdict);
        if (verdict > 0) add_token(&text, nags[verdict]);
        std::string comment = "{ [%eval " + eval_text(review.white_scores[i + 1]) + "]";
        if (i < input.record.move_comments.size() && !input.record.move_comments[i].empty())
            comment += " " + input.record.move_comments[i];
        add_token(&text, comment + " }");
        if (m.judgement.verdict >= move_class::mistake && !m.better.empty()) {
            uint32_t fullmove = m.fullmove;
            bool white = m.white;
            for (size_t k = 0; k < m.better.size(); k++) {
                const std::string san = m.better[k];
                if (k == 0 || white)
                    add_token(&text, std::string(k == 0 ? "(" : "") + move_number(fullmove, white));
                add_token(&text, san + (k + 1 == m.better.size() ? ")" : ""));
                if (!white) fullmove++;
                white = !white;
            }
        }
    }
    if (!input.record.final_comment.empty())
        add_token(&text, "{ " + input.record.final_comment + " }");
    add_token(&text, input.record.result);
    out += text.text + "\n\n";
    return out;
}

std::string judged_move_text(const judged_move &m, bool with_better) {
    std::string out = move_number(m.fullmove, m.white) + " " + m.san +
                      marks[static_cast<int>(m.judgement.verdict)] + " (" + short_score(m.after) +
                      ")";
    if (with_better && !m.better.empty())
        out += " better " + move_number(m.fullmove, m.white) + " " + m.better.front() + " (" +
               short_score(m.before) + ")";
    return out;
}

int summary_columns() {
    winsize size{};
    if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    if (const char *columns = std::getenv("COLUMNS")) {
        const int n = std::atoi(columns);
        if (n > 0) return n;
    }
    return default_columns;
}

std::string review_summary(const review_input &input, const game_review &review, int columns) {
    std::string out = "Review by " + review.annotator + "\n\n";
    const std::string names[2] = {"White (" + tag_or_unknown(input, "White") + ")",
                                  "Black (" + tag_or_unknown(input, "Black") + ")"};
    for (int side = 0; side < 2; side++) {
        out += names[side] + ": ";
        if (review.accuracy.accuracy[side] < 0) {
            out += "no moves\n";
            continue;
        }
        const int *c = review.counts[side];
        out += "accuracy " + fixed(review.accuracy.accuracy[side], 1) +
               "%, average centipawn loss " + fixed(review.average_cp_loss[side], 0) + ", " +
               counted(c[1], "inaccuracy", "inaccuracies") + ", " +
               counted(c[2], "mistake", "mistakes") + ", " + counted(c[3], "blunder", "blunders") +
               "\n";
    }
    bool header = false;
    for (const judged_move &m : review.moves) {
        if (m.judgement.verdict < move_class::mistake) continue;
        if (!header) out += "\nMistakes and blunders:\n";
        header = true;
        out += "  " + judged_move_text(m, true) + "\n";
    }
    if (review.moves.empty()) return out + "\nThe game has no moves.\n";
    if (columns < narrow_columns) {
        out += std::string("\nWhite's winning chances: ") +
               sparkline(review.white_win, columns - 25) + "\n";
        return out;
    }
    out += "\nEvaluation from White's view, a line a move (bars end at +/-10 pawns):\n";
    constexpr int label_width = 16, score_width = 7;
    const int bar_width = std::min(columns - label_width - score_width - 1, 61);
    for (size_t i = 0; i < review.moves.size(); i++) {
        const judged_move &m = review.moves[i];
        const std::string label = move_number(m.fullmove, m.white) + " " + m.san +
                                  marks[static_cast<int>(m.judgement.verdict)];
        out += padded(label, label_width) +
               padded(eval_text(review.white_scores[i + 1]), score_width) +
               eval_bar(review.white_scores[i + 1], bar_width);
        out.erase(out.find_last_not_of(' ') + 1);
        out += "\n";
    }
    return out;
}
