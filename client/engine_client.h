// An outside chess engine as a player: started without a shell, spoken to in UCI or xboard
// (found out by asking, or forced), asked for moves in positions the game gives, its moves
// checked by the rules, and every way it can fail reported rather than trusted.
#pragma once

#include "client/engine_limits.h"
#include "client/engine_position.h"
#include "client/engine_process.h"
#include "client/engine_thinking.h"
#include "client/line_reader.h"

#include <string>
#include <vector>

enum class engine_protocol { detect, uci, xboard };

struct engine_option {
    std::string name, value; // an xboard button takes no value
};

// What the client learnt of an xboard engine from its features.
struct xboard_state {
    bool ping = false, setboard = false, usermove = false, san = false, time = true;
    bool sigint = true, memory = false, smp = false, reuse = true;
    bool interrupted = false; // it was sent SIGINT to ask for its move
    int next_ping = 1;
    // The position the engine holds: where it started and the moves made since.
    bool synced = false;
    std::string start_fen;
    std::vector<std::string> moves;
};

struct engine_client {
    std::string command;                // as given
    std::vector<std::string> argv;      // its words, the program found
    std::vector<engine_option> options; // set at the start, and again when it is restarted
    engine_protocol protocol = engine_protocol::detect;
    std::string name;                      // its own (id name, myname), or its program's file name
    std::vector<std::string> option_names; // the options it declares
    std::vector<std::string> warnings;     // options it does not have, ...
    std::string failure;                   // set once it cannot go on: then every call answers it
    engine_process process;
    line_reader reader;
    xboard_state xboard;
};

// Starts `command` (words split on blanks, the program looked up as find_program does),
// finds out or checks its protocol, and sets `options`. False with one line in `error`,
// naming the engine, when it cannot be started or does not answer as a chess engine does.
bool start_engine(engine_client *client, const std::string &command, engine_protocol protocol,
                  const std::vector<engine_option> &options, std::string *error);

// Sets one option: UCI setoption; xboard memory (Hash or memory), cores (Threads or cores)
// or option NAME=VALUE for the options it declares. An option the engine does not have
// is not sent: false with a warning in `warning`.
bool set_engine_option(engine_client *client, const engine_option &option, std::string *warning);

// Tells the engine that a new game begins (ucinewgame; xboard new, or the engine started
// anew when it asks for that with reuse=0). False when it fails (client->failure says why).
bool new_engine_game(engine_client *client);

enum class engine_fault {
    none,
    cannot_start, // it did not start or did not answer as a chess engine
    died,         // it ended
    hung,         // no move before the deadline
    illegal_move, // its move is not legal in the position
    unreadable_move,
    no_move,      // it claimed a result or refused the position instead of moving
    bad_position, // the caller's position is not usable (not the engine's fault)
};

struct engine_answer {
    engine_fault fault = engine_fault::none;
    std::string message; // the fault in one line naming the engine and what it did
    bool resigned = false;
    san_move move{};       // legal in the position, when there is no fault and no resignation
    std::string move_text; // in coordinates
    std::string san;
    engine_thinking thinking; // its last thinking before the move
    long elapsed_ms = 0;
};

// Called about every 100 ms while the engine thinks, however much it says meanwhile, with
// its thinking so far: false asks it to move at once (its move is still awaited for a
// second).
struct engine_watch {
    void *context = nullptr;
    bool (*keep_thinking)(void *context, const engine_thinking &so_far) = nullptr;
};

// Asks for a move in `position` within `limits`. A fault that leaves the engine unusable
// (it died, hung, or cannot follow) stops it and sets client->failure.
engine_answer engine_think(engine_client *client, const engine_position &position,
                           const engine_limits &limits, const engine_watch &watch = {});

// Ends the engine: quit, a grace period, then SIGKILL to its process group; it is reaped.
// Also done when the client goes away.
void stop_engine(engine_client *client);
