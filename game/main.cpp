#include "game/options/usage.h"
#include "game/options/words_file.h"
#include "game/vartok_main.h"
#include "game/view/output_check.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard descriptor that is closed would be taken by the next file opened, and what is
// meant for the person would land in it. /dev/null takes its place: the output one opened
// for reading only, so that writes fail and the lost-output rule ends the game.
void fill_closed_standard_descriptors() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        const int opened = open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    fill_closed_standard_descriptors();
    const words_file config = load_words_file(argc - 1, argv + 1);
    int status = answer_usage_request(argc, argv, config);
    if (status < 0) status = vartok_main(argc, argv, config);
    // A game whose last words cannot be written has not ended well.
    return output_exit_status(status);
}
