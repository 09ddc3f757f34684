#include "engine/uci_loop.h"
#include "engine/engine_options.h"
#include "engine/go_limits.h"
#include "engine/position_command.h"
#include "engine/search_driver.h"
#include "engine/strong_table.h"
#include "engine/uci_output.h"
#include "engine/uci_words.h"
#include "rules/notation/position_replay.h"

#include <iostream>
#include <string>

namespace {

constexpr const char *engine_name = "Vartok " VARTOK_VERSION;
constexpr const char *engine_author = "the Vartok developers";

struct engine_session {
    engine_options options = default_engine_options();
    game_state position = new_game();
    game_moves replayed{new_game(), {}, new_game()}; // how `position` was reached
    search_driver driver;
    int table_hash_mb = 0; // the Hash the strong player's table was last made for; 0: none yet
};

void handshake(const engine_session &s) {
    send_line("id name %s", engine_name);
    send_line("id author %s", engine_author);
    send_option_lines(s.options);
    send_line("uciok");
}

// A command that needs the search over (a new go, a setting) waits for a search of the
// game's own player that ends by itself; while an infinite search runs it cannot be followed.
// The strong player's searches may have no end: a go stops them, a setting is refused, so that
// the loop never waits. False when the command must be refused.
bool search_over(engine_session *s, const char *command, bool stops_strong_search) {
    if (!s->driver.busy.load()) return true;
    if (s->driver.player == engine_player::strong && stops_strong_search) {
        stop_search(&s->driver);
        return true;
    }
    if (s->driver.infinite || s->driver.player == engine_player::strong) {
        send_info_string("%s: not during %s search (send stop first)", command,
                         s->driver.infinite ? "an infinite" : "a");
        return false;
    }
    finish_search(&s->driver);
    return true;
}

// The strong player's table is made as soon as its size is known, so that isready answers
// once it is ready and no timed search pays for it.
void prepare_strong_table(engine_session *s) {
    if (s->options.player != engine_player::strong || s->table_hash_mb == s->options.hash_mb)
        return;
    size_strong_table(&s->driver.strong.table, s->options.hash_mb);
    s->table_hash_mb = s->options.hash_mb;
}

// "setoption name <name...> [value <value...>]": names and values may hold spaces.
void setoption(engine_session *s, const word_list &words) {
    if (words.size() < 2 || words[1] != "name") {
        send_info_string("setoption: expected 'setoption name <name> value <value>'");
        return;
    }
    const size_t value_at = find_word(words, 2, {"value"});
    const std::string name = join_words(words, 2, value_at);
    const std::string value = join_words(words, value_at + 1, words.size());
    std::string problem;
    if (name.empty())
        send_info_string("setoption: the option has no name");
    else if (!search_over(s, "setoption", false))
        return;
    else if (!set_option(&s->options, name, value, &problem))
        send_info_string("%s", problem.c_str());
    else
        prepare_strong_table(s);
}

void position(engine_session *s, const word_list &words) {
    std::string problem;
    set_up_position(words, 1, &s->position, &problem, &s->replayed);
    if (!problem.empty()) send_info_string("%s", problem.c_str());
}

// Moves of "go searchmoves" that are not legal are left out, and the GUI told.
void keep_legal_searchmoves(const game_state &game, go_limits *limits) {
    std::vector<san_move> legal;
    for (const san_move &m : limits->searchmoves) {
        std::string why;
        if (legal_in(game, m, &why))
            legal.push_back(m);
        else
            send_info_string("go: searchmoves: %s; left out", why.c_str());
    }
    if (legal.empty() && !limits->searchmoves.empty())
        send_info_string("go: no legal move in searchmoves; every move is searched");
    limits->searchmoves = legal;
}

void go(engine_session *s, const word_list &words) {
    if (!search_over(s, "go", true)) return;
    std::vector<std::string> problems;
    search_request request;
    const bool strong = s->options.player == engine_player::strong;
    request.limits = parse_go(words, 1, &problems, strong, strong);
    for (const std::string &p : problems) send_info_string("%s", p.c_str());
    keep_legal_searchmoves(s->position, &request.limits);
    request.game = s->position;
    request.start = s->replayed.start;
    request.moves = s->replayed.moves;
    request.options = s->options;
    start_search(&s->driver, request);
}

} // namespace

int run_uci_loop() {
    engine_session s;
    std::string line;
    for (;;) {
        if (!std::getline(std::cin, line)) {
            finish_search(&s.driver);
            return 0;
        }
        const word_list words = split_words(line);
        if (words.empty()) continue;
        const std::string &command = words[0];
        if (command == "uci") {
            handshake(s);
        } else if (command == "isready") {
            send_line("readyok");
        } else if (command == "ucinewgame") {
            s.position = new_game();
            s.replayed = {s.position, {}, s.position};
        } else if (command == "setoption") {
            setoption(&s, words);
        } else if (command == "position") {
            position(&s, words);
        } else if (command == "go") {
            go(&s, words);
        } else if (command == "stop") {
            stop_search(&s.driver);
        } else if (command == "quit") {
            stop_search(&s.driver);
            return 0;
        } else if (command == "debug" || command == "register" || command == "ponderhit") {
            // Nothing to do: no debug output, no registration, no pondering.
        } else {
            send_info_string("unknown command '%s'", shown(command).c_str());
        }
    }
}
