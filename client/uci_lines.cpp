#include "client/uci_lines.h"
#include "client/command_words.h"

#include <charconv>

namespace {

bool read_number(const std::string &word, long long *out) {
    long long v = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (error != std::errc() || end != word.data() + word.size()) return false;
    *out = v;
    return true;
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
        const bool has_number = i + 1 < w.size() && read_number(w[i + 1], &v);
        if (w[i] == "string") return false;
        if (w[i] == "multipv" && has_number && v != 1) return false;
        if (w[i] == "depth" && has_number) {
            next.depth = static_cast<int>(v);
            i++;
        } else if (w[i] == "nodes" && has_number) {
            next.nodes = v;
            i++;
        } else if (w[i] == "time" && has_number) {
            next.time_ms = static_cast<long>(v);
            i++;
        } else if (w[i] == "score" && i + 2 < w.size() &&
                   (w[i + 1] == "cp" || w[i + 1] == "mate") && read_number(w[i + 2], &v)) {
            next.has_score = true;
            next.mate = w[i + 1] == "mate";
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
