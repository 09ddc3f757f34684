#include "game/view/messages.h"
#include "display/message_box.h"
#include "display/sdlfuncs.h"
#include "game/input/line_input.h"
#include "game/running_game.h"
#include "game/view/output_check.h"

#include <cstdio>

constexpr int answer_size = 16;

void show_message(running_game *run, const char *str) {
    if (run->graphics)
        show_message_box(&run->window, str, run->view.panel && run->view.shown_clock);
    else
        std::puts(str);
}

interruption show_dialog(running_game *run, const char *str, char *answer) {
    if (run->graphics) {
        show_message(run, str);
        const int32_t key = poll_keycode(&run->window);
        if (key == key_window_closed) return interruption::window_closed;
        if (key == 0 && ms_to_input_deadline(run->input) == 0) return interruption::time_up;
        *answer = static_cast<char>(key);
        return interruption::none;
    }
    std::puts(str);
    char buff[answer_size];
    if (const interruption cut = read_line(&run->input, buff, sizeof buff);
        cut != interruption::none)
        return cut;
    *answer = buff[0];
    return interruption::none;
}

interruption wait_before_next_poll(running_game *run) {
    if (!run->graphics) return interruption::none;
    // The transcript stays in step while the window waits.
    if (!flush_output()) return interruption::lost_output;
    const int64_t left = ms_to_input_deadline(run->input);
    if (left < 0)
        wait_for_window_event(&run->window);
    else
        wait_for_window_event_within(&run->window, static_cast<int>(left));
    return interruption::none;
}

interruption show_dialog_nokey(running_game *run, const char *str) {
    for (;;) {
        char answer = 0;
        if (const interruption cut = show_dialog(run, str, &answer); cut != interruption::none)
            return cut;
        if (answer != 0) return interruption::none;
        if (const interruption cut = wait_before_next_poll(run); cut != interruption::none)
            return cut;
    }
}

interruption show_notice(running_game *run, const char *str) {
    std::puts(str);
    if (!run->graphics) return interruption::none;
    return show_dialog_nokey(run, str);
}
