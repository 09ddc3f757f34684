#include "game/output_check.h"
#include "game/startup.h"
#include "game/usage.h"

int main(int argc, char **argv) {
    watch_output();
    if (const int status = answer_usage_request(argc, argv); status >= 0) return status;
    return vartok_main(argc, argv);
}
