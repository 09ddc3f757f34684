#include "game/messages.h"
#include "display/message_box.h"
#include "display/sdlfuncs.h"
#include "game/line_input.h"
#include "game/output_check.h"
#include "game/settings.h"

#include <cstdio>

constexpr int answer_size = 16;

void show_message(const char *str) {
    if (graphics)
        show_message_box(str);
    else
        std::puts(str);
}

char show_dialog(const char *str) {
    if (graphics) {
        show_message(str);
        return static_cast<char>(poll_keycode());
    }
    std::puts(str);
    char buff[answer_size];
    read_line(buff, sizeof buff);
    return buff[0];
}

void wait_before_next_poll() {
    if (!graphics) return;
    flush_output(); // the transcript stays in step while the window waits
    wait_for_window_event();
}

void show_dialog_nokey(const char *str) {
    while (show_dialog(str) == 0) wait_before_next_poll();
}
