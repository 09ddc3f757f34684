#include "client/engine_client.h"
#include "client/command_words.h"
#include "client/engine_session.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

constexpr auto watch_interval = std::chrono::milliseconds(100);
constexpr int quit_grace_ms = 1000;

std::string file_name(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool launch(engine_client *client, std::string *error) {
    client->failure.clear();
    if (!start_process(client->argv, &client->process, error)) return false;
    client->reader = line_reader{};
    client->reader.fd = client->process.from_engine;
    return true;
}

bool has_line_break(const std::string &s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

} // namespace

long ms_since(engine_clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(engine_clock::now() - start).count());
}

std::string printable(std::string_view text, size_t most) {
    // Cut before a UTF-8 character that would not fit whole (at most three bytes back).
    size_t size = std::min(text.size(), most);
    for (int back = 0; back < 3 && size > 0 && size < text.size() &&
                       (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80;
         back++)
        size--;
    std::string out(text.substr(0, size));
    for (char &c : out)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = '?';
    return out;
}

engine_clock::time_point after_ms(long ms) {
    return engine_clock::now() + std::chrono::milliseconds(ms);
}

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool send(engine_client *client, std::string_view line) {
    return client->failure.empty() && send_line(&client->process, line, send_timeout_ms);
}

bool send_or_give_up(engine_client *client, std::string_view line) {
    if (send(client, line)) return true;
    died(client);
    return false;
}

void engine_failed(engine_client *client, const std::string &message) {
    if (client->failure.empty()) client->failure = message;
    stop_process(&client->process, "quit", quit_grace_ms);
    client->reader.fd = -1;
}

engine_answer died(engine_client *client) {
    if (!client->failure.empty()) return fault_answer(*client, engine_fault::died, "");
    engine_answer a =
        process_ended(&client->process, quit_grace_ms)
            ? fault_answer(*client, engine_fault::died,
                           "died (" + describe_exit(client->process.exit_status) + ")")
            : fault_answer(*client, engine_fault::hung, "stopped reading its input");
    engine_failed(client, a.message);
    return a;
}

std::string ended_while_starting(engine_client *client, const std::string &last_line) {
    stop_process(&client->process, "", quit_grace_ms);
    client->reader.fd = -1;
    std::string text = "ended while starting (" + describe_exit(client->process.exit_status) + ")";
    if (!last_line.empty()) text += ": " + printable(last_line, quoted_bytes);
    return text;
}

engine_answer fault_answer(const engine_client &client, engine_fault fault,
                           const std::string &what) {
    engine_answer a;
    a.fault = fault;
    a.message = client.name + " " + what;
    return a;
}

read_result next_reply_line(engine_client *client, std::string *line, reply_wait *wait) {
    for (;;) {
        const auto now = engine_clock::now();
        if (now >= wait->deadline) return read_result::timeout;
        auto slice = wait->asked ? wait->deadline : std::min(wait->deadline, wait->move_now_at);
        if (wait->watch.keep_thinking && !wait->asked)
            slice = std::min(slice, now + watch_interval);
        const read_result r = read_line(&client->reader, line, slice);
        if (r != read_result::timeout) return r;
        if (wait->asked) continue;
        const bool stop =
            wait->watch.keep_thinking && !wait->watch.keep_thinking(wait->watch.context);
        if (stop || engine_clock::now() >= wait->move_now_at) {
            wait->asked = true;
            if (wait->ask_to_move) wait->ask_to_move(client);
            if (stop) wait->deadline = std::min(wait->deadline, after_ms(resync_ms));
        }
    }
}

engine_answer hung(engine_client *client, long waited_ms, bool answered) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", waited_ms / 1000.0);
    engine_answer a = fault_answer(*client, engine_fault::hung,
                                   std::string("gave no move within ") + seconds + " s");
    if (!answered) engine_failed(client, a.message);
    return a;
}

bool start_engine(engine_client *client, const std::string &command, engine_protocol protocol,
                  const std::vector<engine_option> &options, std::string *error) {
    stop_engine(client);
    *client = engine_client{};
    client->command = command;
    client->argv = split_words(command);
    if (client->argv.empty()) {
        *error = "no engine command given";
        return false;
    }
    const char *path = std::getenv("PATH");
    const std::string program = find_program(client->argv[0], path ? path : "");
    if (program.empty()) {
        *error =
            "cannot start engine '" + client->argv[0] + "': " +
            (client->argv[0].find('/') == std::string::npos ? "not found on PATH nor in /usr/games"
                                                            : "no such program");
        return false;
    }
    client->argv[0] = program;
    client->options = options;
    client->name = file_name(program);
    std::string why;
    if (!launch(client, &why)) {
        *error = "cannot start engine '" + command + "': " + why;
        return false;
    }
    const bool detecting = protocol == engine_protocol::detect;
    handshake_result r = handshake_result::not_this_protocol;
    if (protocol != engine_protocol::xboard) {
        r = uci_handshake(client, detecting, &why);
        if (r == handshake_result::done) client->protocol = engine_protocol::uci;
        // Some xboard engines end on the word "uci", some later: the xboard question goes
        // to the engine started anew.
        if ((r == handshake_result::ended || r == handshake_result::not_this_protocol) && detecting)
            r = launch(client, &why) ? handshake_result::not_this_protocol
                                     : handshake_result::failed;
    }
    if (r == handshake_result::not_this_protocol && protocol != engine_protocol::uci) {
        r = xboard_handshake(client, detecting, &why);
        if (r == handshake_result::done) client->protocol = engine_protocol::xboard;
    }
    if (r != handshake_result::done) {
        *error =
            "engine '" + command + "' " +
            (r == handshake_result::not_this_protocol ? "answers neither UCI nor xboard" : why);
        stop_engine(client);
        return false;
    }
    for (const engine_option &option : options) {
        std::string warning;
        if (!set_engine_option(client, option, &warning) && !warning.empty())
            client->warnings.push_back(warning);
        if (!client->failure.empty()) {
            *error = client->failure;
            return false;
        }
    }
    return true;
}

bool set_engine_option(engine_client *client, const engine_option &option, std::string *warning) {
    if (has_line_break(option.name) || has_line_break(option.value) || option.name.empty()) {
        *warning = "option '" + option.name + "' is not a usable name";
        return false;
    }
    const bool set = client->protocol == engine_protocol::uci ? uci_set_option(client, option)
                                                              : xboard_set_option(client, option);
    if (!set && client->failure.empty())
        *warning = client->name + " has no option '" + option.name + "'";
    return set;
}

bool new_engine_game(engine_client *client) {
    if (!client->failure.empty()) return false;
    if (client->protocol == engine_protocol::xboard && !client->xboard.reuse) {
        // Copies: starting anew resets the client they belong to.
        const std::string command = client->command;
        const std::vector<engine_option> options = client->options;
        std::string error;
        if (start_engine(client, command, engine_protocol::xboard, options, &error)) return true;
        client->failure = error;
        return false;
    }
    return client->protocol == engine_protocol::uci ? uci_new_game(client)
                                                    : xboard_new_game(client);
}

engine_answer engine_think(engine_client *client, const engine_position &position,
                           const engine_limits &limits, const engine_watch &watch) {
    if (!client->failure.empty()) return fault_answer(*client, engine_fault::died, "");
    replayed_position replayed;
    std::string problem;
    if (!replay_position(position, &replayed, &problem)) {
        engine_answer a;
        a.fault = engine_fault::bad_position;
        a.message = "the position for " + client->name + " is not usable: " + problem;
        return a;
    }
    const game_state &game = replayed.game;
    side_move_list moves;
    side_legal_moves(game.board, game.game_status.turn, &moves);
    if (moves.count == 0)
        return fault_answer(*client, engine_fault::bad_position,
                            "cannot move: the position has no legal move");
    const bool white = game.game_status.turn == side_white;
    const auto start = engine_clock::now();
    reply_wait wait{after_ms(answer_wait_ms(limits, white)), watch};
    const bool xboard = client->protocol == engine_protocol::xboard;
    engine_answer a = xboard ? xboard_think(client, replayed, limits, &wait)
                             : uci_think(client, replayed, limits, &wait);
    a.elapsed_ms = ms_since(start);
    if (a.fault != engine_fault::none || a.resigned) return a;
    a.thinking.pv_san = variation_in_san(game, a.thinking.pv, xboard);
    switch (read_engine_move(game, a.move_text, xboard, &a.move)) {
    case move_reading::legal:
        a.san =
            format_san(game.board, game.game_status.turn, a.move.src, a.move.dst, a.move.ascend);
        break;
    case move_reading::illegal:
        return fault_answer(*client, engine_fault::illegal_move,
                            "played an illegal move: " + a.move_text);
    case move_reading::unreadable:
        return fault_answer(*client, engine_fault::unreadable_move,
                            "sent an unreadable move: '" + printable(a.move_text, name_bytes) +
                                "'");
    }
    return a;
}

void stop_engine(engine_client *client) {
    stop_process(&client->process, "quit", quit_grace_ms);
    client->reader.fd = -1;
}
