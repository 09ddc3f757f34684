// The xboard (CECP) side of the client.
#include "client/engine_session.h"
#include "client/xboard_lines.h"

#include <algorithm>
#include <cctype>
#include <csignal>

namespace {

// Protocol 2 engines answer protover within 2 s; some lose the lines that come while they
// start, so protover is asked again every half second until features come, for 3 s.
constexpr long first_feature_ms = 3000;
constexpr long protover_again_ms = 500;
constexpr long quiet_features_ms = 2000; // without done=0, features end after 2 s of quiet

bool is_on(const std::string &value) {
    return value == "1";
}

// Takes one feature: what the client does with it, and whether it does. An option past the
// bounds is not taken and sets `error`: the engine is refused.
bool take_feature(engine_client *client, const xboard_feature &f, std::string *error) {
    xboard_state &x = client->xboard;
    const bool on = is_on(f.value);
    if (f.name == "ping")
        x.ping = on;
    else if (f.name == "setboard")
        x.setboard = on;
    else if (f.name == "usermove")
        x.usermove = on;
    else if (f.name == "san")
        x.san = on;
    else if (f.name == "time")
        x.time = on;
    else if (f.name == "sigint")
        x.sigint = on;
    else if (f.name == "memory")
        x.memory = on;
    else if (f.name == "smp")
        x.smp = on;
    else if (f.name == "reuse")
        x.reuse = on;
    else if (f.name == "myname")
        client->name = printable(f.value, name_bytes);
    else if (f.name == "option")
        return keep_option(client, f.value.substr(0, f.value.find(" -")), error);
    else {
        // Features that ask nothing of the client, or that it never uses.
        for (const char *harmless :
             {"done", "sigterm", "draw", "analyze", "colors", "ics", "name", "pause", "playother",
              "nps", "debug", "variants", "exclude", "setscore", "highlight", "egt"})
            if (f.name == harmless) return true;
        return false;
    }
    return true;
}

// "Unknown command: 'xboard'", "Error (unknown command): xboard" ...
bool refuses_xboard(std::string_view line) {
    std::string l(line);
    for (char &c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (l.find("xboard") == std::string::npos) return false;
    for (const char *word : {"error", "illegal", "invalid", "unknown"})
        if (l.find(word) != std::string::npos) return true;
    return false;
}

void ask_to_move(engine_client *client) {
    // Engines that want it get SIGINT to look at their input; "?" tells them to move.
    if (client->xboard.sigint && client->process.pid > 0) {
        kill(client->process.pid, SIGINT);
        client->xboard.interrupted = true;
    }
    send(client, "?");
}

bool starts_with(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The engine finds fault with the position it was given.
bool is_refusal(std::string_view line) {
    return starts_with(line, "Illegal move") || starts_with(line, "Error (illegal position)");
}

// "ping N", and the lines up to "pong N" passed over (they belong to earlier commands),
// except a refusal of a move, which is kept in `refusal`. False when the engine died or
// the deadline passed.
bool sync_with_engine(engine_client *client, engine_clock::time_point deadline,
                      std::string *refusal) {
    if (!client->xboard.ping) return true;
    const std::string pong = "pong " + std::to_string(client->xboard.next_ping);
    if (!send(client, "ping " + std::to_string(client->xboard.next_ping++))) return false;
    std::string line;
    while (read_line(&client->reader, &line, deadline) == read_result::line) {
        if (line == pong) return true;
        if (is_refusal(line) && refusal->empty()) *refusal = line;
    }
    return false;
}

// The move in the notation the engine reads.
std::string move_for_engine(const engine_client &client, const game_state &game,
                            const san_move &m) {
    const std::string text =
        client.xboard.san ? format_san(game.board, game.game_status.turn, m.src, m.dst, m.ascend)
                          : coordinate_text(m);
    return client.xboard.usermove ? "usermove " + text : text;
}

// Brings the engine's board to `position`: only the new moves when it holds the moves
// before them, else a new game set up from the start. False with an answer when it
// cannot be done.
bool give_position(engine_client *client, const replayed_position &position, engine_answer *a) {
    xboard_state &x = client->xboard;
    std::vector<std::string> wanted;
    for (const san_move &m : position.moves) wanted.push_back(coordinate_text(m));
    const bool follows = x.synced && x.start_fen == position.start_fen &&
                         x.moves.size() <= wanted.size() &&
                         std::equal(x.moves.begin(), x.moves.end(), wanted.begin());
    game_state game = position.start;
    if (!follows) {
        if (!position.start_fen.empty() && !x.setboard) {
            *a = fault_answer(*client, engine_fault::no_move,
                              "cannot be given a position other than the usual start "
                              "(it has no setboard)");
            return false;
        }
        if (!send(client, "new") || !send(client, "force")) return false;
        if (!position.start_fen.empty() && !send(client, "setboard " + position.start_fen))
            return false;
        x.moves.clear();
        x.start_fen = position.start_fen;
        x.synced = true;
    } else if (!send(client, "force")) {
        return false;
    }
    for (size_t i = 0; i < position.moves.size(); i++) {
        if (i >= x.moves.size() && !send(client, move_for_engine(*client, game, position.moves[i])))
            return false;
        play_legal_move(&game, position.moves[i]);
    }
    x.moves = wanted;
    return true;
}

// The result the engine claims, as its own loss or not.
bool claims_own_loss(std::string_view line, bool engine_is_white) {
    return starts_with(line, "resign") || starts_with(line, engine_is_white ? "0-1" : "1-0");
}

} // namespace

handshake_result xboard_handshake(engine_client *client, bool detecting, std::string *error) {
    error->clear();
    if (!send(client, "xboard") || !send(client, "protover 2")) {
        *error = send_failed_while_starting(client, "");
        return handshake_result::ended;
    }
    auto deadline = after_ms(first_feature_ms);
    const auto longest = after_ms(handshake_ms);
    auto ask_again = after_ms(protover_again_ms);
    bool heard = false, waiting_for_done = false;
    std::string line, last_line;
    stray_lines stray;
    for (;;) {
        const handshake_read r = read_handshake_line(
            client, &line, heard ? deadline : std::min(deadline, ask_again), &stray);
        if (r == handshake_read::chatter) {
            *error = chatter_refusal(stray, "xboard", last_line);
            return handshake_result::failed;
        }
        if (r == handshake_read::timeout && !heard && engine_clock::now() < deadline) {
            ask_again = after_ms(protover_again_ms);
            if (!send(client, "protover 2")) {
                *error = send_failed_while_starting(client, last_line);
                return handshake_result::ended;
            }
            continue;
        }
        if (r == handshake_read::closed) {
            *error = ended_while_starting(client, last_line);
            return handshake_result::ended;
        }
        if (r == handshake_read::timeout) {
            if (!heard && detecting) return handshake_result::not_this_protocol;
            if (waiting_for_done) {
                *error = "did not finish its features (done=1) within 10 s";
                return handshake_result::failed;
            }
            break; // an engine of the first protocol, or one that did not say done
        }
        if (!line.empty()) last_line = line;
        const std::vector<xboard_feature> features = read_features(line);
        if (features.empty()) {
            // Every xboard engine knows the word: one that calls it unknown is of another
            // kind (a UCI engine told to speak xboard).
            if (!heard && refuses_xboard(line)) {
                if (detecting) return handshake_result::not_this_protocol;
                *error = "does not speak xboard: " + printable(line, quoted_bytes);
                return handshake_result::failed;
            }
            continue;
        }
        heard = true;
        heard_protocol_line(*client, &stray);
        bool done = false;
        for (const xboard_feature &f : features) {
            const bool taken = take_feature(client, f, error);
            if (!error->empty()) return handshake_result::failed;
            if (!send(client, (taken ? "accepted " : "rejected ") + f.name)) {
                *error = send_failed_while_starting(client, last_line);
                return handshake_result::ended;
            }
            if (f.name == "done") {
                done = is_on(f.value);
                waiting_for_done = !done;
            }
        }
        if (done) break;
        deadline = waiting_for_done ? longest : std::min(longest, after_ms(quiet_features_ms));
    }
    // Pondering off: the engine thinks only when asked.
    if (!send(client, "easy")) {
        *error = send_failed_while_starting(client, last_line);
        return handshake_result::ended;
    }
    return handshake_result::done;
}

bool xboard_set_option(engine_client *client, const engine_option &option) {
    const xboard_state &x = client->xboard;
    if (x.memory && (same_name(option.name, "memory") || same_name(option.name, "Hash")))
        return send_or_give_up(client, "memory " + option.value);
    if (x.smp && (same_name(option.name, "cores") || same_name(option.name, "Threads")))
        return send_or_give_up(client, "cores " + option.value);
    const auto &names = client->option_names;
    const auto known = std::find_if(names.begin(), names.end(), [&](const std::string &n) {
        return same_name(n, option.name);
    });
    if (known == names.end()) return false;
    return send_or_give_up(client,
                           "option " + *known + (option.value.empty() ? "" : "=" + option.value));
}

bool xboard_new_game(engine_client *client) {
    client->xboard.synced = false;
    if (!send_or_give_up(client, "new") || !send_or_give_up(client, "force")) return false;
    std::string refusal;
    if (!sync_with_engine(client, after_ms(handshake_ms), &refusal)) {
        if (client->reader.closed) died(client);
        engine_failed(client, client->name + " did not answer 'ping' after 'new'");
        return false;
    }
    client->xboard.synced = true;
    client->xboard.start_fen.clear();
    client->xboard.moves.clear();
    return true;
}

engine_answer xboard_think(engine_client *client, const replayed_position &position,
                           const engine_limits &limits, reply_wait *wait) {
    const auto start = engine_clock::now();
    const bool white = position.game.game_status.turn == side_white;
    engine_answer a;
    if (!give_position(client, position, &a))
        return a.fault != engine_fault::none ? a : died(client);
    for (const std::string &command : xboard_time_commands(limits, white, client->xboard.time))
        if (!send(client, command)) return died(client);
    if (!send(client, "post")) return died(client);
    std::string refusal;
    if (!sync_with_engine(client, wait->deadline, &refusal))
        return client->reader.closed ? died(client) : hung(client, ms_since(start), false);
    if (!refusal.empty()) {
        client->xboard.synced = false;
        return fault_answer(*client, engine_fault::no_move,
                            "refused the position: " + printable(refusal, quoted_bytes));
    }
    if (!send(client, "go")) return died(client);
    wait->ask_to_move = ask_to_move;
    wait->thinking = &a.thinking;
    // The move time is a limit, which engines may plan for loosely: "?" when it is up.
    if (limits.movetime_ms > 0 && !limits.clocks) wait->move_now_at = after_ms(limits.movetime_ms);
    std::string line;
    for (;;) {
        const read_result r = next_reply_line(client, &line, wait);
        if (r == read_result::closed) return died(client);
        if (r == read_result::timeout) break;
        if (read_xboard_move(line, &a.move_text)) {
            client->xboard.moves.push_back(a.move_text);
            return a;
        }
        if (is_refusal(line)) {
            client->xboard.synced = false;
            return fault_answer(*client, engine_fault::no_move,
                                "refused the position: " + printable(line, quoted_bytes));
        }
        if (is_game_end_claim(line)) {
            client->xboard.synced = false;
            if (claims_own_loss(line, white)) {
                a.resigned = true;
                return a;
            }
            return fault_answer(*client, engine_fault::no_move,
                                "claims " + printable(line, quoted_bytes) + " instead of moving");
        }
        read_xboard_thinking(line, &a.thinking);
    }
    const long waited = ms_since(start);
    ask_to_move(client);
    const auto last = after_ms(resync_ms);
    std::string ignored;
    client->xboard.synced = false;
    while (read_line(&client->reader, &line, last) == read_result::line)
        if (read_xboard_move(line, &ignored)) return hung(client, waited, true);
    return hung(client, waited, false);
}
