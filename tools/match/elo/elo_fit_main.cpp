// vartok-elo-fit: fits one player's Elo by maximum likelihood over all its games against
// anchors of known Elo (from PGN files, or scores given), with a 95% interval.
#include "elo/elo_fit.h"
#include "pgn_tags.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int usage_status = 2;

const char *usage_text =
    "usage: vartok-elo-fit --player NAME --anchor 'NAME=ELO'... FILE.pgn...\n"
    "       vartok-elo-fit --score 'ELO=WINS/DRAWS/LOSSES'...\n"
    "Fits the player's Elo by maximum likelihood over all its games against the anchors,\n"
    "draws as half points, with a 95% interval from the likelihood ratio.\n"
    "  --player NAME         the player's name in the White and Black tags\n"
    "  --anchor NAME=ELO     an opponent of known Elo, by its name in the tags; repeatable\n"
    "  --score ELO=W/D/L     the player's wins, draws and losses against an anchor\n"
    "  --row WORD,ASKED      print only a row of the ladder file instead of the report:\n"
    "                        WORD ASKED ELO LOW HIGH GAMES (ASKED '-' for none)\n"
    "  --help                this text\n"
    "Games against players that are not anchors, and unfinished games, are left out.\n";

struct fit_options {
    std::string player;
    std::map<std::string, double> anchors;
    std::vector<anchor_score> scores;
    std::vector<std::string> files;
    std::string row_word, row_asked;
    bool help = false;
};

bool read_number(const std::string &text, double *out) {
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool read_score(const std::string &text, anchor_score *out) {
    const size_t equals = text.find('=');
    anchor_score s;
    char tail = 0;
    if (equals == std::string::npos || !read_number(text.substr(0, equals), &s.anchor_elo) ||
        std::sscanf(text.c_str() + equals + 1, "%d/%d/%d%c", &s.wins, &s.draws, &s.losses, &tail) !=
            3 ||
        s.wins < 0 || s.draws < 0 || s.losses < 0)
        return false;
    *out = s;
    return true;
}

bool parse(int argc, char **argv, fit_options *o, std::string *error) {
    for (int i = 1; i < argc; i++) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            o->help = true;
            return true;
        }
        if (word.rfind("--", 0) != 0) {
            o->files.push_back(word);
            continue;
        }
        if (i + 1 >= argc) {
            *error = word + " needs a value, or is not an option";
            return false;
        }
        const std::string value = argv[++i];
        const size_t split = value.rfind(word == "--row" ? ',' : '=');
        bool ok = true;
        if (word == "--player") {
            o->player = value;
        } else if (word == "--anchor") {
            double elo = 0;
            ok = split != std::string::npos && split > 0 &&
                 read_number(value.substr(split + 1), &elo);
            if (ok) o->anchors[value.substr(0, split)] = elo;
        } else if (word == "--score") {
            anchor_score s;
            ok = read_score(value, &s);
            if (ok) o->scores.push_back(s);
        } else if (word == "--row") {
            ok = split != std::string::npos && split > 0;
            if (ok) {
                o->row_word = value.substr(0, split);
                o->row_asked = value.substr(split + 1);
            }
        } else {
            ok = false;
        }
        if (!ok) {
            *error = "bad " + word + " '" + value + "'";
            return false;
        }
    }
    if (!o->files.empty() && (o->player.empty() || o->anchors.empty())) {
        *error = "PGN files need --player and at least one --anchor";
        return false;
    }
    if (o->files.empty() && o->scores.empty()) {
        *error = "no games: give PGN files or --score";
        return false;
    }
    return true;
}

// The player's score against each anchor in the files, added to `scores`; the games left
// out are counted in `skipped`.
bool read_games(const fit_options &o, std::map<std::string, anchor_score> *by_anchor, int *skipped,
                std::string *error) {
    for (const std::string &file : o.files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (!in) {
            *error = "cannot read " + file;
            return false;
        }
        std::vector<game_tags> games;
        if (!read_game_tags(text.str(), &games, error)) {
            *error = file + ": " + *error;
            return false;
        }
        for (const game_tags &g : games) {
            const bool white = g.white == o.player, black = g.black == o.player;
            const std::string &other = white ? g.black : g.white;
            const auto anchor = o.anchors.find(other);
            if (white == black || anchor == o.anchors.end() ||
                (g.result != "1-0" && g.result != "0-1" && g.result != "1/2-1/2")) {
                (*skipped)++;
                continue;
            }
            anchor_score &s = (*by_anchor)[other];
            s.anchor_elo = anchor->second;
            if (g.result == "1/2-1/2")
                s.draws++;
            else if ((g.result == "1-0") == white)
                s.wins++;
            else
                s.losses++;
        }
    }
    return true;
}

std::string bound(double elo) {
    if (!std::isfinite(elo)) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", std::fabs(elo) < 0.5 ? 0.0 : elo);
    return text;
}

void print_report(const std::map<std::string, anchor_score> &by_anchor,
                  const std::vector<anchor_score> &scores, const elo_fit &f, int skipped) {
    for (const auto &[name, s] : by_anchor)
        std::printf("against %s (%.0f): %d wins, %d draws, %d losses\n", name.c_str(), s.anchor_elo,
                    s.wins, s.draws, s.losses);
    for (const anchor_score &s : scores)
        std::printf("against %.0f: %d wins, %d draws, %d losses\n", s.anchor_elo, s.wins, s.draws,
                    s.losses);
    if (skipped > 0) std::printf("%d games left out (no anchor, or unfinished)\n", skipped);
    std::printf("%.1f points of %d games (%.1f%%)\n", f.points, f.games,
                f.games ? 100 * f.points / f.games : 0.0);
    if (f.games == 0) return;
    if (std::isfinite(f.elo))
        std::printf("Elo %s, 95%% interval %s to %s\n", bound(f.elo).c_str(), bound(f.low).c_str(),
                    bound(f.high).c_str());
    else if (f.elo < 0)
        std::printf("Elo below %s (95%%): every game lost\n", bound(f.high).c_str());
    else
        std::printf("Elo above %s (95%%): every game won\n", bound(f.low).c_str());
}

} // namespace

int main(int argc, char **argv) {
    fit_options o;
    std::string error;
    if (!parse(argc, argv, &o, &error)) {
        std::fprintf(stderr, "vartok-elo-fit: %s\n%s", error.c_str(), usage_text);
        return usage_status;
    }
    if (o.help) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    std::map<std::string, anchor_score> by_anchor;
    int skipped = 0;
    if (!read_games(o, &by_anchor, &skipped, &error)) {
        std::fprintf(stderr, "vartok-elo-fit: %s\n", error.c_str());
        return 1;
    }
    std::vector<anchor_score> all = o.scores;
    for (const auto &[name, s] : by_anchor) all.push_back(s);
    const elo_fit f = fit_elo(all);
    if (f.games == 0) {
        std::fprintf(stderr, "vartok-elo-fit: no game of %s against an anchor\n", o.player.c_str());
        return 1;
    }
    if (!o.row_word.empty()) {
        std::printf("%s %s %s %s %s %d\n", o.row_word.c_str(), o.row_asked.c_str(),
                    bound(f.elo).c_str(), bound(f.low).c_str(), bound(f.high).c_str(), f.games);
        return 0;
    }
    print_report(by_anchor, o.scores, f, skipped);
    return 0;
}
