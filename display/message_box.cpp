#include "display/message_box.h"

#include "display/dbuff.h"
#include "display/fonts.h"
#include "display/screen.h"
#include "display/sdlfuncs.h"

#include <cstring>

namespace {

// Characters from the space at `text` up to (not including) the next space, or 0 when no
// space follows: the last word never moves to a new line.
unsigned chars_to_next_space(const char *text) {
    const char *next = std::strchr(text + 1, ' ');
    return next ? unsigned(next - text) : 0;
}

} // namespace

unsigned draw_message_box(screen *s, const char *str, bool below_clocks) {
    const unsigned drop = below_clocks ? box_drop_below_clocks : 0;
    draw_rectangle(s, box_left, int32_t(box_top + drop), box_width, box_strip_height, colour_box);
    const char *c = str;
    uint32_t y = box_line_top + drop;
    unsigned lines = 0;
    do {
        draw_rectangle(s, box_left, int32_t(y), box_width, box_line_background, colour_box);
        uint32_t x = box_text_left;
        while (*c) {
            if (*c == ' ') {
                unsigned span = chars_to_next_space(c);
                // A line that has drawn nothing yet keeps its word, however long: breaking
                // at the same space again would never advance.
                if (span != 0 && x + text_advance * span > box_wrap_limit && x != box_text_left)
                    break;
            }
            draw_chr(s, x, y, colour_box_text, uint8_t(*c));
            x += text_advance;
            c++;
        }
        y += box_line_height;
        lines++;
    } while (*c);
    return lines;
}

void show_message_box(screen *s, const char *str, bool below_clocks) {
    draw_message_box(s, str, below_clocks);
    update_screen(s);
}
