// The evaluation weights the strong player plays with.
#include "ai/strong_eval.h"

const eval_weights &default_eval_weights() {
    static const eval_weights weights = initial_eval_weights();
    return weights;
}
