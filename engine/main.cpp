// vartok-engine: the game's computer player as a UCI engine on standard input and output.
#include "engine/command_line.h"
#include "engine/uci_loop.h"

int main(int argc, char **argv) {
    const int answered = answer_command_line(argc, argv);
    if (answered >= 0) return answered;
    return run_uci_loop();
}
