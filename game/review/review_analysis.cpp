#include "game/review/review_analysis.h"

#include "rules/attack.h"
#include "rules/board_queries.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

constexpr int bar_width = 20;
constexpr auto progress_period = std::chrono::milliseconds(100);

// A position whose side to move has no move needs no player: mated, or stalemate.
bool settled_position(const game_state &game, position_analysis *out) {
    side_move_list moves;
    const uint8_t turn = game.game_status.turn;
    side_legal_moves(game.board, turn, &moves);
    if (moves.count > 0) return false;
    const bool in_check =
        square_attacked(&game.board, find_king(&game.board, turn), turn ? black_bit : 0);
    out->score = in_check ? review_score{review_score::kind::mated, 0} : review_score{};
    return true;
}

review_score score_of(const player_thinking &t) {
    if (t.mate_in > 0) return {review_score::kind::mating, t.mate_in};
    if (t.mate_in < 0) return {review_score::kind::mated, -t.mate_in};
    return {review_score::kind::centipawns, t.cp};
}

struct shared_work {
    const review_input *input;
    const analysis_request *request;
    std::vector<position_analysis> *results;
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    std::atomic<bool> failed{false};
    std::mutex failure_lock;
    std::string failure;
    std::string player_name;
};

void fail(shared_work *work, const std::string &why) {
    std::lock_guard<std::mutex> hold(work->failure_lock);
    if (work->failure.empty()) work->failure = why;
    work->failed = true;
}

void analyse_positions(shared_work *work) {
    std::string error;
    std::unique_ptr<player> p = make_review_player(work->request->engine, &error);
    if (!p) {
        fail(work, error);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(work->failure_lock);
        if (work->player_name.empty()) work->player_name = p->name();
    }
    const size_t count = work->input->positions.size();
    player_observer observer;
    observer.stop = &work->failed;
    for (size_t i = work->next++; i < count && !work->failed; i = work->next++) {
        position_analysis &a = (*work->results)[i];
        if (!settled_position(work->input->positions[i], &a)) {
            const player_answer answer =
                p->decide(game_at(*work->input, i), work->request->limits, observer);
            if (answer.outcome == player_outcome::failed) {
                fail(work, answer.failure.empty() ? p->name() + " gave no answer" : answer.failure);
                return;
            }
            if (answer.outcome == player_outcome::move) {
                a.score = score_of(answer.report);
                a.has_best = true;
                a.best = answer.move;
                a.line = answer.report.pv;
                if (a.line.empty() || !(a.line.front() == a.best))
                    a.line.insert(a.line.begin(), a.best);
            }
        }
        work->done++;
    }
}

// "Reviewing 34/80 positions [########............] 12 s left", rewritten in place on a
// terminal; elsewhere a line at each tenth of the way.
struct progress_bar {
    bool terminal = isatty(STDERR_FILENO) != 0;
    size_t last_tenth = 0;
    std::chrono::steady_clock::time_point begun = std::chrono::steady_clock::now();
};

void show_progress(progress_bar *bar, size_t done, size_t total, bool last) {
    const size_t tenth = total ? done * 10 / total : 10;
    if (!bar->terminal && tenth == bar->last_tenth && !last) return;
    bar->last_tenth = tenth;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - bar->begun).count();
    const int filled = total ? static_cast<int>(done * bar_width / total) : bar_width;
    std::string picture(static_cast<size_t>(filled), '#');
    picture.append(static_cast<size_t>(bar_width - filled), '.');
    char left[48] = "";
    if (last)
        std::snprintf(left, sizeof left, "%.0f s", elapsed);
    else if (done > 0)
        std::snprintf(left, sizeof left, "%.0f s left",
                      elapsed / static_cast<double>(done) * static_cast<double>(total - done));
    std::fprintf(stderr, "%sReviewing %zu/%zu positions [%s] %s%s", bar->terminal ? "\r" : "", done,
                 total, picture.c_str(), left,
                 bar->terminal && !last ? "\033[K"
                 : bar->terminal        ? "\033[K\n"
                                        : "\n");
    std::fflush(stderr);
}

} // namespace

bool analyse_game(const review_input &input, const analysis_request &request,
                  std::vector<position_analysis> *out, std::string *player_name,
                  std::string *error) {
    out->assign(input.positions.size(), position_analysis{});
    shared_work work;
    work.input = &input;
    work.request = &request;
    work.results = out;
    const size_t total = input.positions.size();
    const unsigned threads =
        static_cast<unsigned>(std::clamp<size_t>(request.threads, 1, std::max<size_t>(total, 1)));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; t++) pool.emplace_back(analyse_positions, &work);
    const analysis_progress *told = request.progress;
    progress_bar bar;
    while (work.done < total && !work.failed) {
        if (told)
            told->told(told->context, work.done, total);
        else
            show_progress(&bar, work.done, total, false);
        std::this_thread::sleep_for(progress_period);
    }
    for (std::thread &t : pool) t.join();
    if (work.failed) {
        if (bar.terminal && !told) std::fprintf(stderr, "\n");
        *error = work.failure;
        return false;
    }
    if (told)
        told->told(told->context, total, total);
    else
        show_progress(&bar, total, total, true);
    if (player_name) *player_name = work.player_name;
    return true;
}
