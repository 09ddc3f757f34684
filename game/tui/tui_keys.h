// The bytes a terminal sends, read as keys and mouse clicks: printable characters, Enter,
// Backspace, Escape, the arrow keys (CSI and SS3 forms) and SGR (1006) mouse reports.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class tui_key_kind {
    character, // `character` holds it
    enter,
    backspace,
    escape,
    up,
    down,
    left,
    right,
    click, // a left-button press at (column, row), counted from 0
};

struct tui_key {
    tui_key_kind kind = tui_key_kind::character;
    char character = 0;
    int column = 0;
    int row = 0;
};

// Bytes not yet read as a key: an escape sequence may arrive split over two reads.
struct tui_key_reader {
    std::string pending;
};

// Reads the keys in `bytes` after what was pending. An escape sequence that is not complete
// stays pending; other sequences, releases, other buttons and control bytes are dropped.
std::vector<tui_key> read_keys(tui_key_reader *reader, const char *bytes, size_t count);

// Nothing more came: a lone pending Escape is the Escape key, any other rest is dropped.
std::vector<tui_key> flush_keys(tui_key_reader *reader);
