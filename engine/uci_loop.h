// The protocol loop: reads commands from standard input until "quit" or the end of input,
// and answers on standard output.
#pragma once

// Returns the exit status.
int run_uci_loop();
