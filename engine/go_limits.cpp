#include "engine/go_limits.h"
#include "rules/notation/coordinates.h"

#include <climits>

namespace {

// Far beyond any clock, and small enough that sums of two stay within 64 bits.
constexpr int64_t longest_time = INT64_MAX / 4;
constexpr int64_t deepest = UINT8_MAX;

} // namespace

go_limits parse_go(const word_list &words, size_t from, std::vector<std::string> *problems,
                   bool counts_nodes, bool restricts_moves) {
    go_limits limits;
    for (size_t i = from; i < words.size(); i++) {
        const std::string &key = words[i];
        int64_t *time_field = nullptr;
        if (key == "wtime") time_field = &limits.time[0];
        if (key == "btime") time_field = &limits.time[1];
        if (key == "winc") time_field = &limits.increment[0];
        if (key == "binc") time_field = &limits.increment[1];
        if (key == "movetime") time_field = &limits.movetime;
        if (key == "infinite") {
            limits.infinite = true;
            continue;
        }
        if (key == "searchmoves") {
            if (!restricts_moves)
                problems->push_back("go: searchmoves is not supported; every move is searched");
            san_move m;
            while (i + 1 < words.size() &&
                   read_coordinates(words[i + 1], promotion_case::small_only, &m)) {
                if (restricts_moves) limits.searchmoves.push_back(m);
                i++;
            }
            continue;
        }
        if (key == "ponder") {
            problems->push_back("go: ponder is not supported; searching at once");
            continue;
        }
        const bool unsupported = (key == "nodes" && !counts_nodes) || key == "mate";
        const bool numbered =
            time_field || key == "depth" || key == "movestogo" || key == "nodes" || unsupported;
        if (!numbered) {
            problems->push_back("go: unknown word '" + shown(key) + "'");
            continue;
        }
        int64_t v = 0;
        if (i + 1 >= words.size() ||
            !parse_integer(words[i + 1], -longest_time, longest_time, &v)) {
            problems->push_back("go: " + key + " needs a whole number");
            continue;
        }
        i++;
        if (unsupported) {
            problems->push_back("go: " + key + " is not supported; searching as usual");
        } else if (time_field) {
            // A clock that ran below zero has no time left.
            *time_field = v < 0 ? 0 : v;
        } else if (key == "depth") {
            if (v < 1 || v > deepest)
                problems->push_back("go: depth must be 1 to 255, not " + words[i]);
            else
                limits.depth = static_cast<int>(v);
        } else if (key == "nodes") {
            if (v < 1)
                problems->push_back("go: nodes must be at least 1, not " + words[i]);
            else
                limits.nodes = v;
        } else if (v < 0) {
            problems->push_back("go: movestogo cannot be negative");
        } else {
            limits.movestogo = v;
        }
    }
    return limits;
}
