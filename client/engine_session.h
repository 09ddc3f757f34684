// What the two protocols share inside the client: sending, reading the reply with its
// deadline and watch, and giving up on an engine. Not for the client's users.
#pragma once

#include "client/engine_client.h"
#include "rules/notation/words.h"

#include <string_view>

constexpr int send_timeout_ms = 2000;
constexpr long handshake_ms = 10000;
constexpr long resync_ms = 1000; // how long a late move is awaited after "move now"

engine_clock::time_point after_ms(long ms);

// Text from an engine made fit to print: control bytes shown as '?', at most `most` bytes,
// cut between UTF-8 characters (a name, a move or a line it sent goes into messages and
// records).
std::string printable(std::string_view text, size_t most);
constexpr size_t name_bytes = 80, quoted_bytes = 200;
long ms_since(engine_clock::time_point start);

// False when the engine does not take the line (it ended, or has not read its input for
// send_timeout_ms), or was given up on.
bool send(engine_client *client, std::string_view line);

// send, and the engine given up (died) when it fails.
bool send_or_give_up(engine_client *client, std::string_view line);

// Gives up on the engine: it is stopped and every later call answers `message`.
void engine_failed(engine_client *client, const std::string &message);

// The engine's output ended or it takes no more input: it is given up, and the answer
// says how it ended (or that it stopped reading).
engine_answer died(engine_client *client);

// The engine ended during its handshake: it is reaped; how it ended and its last line.
std::string ended_while_starting(engine_client *client, const std::string &last_line);

// The answer for a fault of the engine's, its message naming it; with `what` empty, the
// fault it was given up for.
engine_answer fault_answer(const engine_client &client, engine_fault fault,
                           const std::string &what);

// Waiting for a reply: the deadline, and the caller's watch asked every 100 ms. When the
// watch says stop, `ask_to_move` is called once and the wait shortened to resync_ms; it is
// also called at `move_now_at` (a move time the protocol cannot state exactly).
struct reply_wait {
    engine_clock::time_point deadline;
    engine_watch watch;
    void (*ask_to_move)(engine_client *client) = nullptr;
    engine_clock::time_point move_now_at = engine_clock::time_point::max();
    bool asked = false;
    const engine_thinking *thinking = nullptr; // what the reply's lines told so far
    engine_clock::time_point last_watch{};     // when the watch was last called
};

read_result next_reply_line(engine_client *client, std::string *line, reply_wait *wait);

// The engine has not answered by the deadline: it is asked to move now and given resync_ms;
// `answered` tells whether the reply came (the engine can go on), else it is given up.
engine_answer hung(engine_client *client, long waited_ms, bool answered);

// Stops listening to the engine's output (it was stopped, or is being).
void forget_output(engine_client *client);

// A line could not be sent during the handshake: how the engine ended, or that it stopped
// reading its input (it is then stopped).
std::string send_failed_while_starting(engine_client *client, const std::string &last_line);

// What a handshake may bring: the options kept for the game, and the lines or bytes since
// the last line of the protocol, past which the engine is refused at once (one that
// chatters, or floods, is not waited for).
constexpr size_t most_options = 1000;
constexpr size_t most_option_bytes = 1024 * 1024;
constexpr int most_stray_lines = 1000;
constexpr size_t most_stray_bytes = 1024 * 1024;
constexpr long stray_check_ms = 100; // how often a line that never ends is looked at

// Keeps the name of an option the engine declares. False with the refusal in `error` past
// most_options or most_option_bytes.
bool keep_option(engine_client *client, const std::string &name, std::string *error);

struct stray_lines {
    int lines = 0;           // read since the last line of the protocol
    size_t bytes_before = 0; // the reader's count of bytes at that line
};
enum class handshake_read { line, timeout, closed, chatter };

// The next line of the handshake as read_line reads it, or `chatter` once the engine has
// sent most_stray_lines lines or most_stray_bytes bytes with no line of the protocol.
handshake_read read_handshake_line(engine_client *client, std::string *line,
                                   engine_clock::time_point deadline, stray_lines *stray);
void heard_protocol_line(const engine_client &client, stray_lines *stray);

// "was refused: it sent 1000 lines while starting, none of it UCI: y".
std::string chatter_refusal(const stray_lines &stray, const char *protocol,
                            const std::string &last_line);

// Each protocol's part.
// `ended`: the engine ended during it, which an engine of the other protocol may do on a
// word it does not know.
enum class handshake_result { done, not_this_protocol, ended, failed };
handshake_result uci_handshake(engine_client *client, bool detecting, std::string *error);
bool uci_set_option(engine_client *client, const engine_option &option);
bool uci_new_game(engine_client *client);
engine_answer uci_think(engine_client *client, const replayed_position &position,
                        const engine_limits &limits, reply_wait *wait);

handshake_result xboard_handshake(engine_client *client, bool detecting, std::string *error);
bool xboard_set_option(engine_client *client, const engine_option &option);
bool xboard_new_game(engine_client *client);
engine_answer xboard_think(engine_client *client, const replayed_position &position,
                           const engine_limits &limits, reply_wait *wait);
