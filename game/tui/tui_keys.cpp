#include "game/tui/tui_keys.h"

#include <cstdlib>

namespace {

constexpr char escape_byte = '\x1b';
constexpr size_t longest_sequence = 32; // an unfinished one longer is junk

enum class parse_state { complete, incomplete };

// A CSI sequence's final byte is in 0x40..0x7E.
bool final_byte(char c) {
    return c >= 0x40 && c <= 0x7E;
}

// "<b;x;yM": a mouse report; only a left-button press (b 0, M) is a click.
void read_mouse(const std::string &body, char final, std::vector<tui_key> *keys) {
    if (final != 'M') return;
    int numbers[3] = {-1, -1, -1};
    size_t at = 1; // past '<'
    for (int &n : numbers) {
        char *end = nullptr;
        const long value = std::strtol(body.c_str() + at, &end, 10);
        if (end == body.c_str() + at || value < 0 || value > 100000) return;
        n = static_cast<int>(value);
        at = static_cast<size_t>(end - body.c_str());
        if (at < body.size() && body[at] == ';') at++;
    }
    if (numbers[0] != 0 || numbers[1] < 1 || numbers[2] < 1) return;
    keys->push_back({tui_key_kind::click, 0, numbers[1] - 1, numbers[2] - 1});
}

void arrow(char final, std::vector<tui_key> *keys) {
    switch (final) {
    case 'A':
        keys->push_back({tui_key_kind::up});
        break;
    case 'B':
        keys->push_back({tui_key_kind::down});
        break;
    case 'C':
        keys->push_back({tui_key_kind::right});
        break;
    case 'D':
        keys->push_back({tui_key_kind::left});
        break;
    default:
        break;
    }
}

// Reads the escape sequence at the start of `text` (which begins with ESC): how many bytes
// it takes, or incomplete.
parse_state read_escape(const std::string &text, size_t *used, std::vector<tui_key> *keys) {
    if (text.size() < 2) return parse_state::incomplete;
    if (text[1] == 'O') { // SS3: an arrow in application mode
        if (text.size() < 3) return parse_state::incomplete;
        arrow(text[2], keys);
        *used = 3;
        return parse_state::complete;
    }
    if (text[1] != '[') { // Alt+key, or an Escape followed by a key
        keys->push_back({tui_key_kind::escape});
        *used = 1;
        return parse_state::complete;
    }
    for (size_t i = 2; i < text.size(); i++) {
        if (!final_byte(text[i])) continue;
        const std::string body = text.substr(2, i - 2);
        if (!body.empty() && body[0] == '<')
            read_mouse(body, text[i], keys);
        else if (body.empty() || body == "1" || body.rfind("1;", 0) == 0) // with a modifier
            arrow(text[i], keys);
        *used = i + 1;
        return parse_state::complete;
    }
    return parse_state::incomplete;
}

} // namespace

std::vector<tui_key> read_keys(tui_key_reader *reader, const char *bytes, size_t count) {
    std::string &text = reader->pending;
    text.append(bytes, count);
    std::vector<tui_key> keys;
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == escape_byte) {
            size_t used = 0;
            if (read_escape(text.substr(at), &used, &keys) == parse_state::incomplete) {
                // Junk that never ends would be held for ever: its Escape is dropped.
                if (text.size() - at <= longest_sequence) break;
                used = 1;
            }
            at += used;
            continue;
        }
        at++;
        if (c == '\r' || c == '\n')
            keys.push_back({tui_key_kind::enter});
        else if (c == '\x7f' || c == '\b')
            keys.push_back({tui_key_kind::backspace});
        else if (c >= ' ' && c < '\x7f')
            keys.push_back({tui_key_kind::character, c});
    }
    text.erase(0, at);
    return keys;
}

std::vector<tui_key> flush_keys(tui_key_reader *reader) {
    std::vector<tui_key> keys;
    if (reader->pending == std::string(1, escape_byte)) keys.push_back({tui_key_kind::escape});
    reader->pending.clear();
    return keys;
}
