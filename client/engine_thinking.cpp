#include "client/engine_thinking.h"

#include <cstdio>
#include <cstdlib>

std::string describe_thinking(const engine_thinking &t) {
    std::string text;
    const auto add = [&text](const std::string &part) {
        if (!text.empty()) text += ", ";
        text += part;
    };
    if (t.depth > 0) add("depth " + std::to_string(t.depth));
    if (t.has_score && t.mate) {
        add((t.score >= 0 ? "mate in " : "mated in ") +
            std::to_string(std::llabs(static_cast<long long>(t.score))));
    } else if (t.has_score) {
        char score[32];
        std::snprintf(score, sizeof score, "score %+.2f", t.score / 100.0);
        add(score);
    }
    std::string line;
    for (const std::string &san : t.pv_san) line += (line.empty() ? "" : " ") + san;
    if (!line.empty()) add(line);
    return text;
}
