// The UCI side of the client.
#include "client/engine_session.h"
#include "client/uci_lines.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr long detect_ms = 2000; // an engine that says nothing in this time is not UCI

std::string lower(std::string_view s) {
    std::string out(s);
    for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// An xboard engine's answer to "uci": an error line naming the word.
bool refuses_uci(std::string_view line) {
    const std::string l = lower(line);
    if (l.find("uci") == std::string::npos) return false;
    for (const char *word : {"error", "illegal", "invalid", "unknown"})
        if (l.find(word) != std::string::npos) return true;
    return false;
}

void ask_to_move(engine_client *client) {
    send(client, "stop");
}

// Reads up to "readyok", all else passed over. False when the engine's output ended or the
// deadline passed first.
bool wait_for_ready(engine_client *client, engine_clock::time_point deadline) {
    std::string line;
    while (read_line(&client->reader, &line, deadline) == read_result::line)
        if (line == "readyok") return true;
    return false;
}

std::string position_command(const replayed_position &position) {
    std::string text =
        position.start_fen.empty() ? "position startpos" : "position fen " + position.start_fen;
    if (!position.moves.empty()) text += " moves";
    for (const san_move &m : position.moves) {
        text += ' ';
        text += coordinate_text(m);
    }
    return text;
}

} // namespace

handshake_result uci_handshake(engine_client *client, bool detecting, std::string *error) {
    if (!send(client, "uci")) {
        *error = send_failed_while_starting(client, "");
        return handshake_result::ended;
    }
    const auto full = after_ms(handshake_ms);
    bool heard_uci = !detecting;
    std::string line, last_line;
    stray_lines stray;
    for (;;) {
        const auto deadline = heard_uci ? full : std::min(full, after_ms(detect_ms));
        const handshake_read r = read_handshake_line(client, &line, deadline, &stray);
        if (r == handshake_read::chatter) {
            *error = chatter_refusal(stray, "UCI", last_line);
            return handshake_result::failed;
        }
        if (r == handshake_read::closed) {
            *error = ended_while_starting(client, last_line);
            return handshake_result::ended;
        }
        if (r == handshake_read::timeout) {
            if (!heard_uci) return handshake_result::not_this_protocol;
            *error = "did not answer 'uci' with 'uciok' within 10 s";
            return handshake_result::failed;
        }
        if (!line.empty()) last_line = line;
        std::string text;
        if (line == "uciok") return handshake_result::done;
        if (read_uci_id_name(line, &text)) {
            client->name = printable(text, name_bytes);
        } else if (read_uci_option_name(line, &text)) {
            if (!keep_option(client, text, error)) return handshake_result::failed;
        } else if (line.rfind("id ", 0) != 0) {
            if (refuses_uci(line)) {
                if (detecting) return handshake_result::not_this_protocol;
                *error = "does not speak UCI: " + printable(line, quoted_bytes);
                return handshake_result::failed;
            }
            continue;
        }
        heard_uci = true;
        heard_protocol_line(*client, &stray);
    }
}

bool uci_set_option(engine_client *client, const engine_option &option) {
    const auto &names = client->option_names;
    const auto known = std::find_if(names.begin(), names.end(), [&](const std::string &n) {
        return same_name(n, option.name);
    });
    if (known == names.end()) return false;
    std::string line = "setoption name " + *known;
    if (!option.value.empty()) line += " value " + option.value;
    return send_or_give_up(client, line);
}

bool uci_new_game(engine_client *client) {
    if (!send_or_give_up(client, "ucinewgame") || !send_or_give_up(client, "isready")) return false;
    if (wait_for_ready(client, after_ms(handshake_ms))) return true;
    if (client->reader.closed) died(client);
    engine_failed(client, client->name + " did not answer 'isready' after 'ucinewgame'");
    return false;
}

engine_answer uci_think(engine_client *client, const replayed_position &position,
                        const engine_limits &limits, reply_wait *wait) {
    const auto start = engine_clock::now();
    // Whatever an earlier search left unread is passed over before the question.
    if (!send(client, "isready")) return died(client);
    if (!wait_for_ready(client, wait->deadline)) {
        if (client->reader.closed) return died(client);
        return hung(client, ms_since(start), false);
    }
    if (!send(client, position_command(position)) || !send(client, uci_go_command(limits)))
        return died(client);
    wait->ask_to_move = ask_to_move;
    engine_answer a;
    wait->thinking = &a.thinking;
    std::string line;
    for (;;) {
        const read_result r = next_reply_line(client, &line, wait);
        if (r == read_result::closed) return died(client);
        if (r == read_result::timeout) break;
        if (read_uci_bestmove(line, &a.move_text)) return a;
        read_uci_info(line, &a.thinking);
    }
    // No move by the deadline: "stop", and a last second for it.
    const long waited = ms_since(start);
    send(client, "stop");
    const auto last = after_ms(resync_ms);
    std::string ignored;
    while (read_line(&client->reader, &line, last) == read_result::line)
        if (read_uci_bestmove(line, &ignored)) return hung(client, waited, true);
    return hung(client, waited, false);
}
