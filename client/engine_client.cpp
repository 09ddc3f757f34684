#include "client/engine_client.h"
#include "client/command_words.h"
#include "client/engine_session.h"
#include "rules/notation/words.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    client->reader.writer = client->process.pid;
    return true;
}

bool has_line_break(const std::string &s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

// A line end carried in from a file with CRLF lines ("Hash=64\r") is no part of the word.
std::string without_line_end(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

// Why `path`, named with a slash, cannot be run.
std::string why_not_runnable(const std::string &path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return "no such program";
    return S_ISREG(st.st_mode) ? "not executable" : "not a program file";
}

std::string size_text(size_t bytes) {
    return bytes % (1024 * 1024) == 0 ? std::to_string(bytes / (1024 * 1024)) + " MB"
                                      : std::to_string(bytes) + " bytes";
}

// The game's own SIGINT (xboard's way to ask for the move) is named when it was the end.
std::string interrupt_note(const engine_client &client) {
    const int status = client.process.exit_status;
    if (!client.xboard.interrupted || !WIFSIGNALED(status) || WTERMSIG(status) != SIGINT) return "";
    return ": it does not take the interrupt that asks an xboard engine for its move";
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
    forget_output(client);
}

engine_answer died(engine_client *client) {
    if (!client->failure.empty()) return fault_answer(*client, engine_fault::died, "");
    engine_answer a = process_ended(&client->process, quit_grace_ms)
                          ? fault_answer(*client, engine_fault::died,
                                         "died (" + describe_exit(client->process.exit_status) +
                                             ")" + interrupt_note(*client))
                          : fault_answer(*client, engine_fault::hung, "stopped reading its input");
    engine_failed(client, a.message);
    return a;
}

std::string ended_while_starting(engine_client *client, const std::string &last_line) {
    stop_process(&client->process, "", quit_grace_ms);
    forget_output(client);
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
        const bool watched = wait->watch.keep_thinking && !wait->asked;
        // The watch is called on time whether the engine is silent or chatty.
        if (watched && now - wait->last_watch >= watch_interval) {
            wait->last_watch = now;
            const engine_thinking none;
            if (!wait->watch.keep_thinking(wait->watch.context,
                                           wait->thinking ? *wait->thinking : none)) {
                wait->asked = true;
                if (wait->ask_to_move) wait->ask_to_move(client);
                wait->deadline = std::min(wait->deadline, after_ms(resync_ms));
            }
        }
        if (!wait->asked && now >= wait->move_now_at) {
            wait->asked = true;
            if (wait->ask_to_move) wait->ask_to_move(client);
        }
        auto slice = wait->asked ? wait->deadline : std::min(wait->deadline, wait->move_now_at);
        if (watched) slice = std::min(slice, wait->last_watch + watch_interval);
        const read_result r = read_line(&client->reader, line, slice);
        if (r != read_result::timeout) return r;
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

void forget_output(engine_client *client) {
    client->reader.fd = -1;
    client->reader.writer = -1;
}

std::string send_failed_while_starting(engine_client *client, const std::string &last_line) {
    if (process_ended(&client->process, quit_grace_ms))
        return ended_while_starting(client, last_line);
    stop_process(&client->process, "", 0);
    forget_output(client);
    return "stopped reading its input while starting";
}

bool keep_option(engine_client *client, const std::string &name, std::string *error) {
    size_t bytes = name.size();
    for (const std::string &kept : client->option_names) bytes += kept.size();
    if (client->option_names.size() >= most_options) {
        *error = "was refused: it declares more than " + std::to_string(most_options) + " options";
        return false;
    }
    if (bytes > most_option_bytes) {
        *error =
            "was refused: it declares more than " + size_text(most_option_bytes) + " of options";
        return false;
    }
    client->option_names.push_back(name);
    return true;
}

handshake_read read_handshake_line(engine_client *client, std::string *line,
                                   engine_clock::time_point deadline, stray_lines *stray) {
    for (;;) {
        if (stray->lines >= most_stray_lines ||
            client->reader.bytes_read - stray->bytes_before >= most_stray_bytes)
            return handshake_read::chatter;
        const read_result r =
            read_line(&client->reader, line, std::min(deadline, after_ms(stray_check_ms)));
        if (r == read_result::line) {
            stray->lines++;
            return handshake_read::line;
        }
        if (r == read_result::closed) return handshake_read::closed;
        if (engine_clock::now() >= deadline) return handshake_read::timeout;
    }
}

void heard_protocol_line(const engine_client &client, stray_lines *stray) {
    stray->lines = 0;
    stray->bytes_before = client.reader.bytes_read;
}

std::string chatter_refusal(const stray_lines &stray, const char *protocol,
                            const std::string &last_line) {
    const std::string amount = stray.lines >= most_stray_lines
                                   ? std::to_string(most_stray_lines) + " lines"
                                   : size_text(most_stray_bytes);
    std::string text = "was refused: it sent " + amount + " while starting, none of it " + protocol;
    if (!last_line.empty()) text += ": " + printable(last_line, quoted_bytes);
    return text;
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
                                                            : why_not_runnable(client->argv[0]));
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
        // Not listened to any more: one that floods its output ends on the broken pipe
        // rather than at the end of the grace period.
        if (client->process.from_engine >= 0) close(client->process.from_engine);
        client->process.from_engine = -1;
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

bool set_engine_option(engine_client *client, const engine_option &given, std::string *warning) {
    const engine_option option{without_line_end(given.name), without_line_end(given.value)};
    if (has_line_break(option.name) || option.name.empty()) {
        *warning = "option '" + printable(option.name, name_bytes) + "' is not a usable name";
        return false;
    }
    if (has_line_break(option.value)) {
        *warning = "option '" + option.name + "': '" + printable(option.value, name_bytes) +
                   "' is not a usable value (it holds a line break)";
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
    reap_ended_adoptees();
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
    forget_output(client);
}
