#include "game/tui/tui_history.h"

namespace {

constexpr size_t most_lines = 100; // the oldest go first

void note_line(tui_line_history *h, const std::string &line) {
    if (h->lines.empty() || h->lines.back() != line) h->lines.push_back(line);
    if (h->lines.size() > most_lines) h->lines.erase(h->lines.begin());
}

} // namespace

bool tui_history_key(tui_line_history *h, std::string *prompt, bool cursor_shown,
                     const tui_key &key) {
    const bool up = key.kind == tui_key_kind::up, down = key.kind == tui_key_kind::down;
    if (!up && !down) {
        h->at = h->lines.size(); // typing after a recall edits that line, as a new one
        h->armed = key.kind == tui_key_kind::enter && prompt->empty() && !cursor_shown;
        if (key.kind == tui_key_kind::enter && !prompt->empty()) note_line(h, *prompt);
        return false;
    }
    if (prompt->empty() && !h->armed) return false; // the board's cursor
    if (h->at > h->lines.size()) h->at = h->lines.size();
    if (up) {
        if (h->at == 0) return true;
        if (h->at == h->lines.size()) h->draft = *prompt;
        *prompt = h->lines[--h->at];
    } else {
        if (h->at == h->lines.size()) return true;
        ++h->at;
        *prompt = h->at == h->lines.size() ? h->draft : h->lines[h->at];
    }
    h->armed = prompt->empty(); // back at an empty draft: Up still recalls
    return true;
}
