#include "game/output_check.h"
#include "game/startup.h"
#include "game/usage.h"
#include "game/words_file.h"

int main(int argc, char **argv) {
    const words_file config = load_words_file(argc - 1, argv + 1);
    int status = answer_usage_request(argc, argv, config);
    if (status < 0) status = vartok_main(argc, argv, config);
    // A game whose last words cannot be written has not ended well.
    return output_exit_status(status);
}
