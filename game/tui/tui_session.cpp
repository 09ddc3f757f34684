#include "game/tui/tui_session.h"
#include "game/tui/tui_draw.h"

#include <cerrno>
#include <curses.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// The rest of an escape sequence follows its first bytes at once; a lone Escape does not.
constexpr int escape_wait_ms = 30;

// Whether `fd` has bytes within `wait_ms`; an interrupted wait (a resize) has none.
bool readable(int fd, int wait_ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, wait_ms) > 0;
}

} // namespace

bool tui_wait_keys(tui_session *session, int wait_ms, std::vector<tui_key> *keys) {
    const int fd = session->terminal.input_fd;
    keys->clear();
    if (!readable(fd, wait_ms)) return true;
    char bytes[256];
    const ssize_t n = read(fd, bytes, sizeof bytes);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return false;
    if (n < 0) return true;
    *keys = read_keys(&session->reader, bytes, static_cast<size_t>(n));
    while (!session->reader.pending.empty()) {
        if (!readable(fd, escape_wait_ms)) {
            for (const tui_key &k : flush_keys(&session->reader)) keys->push_back(k);
            break;
        }
        const ssize_t more = read(fd, bytes, sizeof bytes);
        if (more <= 0) break;
        for (const tui_key &k : read_keys(&session->reader, bytes, static_cast<size_t>(more)))
            keys->push_back(k);
    }
    return true;
}

void tui_show_clocks(tui_view *view, const chess_clock *clock) {
    view->running = -1;
    if (!clock) return;
    const int64_t now = steady_now_ms();
    for (uint8_t side = 0; side <= 1; side++)
        view->clocks[side] = clock_text(time_left(*clock, side, now));
    view->running = clock->running;
}

void tui_redraw(tui_session *session) {
    winsize size{};
    if (ioctl(fileno(session->terminal.screen_out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0 &&
        size.ws_row > 0 && (size.ws_col != session->columns || size.ws_row != session->rows)) {
        session->columns = size.ws_col;
        session->rows = size.ws_row;
        resizeterm(session->rows, session->columns);
        clearok(curscr, TRUE);
    }
    if (session->columns == 0) session->columns = COLS, session->rows = LINES;
    session->layout = layout_for(session->columns, session->rows);
    tui_draw(session->layout, session->view, session->columns, session->rows);
}
