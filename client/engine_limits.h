// How long an engine may think about one move, and how long the client waits for it.
#pragma once

struct engine_limits {
    int movetime_ms = 0; // a fixed time for the move
    bool clocks = false; // the clocks below apply (milliseconds)
    long wtime_ms = 0, btime_ms = 0, winc_ms = 0, binc_ms = 0;
    int movestogo = 0;   // moves to the next time control; 0: none (sudden death or increment)
    int depth = 0;       // a depth limit, alone or with a time
    long long nodes = 0; // a node limit (UCI engines only)
    // How long the client waits for the move before it reports a hung engine. 0: the move
    // time or the engine's own clock, plus a grace of five seconds; ten minutes when
    // neither is given.
    long deadline_ms = 0;
};

// The wait `limits` allow the engine whose side is `white`.
long answer_wait_ms(const engine_limits &limits, bool white);
