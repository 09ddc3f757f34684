#include "client/uci_lines.h"
#include "rules/notation/words.h"

#include <charconv>
#include <climits>

namespace {

enum class number { none, usable, wild };

// A number word, and whether it lies in [lo, hi]: digits beyond any 64-bit number are wild
// too.
number read_number(const std::string &word, long long lo, long long hi, long long *out) {
    long long v = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (end != word.data() + word.size() || word.empty()) return number::none;
    if (error == std::errc::result_out_of_range) return number::wild;
    if (error != std::errc()) return number::none;
    if (v < lo || v > hi) return number::wild;
    *out = v;
    return number::usable;
}

// The words after `prefix` (a sequence of words) up to the first of `stops`, joined by
// single spaces.
bool words_after(std::string_view line, const std::vector<std::string> &prefix,
                 std::initializer_list<std::string_view> stops, std::string *out) {
    const std::vector<std::string> words = split_words(line);
    if (words.size() <= prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); i++)
        if (words[i] != prefix[i]) return false;
    std::string text;
    for (size_t i = prefix.size(); i < words.size(); i++) {
        bool stop = false;
        for (std::string_view s : stops) stop = stop || words[i] == s;
        if (stop) break;
        text += (text.empty() ? "" : " ") + words[i];
    }
    *out = text;
    return !text.empty();
}

// Words after which a principal variation stops (the protocol puts pv last, but not
// every engine does).
bool is_info_keyword(const std::string &w) {
    for (const char *k :
         {"depth", "seldepth", "time", "nodes", "multipv", "score", "currmove", "currmovenumber",
          "hashfull", "nps", "tbhits", "sbhits", "cpuload", "string", "refutation", "currline"})
        if (w == k) return true;
    return false;
}

} // namespace

bool read_uci_id_name(std::string_view line, std::string *name) {
    return words_after(line, {"id", "name"}, {}, name);
}

bool read_uci_option_name(std::string_view line, std::string *name) {
    return words_after(line, {"option", "name"}, {"type"}, name);
}

bool read_uci_info(std::string_view line, engine_thinking *t) {
    const std::vector<std::string> w = split_words(line);
    if (w.empty() || w[0] != "info") return false;
    engine_thinking next = *t;
    bool main_line = false;
    // A search cut short by its window ends with a bound and a short line: the last exact
    // line says more.
    for (const std::string &word : w)
        if ((word == "lowerbound" || word == "upperbound") && !t->pv.empty()) return false;
    for (size_t i = 1; i < w.size(); i++) {
        long long v = 0;
        // The number after w[i], if it is one; a number out of its range spoils the line.
        const auto value = [&](size_t at, long long lo, long long hi) {
            return at < w.size() ? read_number(w[at], lo, hi, &v) : number::none;
        };
        number n = number::none;
        if (w[i] == "string") return false;
        if (w[i] == "multipv" && value(i + 1, 1, 1) != number::usable &&
            value(i + 1, LLONG_MIN, LLONG_MAX) != number::none)
            return false;
        if (w[i] == "depth" && (n = value(i + 1, 0, most_plies)) != number::none) {
            if (n == number::wild) return false;
            next.depth = static_cast<int>(v);
            i++;
        } else if (w[i] == "nodes" && (n = value(i + 1, 0, LLONG_MAX)) != number::none) {
            if (n == number::wild) return false;
            next.nodes = v;
            i++;
        } else if (w[i] == "time" && (n = value(i + 1, 0, most_think_ms)) != number::none) {
            if (n == number::wild) return false;
            next.time_ms = static_cast<long>(v);
            i++;
        } else if (w[i] == "score" && i + 2 < w.size() &&
                   (w[i + 1] == "cp" || w[i + 1] == "mate")) {
            const bool mate = w[i + 1] == "mate";
            const long long most = mate ? most_mate_moves : most_centipawns;
            if ((n = value(i + 2, -most, most)) == number::none) continue;
            if (n == number::wild) return false;
            next.has_score = true;
            next.mate = mate;
            next.score = static_cast<int>(v);
            main_line = true;
            i += 2;
        } else if (w[i] == "pv") {
            next.pv.clear();
            while (i + 1 < w.size() && !is_info_keyword(w[i + 1])) next.pv.push_back(w[++i]);
            main_line = true;
        }
    }
    if (main_line) *t = next;
    return main_line;
}

bool read_uci_bestmove(std::string_view line, std::string *move) {
    const std::vector<std::string> w = split_words(line);
    if (w.empty() || w[0] != "bestmove") return false;
    *move = w.size() > 1 ? w[1] : "";
    return true;
}

std::string uci_go_command(const engine_limits &limits) {
    std::string go = "go";
    const auto add = [&go](const char *word, long long value) {
        go += std::string(" ") + word + " " + std::to_string(value);
    };
    if (limits.clocks) {
        add("wtime", limits.wtime_ms);
        add("btime", limits.btime_ms);
        add("winc", limits.winc_ms);
        add("binc", limits.binc_ms);
        if (limits.movestogo > 0) add("movestogo", limits.movestogo);
    } else if (limits.movetime_ms > 0) {
        add("movetime", limits.movetime_ms);
    }
    if (limits.depth > 0) add("depth", limits.depth);
    if (limits.nodes > 0) add("nodes", limits.nodes);
    return go;
}
