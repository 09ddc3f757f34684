// vartok-strong-tune POSITIONS [PASSES]: fits the strong player's evaluation weights by
// Texel's method. Each line of POSITIONS is "FEN;RESULT;CP": the game's result for White
// (1, 0.5, 0) and stockfish's score in centipawns for White. Quiet positions (where the
// captures change nothing) are kept; the weights are moved one at a time, up or down, while
// a logistic of the evaluation predicts the blend of result and stockfish's score better.
// Prints the weights as the initializer of ai/strong/strong_weights.cpp.
#include "ai/strong/search/strong_search.h"
#include "ai/strong/strong_eval.h"
#include "rules/fast/fast_moves.h"
#include "rules/notation/fen.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double result_share = 0.5; // of the target; the rest is stockfish's score
constexpr int default_passes = 6;

struct sample {
    fast::position pos;
    double target;
};

double logistic(double k, double score) {
    return 1.0 / (1.0 + std::pow(10.0, -k * score / 400.0));
}

std::vector<sample> read_samples(const char *path) {
    std::vector<sample> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string fen, result, cp;
        if (!std::getline(fields, fen, ';') || !std::getline(fields, result, ';') ||
            !std::getline(fields, cp, ';'))
            continue;
        fen_position fp;
        std::string error;
        if (!load_fen(fen, &fp, &error)) continue;
        sample s;
        s.pos = fast::position_from_board(fp.board, fp.turn, 0);
        if (fast::in_check(s.pos)) continue;
        const int stand = evaluate(s.pos);
        if (quiescence_score(s.pos) != stand) continue; // something hangs: not quiet
        const double r = std::atof(result.c_str());
        s.target = result_share * r + (1 - result_share) * logistic(1.0, std::atof(cp.c_str()));
        out.push_back(s);
    }
    return out;
}

double error_of(const std::vector<sample> &samples, const eval_weights &w, double k) {
    double sum = 0;
    for (const sample &s : samples) {
        const int score = evaluate(s.pos, w);
        const double white = s.pos.side ? -score : score;
        const double d = s.target - logistic(k, white);
        sum += d * d;
    }
    return sum / static_cast<double>(samples.size());
}

// The scale that fits the hand-set weights best, kept while the weights move.
double best_scale(const std::vector<sample> &samples, const eval_weights &w) {
    double best_k = 1.0, best = error_of(samples, w, best_k);
    for (double k = 0.5; k <= 2.0; k += 0.05) {
        const double e = error_of(samples, w, k);
        if (e < best) best = e, best_k = k;
    }
    return best_k;
}

std::vector<int> values_of(const eval_weights &w) {
    std::vector<int> v(eval_weight_count);
    std::memcpy(v.data(), &w, sizeof w);
    return v;
}

eval_weights weights_of(const std::vector<int> &v) {
    eval_weights w;
    std::memcpy(&w, v.data(), sizeof w);
    return w;
}

// The weights as the initializer of ai/strong/strong_weights.cpp, written after every pass so that
// a long run can be stopped with the best weights so far at hand.
void print_weights(const std::vector<int> &values, size_t samples, double k, double error) {
    std::printf("// Tuned by vartok-strong-tune from %zu positions (scale %.2f, error %.6f).\n",
                samples, k, error);
    std::printf("constexpr int tuned_values[] = {\n");
    for (size_t i = 0; i < values.size(); i++)
        std::printf("%s%d,%s", i % 16 == 0 ? "    " : "", values[i], i % 16 == 15 ? "\n" : " ");
    std::printf("\n};\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vartok-strong-tune POSITIONS [PASSES]\n");
        return 2;
    }
    const int passes = argc == 3 ? std::atoi(argv[2]) : default_passes;
    const std::vector<sample> samples = read_samples(argv[1]);
    if (samples.empty()) {
        std::fprintf(stderr, "vartok-strong-tune: no usable positions in %s\n", argv[1]);
        return 1;
    }
    const double k = best_scale(samples, default_eval_weights());
    std::vector<int> values = values_of(default_eval_weights());
    double best = error_of(samples, weights_of(values), k);
    std::fprintf(stderr, "%zu quiet positions, scale %.2f, error %.6f\n", samples.size(), k, best);
    for (int pass = 0; pass < passes; pass++) {
        int changed = 0;
        for (int i = 0; i < eval_weight_count; i++) {
            for (int step : {1, -1}) {
                // Steps of 2 move faster; a weight that improves keeps going that way.
                bool improved = false;
                for (;;) {
                    values[i] += 2 * step;
                    const double e = error_of(samples, weights_of(values), k);
                    if (e < best) {
                        best = e;
                        improved = true;
                        changed++;
                    } else {
                        values[i] -= 2 * step;
                        break;
                    }
                }
                if (improved) break;
            }
        }
        std::fprintf(stderr, "pass %d: %d changes, error %.6f\n", pass + 1, changed, best);
        print_weights(values, samples.size(), k, best);
        if (!changed) break;
    }
    return 0;
}
