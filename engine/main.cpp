// vartok-engine: the game's computer player as a UCI engine on standard input and output.
#include "engine/uci_loop.h"

int main() {
    return run_uci_loop();
}
