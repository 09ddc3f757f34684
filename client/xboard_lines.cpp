#include "client/xboard_lines.h"
#include "rules/notation/words.h"

#include <charconv>
#include <cstdlib>

namespace {

constexpr int mate_score = 100000; // the protocol's convention: 100000 + N is mate in N
constexpr long ms_per_cs = 10, ms_per_s = 1000;

bool read_number(std::string_view word, long long *out) {
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    // Some engines mark a ply with a trailing sign (".", "&") for a partial iteration.
    while (!word.empty() && (word.back() == '.' || word.back() == '&')) word.remove_suffix(1);
    long long v = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (word.empty() || error != std::errc() || end != word.data() + word.size()) return false;
    *out = v;
    return true;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// "M:SS" for a level's base time.
std::string minutes_and_seconds(long ms) {
    const long seconds = std::max(1L, ms / ms_per_s);
    std::string ss = std::to_string(seconds % 60);
    if (ss.size() < 2) ss = "0" + ss;
    return std::to_string(seconds / 60) + ":" + ss;
}

} // namespace

std::vector<xboard_feature> read_features(std::string_view line) {
    std::vector<xboard_feature> features;
    line = trimmed(line);
    constexpr std::string_view keyword = "feature";
    if (line.substr(0, keyword.size()) != keyword || line.size() == keyword.size() ||
        (line[keyword.size()] != ' ' && line[keyword.size()] != '\t'))
        return features;
    size_t at = keyword.size();
    for (;;) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) return features;
        const size_t equals = line.find('=', at);
        if (equals == std::string_view::npos) return features;
        xboard_feature f{std::string(trimmed(line.substr(at, equals - at))), ""};
        at = equals + 1;
        if (at < line.size() && line[at] == '"') {
            const size_t close = line.find('"', at + 1);
            const size_t end = close == std::string_view::npos ? line.size() : close;
            f.value = line.substr(at + 1, end - at - 1);
            at = end + 1;
        } else {
            const size_t end = std::min(line.find_first_of(" \t", at), line.size());
            f.value = line.substr(at, end - at);
            at = end;
        }
        if (!f.name.empty()) features.push_back(f);
        if (at >= line.size()) return features;
    }
}

bool read_xboard_move(std::string_view line, std::string *move) {
    const std::vector<std::string> w = split_words(line);
    if (w.size() == 2 && w[0] == "move") {
        *move = w[1];
        return true;
    }
    // "My move is: e2e4" and "My move is : e2e4".
    if (w.size() >= 4 && w[0] == "My" && w[1] == "move" && (w[2] == "is:" || w[2] == "is")) {
        const size_t at = w[2] == "is:" ? 3 : 4;
        if (at + 1 != w.size() || (at == 4 && w[3] != ":")) return false;
        *move = w[at];
        return true;
    }
    return false;
}

bool read_xboard_thinking(std::string_view line, engine_thinking *t) {
    const std::vector<std::string> w = split_words(line);
    long long ply, score, time_cs, nodes;
    if (w.size() < 4 || !read_number(w[0], &ply) || !read_number(w[1], &score) ||
        !read_number(w[2], &time_cs) || !read_number(w[3], &nodes))
        return false;
    // Numbers no engine could mean: the line is not read.
    const long long most_score = mate_score + most_mate_moves;
    if (ply < 0 || ply > most_plies || score < -most_score || score > most_score || time_cs < 0 ||
        time_cs > most_think_ms / ms_per_cs || nodes < 0)
        return false;
    engine_thinking next;
    next.depth = static_cast<int>(ply);
    next.has_score = true;
    next.mate = score > mate_score || score < -mate_score;
    next.score =
        static_cast<int>(next.mate ? (score > 0 ? score - mate_score : score + mate_score) : score);
    next.time_ms = static_cast<long>(time_cs * ms_per_cs);
    next.nodes = nodes;
    next.pv.assign(w.begin() + 4, w.end());
    *t = next;
    return true;
}

bool is_game_end_claim(std::string_view line) {
    const std::vector<std::string> w = split_words(line);
    if (w.empty()) return false;
    return w[0] == "resign" || ((w[0] == "1-0" || w[0] == "0-1" || w[0] == "1/2-1/2") &&
                                (w.size() == 1 || w[1].front() == '{'));
}

std::vector<std::string> xboard_time_commands(const engine_limits &limits, bool engine_is_white,
                                              bool time_commands) {
    std::vector<std::string> commands;
    const auto clocks = [&](long own_ms, long other_ms) {
        if (!time_commands) return;
        commands.push_back("time " + std::to_string(std::max(0L, own_ms) / ms_per_cs));
        commands.push_back("otim " + std::to_string(std::max(0L, other_ms) / ms_per_cs));
    };
    if (limits.clocks) {
        const long own = engine_is_white ? limits.wtime_ms : limits.btime_ms;
        const long other = engine_is_white ? limits.btime_ms : limits.wtime_ms;
        const long increment = engine_is_white ? limits.winc_ms : limits.binc_ms;
        commands.push_back("level " + std::to_string(std::max(0, limits.movestogo)) + " " +
                           minutes_and_seconds(own) + " " + std::to_string(increment / ms_per_s));
        clocks(own, other);
    } else if (limits.movetime_ms > 0 && limits.movetime_ms % ms_per_s == 0) {
        commands.push_back("st " + std::to_string(limits.movetime_ms / ms_per_s));
    } else if (limits.movetime_ms > 0) {
        // st takes whole seconds: one move in the time left instead.
        commands.push_back("level 1 " + minutes_and_seconds(limits.movetime_ms) + " 0");
        clocks(limits.movetime_ms, limits.movetime_ms);
    }
    if (limits.depth > 0) commands.push_back("sd " + std::to_string(limits.depth));
    return commands;
}
