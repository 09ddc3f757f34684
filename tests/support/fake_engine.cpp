// A scripted chess engine for the client's tests: it speaks UCI or xboard (the first
// argument) and plays the first legal move, unless told to misbehave:
//   die-after=N      ends (status 3) when asked for its move N+1
//   hang-after=N     never answers after N moves, and ignores "stop" and "?"
//   illegal-after=N  answers its move N+1 with e2e5 (or e4e4), a move that is not legal
//   unreadable       answers with the move "xyzzy"
//   flood=MB         sends MB megabytes of thinking before each move
//   long-line=MB     sends one line of MB megabytes before each move
//   flood-forever    sends thinking without end instead of a move
//   deaf             ignores quit, SIGTERM, SIGINT and the end of its input
//   spawn            starts a child of its own that sleeps (it must end with the engine)
//   silent           answers nothing at all
//   option-flood     declares options without end (4 KB names) instead of finishing its
//                    handshake
//   resign           resigns instead of moving (xboard)
//   slow             thinks until told to move ("stop", "?")
//   no-reuse         asks to be started anew for every game (xboard reuse=0)
//   other-line       its thinking names another legal move than the one it plays, as a
//                    weakened engine's may (UCI)
//   name=TEXT        its name (default "Fake Engine"); %XX is the byte of hex XX
#include "client/engine_position.h"
#include "rules/notation/words.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

struct script {
    bool xboard = false;
    int die_after = -1, hang_after = -1, illegal_after = -1;
    bool unreadable = false, flood_forever = false, deaf = false, silent = false, resign = false;
    bool slow = false, no_reuse = false, option_flood = false, other_line = false;
    long flood_bytes = 0, long_line_bytes = 0;
    std::string name = "Fake Engine";
};

constexpr long megabyte = 1024 * 1024;

std::string decoded(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

script read_script(int argc, char **argv) {
    script s;
    s.xboard = argc > 1 && std::string(argv[1]) == "xboard";
    for (int i = 2; i < argc; i++) {
        const std::string word = argv[i];
        const size_t eq = word.find('=');
        const std::string key = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
        if (key == "die-after")
            s.die_after = std::atoi(value.c_str());
        else if (key == "hang-after")
            s.hang_after = std::atoi(value.c_str());
        else if (key == "illegal-after")
            s.illegal_after = std::atoi(value.c_str());
        else if (key == "unreadable")
            s.unreadable = true;
        else if (key == "flood")
            s.flood_bytes = std::atol(value.c_str()) * megabyte;
        else if (key == "long-line")
            s.long_line_bytes = std::atol(value.c_str()) * megabyte;
        else if (key == "flood-forever")
            s.flood_forever = true;
        else if (key == "deaf")
            s.deaf = true;
        else if (key == "silent")
            s.silent = true;
        else if (key == "resign")
            s.resign = true;
        else if (key == "slow")
            s.slow = true;
        else if (key == "no-reuse")
            s.no_reuse = true;
        else if (key == "option-flood")
            s.option_flood = true;
        else if (key == "other-line")
            s.other_line = true;
        else if (key == "name")
            s.name = decoded(value);
        else if (key == "spawn" && fork() == 0) {
            for (;;) pause();
        }
    }
    return s;
}

void say(const std::string &line) {
    std::cout << line << '\n' << std::flush;
}

// Ends when the client stops reading (SIGPIPE).
[[noreturn]] void flood_options(bool xboard) {
    const std::string padding(4000, 'x');
    if (xboard) say("feature done=0");
    for (long i = 0;; i++)
        say(xboard ? "feature option=\"Flood" + std::to_string(i) + padding + " -check 0\""
                   : "option name Flood" + std::to_string(i) + padding + " type check");
}

void flood(long bytes, bool lines) {
    const std::string thinking =
        lines ? "info depth 1 score cp 0 nodes 1 pv e2e4\n" : std::string(4096, 'x');
    for (long sent = 0; bytes < 0 || sent < bytes; sent += static_cast<long>(thinking.size()))
        if (!(std::cout << thinking)) std::exit(0);
    if (!lines) std::cout << '\n';
    std::cout << std::flush;
}

// The move for the position, as the script wants it; empty: no answer at all.
std::string answer(const script &s, const game_state &game, int moves_made) {
    if (s.die_after >= 0 && moves_made >= s.die_after) std::exit(3);
    if (s.hang_after >= 0 && moves_made >= s.hang_after) return "";
    if (s.flood_forever) flood(-1, true);
    if (s.flood_bytes > 0) flood(s.flood_bytes, true);
    if (s.long_line_bytes > 0) flood(s.long_line_bytes, false);
    if (s.unreadable) return "xyzzy";
    if (s.illegal_after >= 0 && moves_made >= s.illegal_after) {
        san_move m;
        return read_engine_move(game, "e2e5", false, &m) == move_reading::illegal ? "e2e5" : "e4e4";
    }
    side_move_list list;
    side_legal_moves(game.board, game.game_status.turn, &list);
    return list.count > 0 ? coordinate_text(list.moves[0]) : "";
}

// The position of a UCI "position" command; the start when it cannot be read.
game_state uci_position(const std::vector<std::string> &w) {
    engine_position p;
    size_t i = 1;
    if (i < w.size() && w[i] == "fen") {
        while (++i < w.size() && w[i] != "moves")
            p.start_fen += (p.start_fen.empty() ? "" : " ") + w[i];
    } else {
        i++;
    }
    if (i < w.size() && w[i] == "moves")
        p.moves.assign(w.begin() + static_cast<long>(i) + 1, w.end());
    replayed_position r;
    std::string problem;
    return replay_position(p, &r, &problem) ? r.game : new_game();
}

void play_uci(const script &s) {
    game_state game = new_game();
    int moves_made = 0;
    bool thinking = false;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::vector<std::string> w = split_words(line);
        if (w.empty() || s.silent) continue;
        if (thinking && w[0] == "stop") {
            thinking = false;
            say("bestmove " + answer(s, game, moves_made++));
        } else if (w[0] == "uci") {
            say("id name " + s.name);
            if (s.option_flood) flood_options(false);
            say("option name Hash type spin default 16 min 1 max 1024");
            say("uciok");
        } else if (w[0] == "isready") {
            say("readyok");
        } else if (w[0] == "position") {
            game = uci_position(w);
        } else if (w[0] == "go" && s.slow) {
            thinking = true;
        } else if (w[0] == "go") {
            const std::string move = answer(s, game, moves_made++);
            side_move_list list;
            side_legal_moves(game.board, game.game_status.turn, &list);
            const std::string line =
                s.other_line && list.count > 1 ? coordinate_text(list.moves[list.count - 1]) : move;
            if (!move.empty()) say("info depth 1 score cp 12 nodes 20 pv " + line);
            if (!move.empty()) say("bestmove " + move);
        } else if (w[0] == "quit" && !s.deaf) {
            return;
        }
    }
}

void play_xboard(const script &s) {
    game_state game = new_game();
    int moves_made = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::vector<std::string> w = split_words(line);
        if (w.empty() || s.silent) continue;
        if (w[0] == "usermove" && w.size() == 2) w.erase(w.begin());
        san_move m;
        if (w[0] == "protover") {
            if (s.option_flood) flood_options(true);
            say("feature ping=1 setboard=1 usermove=1 sigint=0 myname=\"" + s.name + "\"");
            say(std::string("feature option=\"Strength -spin 5 1 10\" reuse=") +
                (s.no_reuse ? "0" : "1") + " done=1");
        } else if (w[0] == "uci") {
            say("Error (unknown command): uci");
        } else if (w[0] == "new") {
            game = new_game();
        } else if (w[0] == "setboard") {
            replayed_position r;
            std::string problem;
            if (replay_position({line.substr(9), {}}, &r, &problem)) game = r.game;
        } else if (w[0] == "ping" && w.size() == 2) {
            say("pong " + w[1]);
        } else if (w[0] == "go" || (w[0] == "?" && s.slow)) {
            if (w[0] == "go" && s.slow) continue;
            if (s.resign) {
                say("resign");
                continue;
            }
            const std::string move = answer(s, game, moves_made++);
            if (move.empty()) continue;
            say("1 12 0 20 " + move);
            say("move " + move);
            if (read_engine_move(game, move, false, &m) == move_reading::legal)
                play_legal_move(&game, m);
        } else if (w[0] == "quit" && !s.deaf) {
            return;
        } else if (w.size() == 1 &&
                   read_engine_move(game, w[0], false, &m) == move_reading::legal) {
            play_legal_move(&game, m);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    const script s = read_script(argc, argv);
    if (s.deaf) {
        std::signal(SIGTERM, SIG_IGN);
        std::signal(SIGINT, SIG_IGN);
    }
    s.xboard ? play_xboard(s) : play_uci(s);
    while (s.deaf) pause();
    return 0;
}
