#include "game/output_check.h"
#include "game/startup.h"
#include "game/usage.h"

int main(int argc, char **argv) {
    int status = answer_usage_request(argc, argv);
    if (status < 0) status = vartok_main(argc, argv);
    // A game whose last words cannot be written has not ended well.
    return output_exit_status(status);
}
