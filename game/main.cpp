#include "game/startup.h"

int main(int argc, char **argv) {
    return vartok_main(argc, argv);
}
