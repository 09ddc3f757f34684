#include "display/draw_queue.h"

#include "display/fonts.h"
#include "display/screen.h"

#include <cstring>

uint32_t find_scrsprite_index(screen *s, uint8_t dist) {
    if (s->sprite_count >= sprite_stack_size) return sprite_stack_full;
    uint32_t index = 0;
    while (index < s->sprite_count && s->sprites[index].dist <= dist) index++;
    std::memmove(&s->sprites[index + 1], &s->sprites[index],
                 (s->sprite_count - index) * sizeof s->sprites[0]);
    return index;
}

void push_scrbitmap(screen *s, uint32_t x, uint32_t y, struct bitmap *bitmap, uint8_t dist) {
    uint32_t index = find_scrsprite_index(s, dist);
    if (index == sprite_stack_full) return;
    screen_sprite &entry = s->sprites[index];
    entry.x = x;
    entry.y = y;
    entry.dist = dist;
    entry.bitmap = bitmap;
    s->sprite_count++;
}

void draw_screen_sprites(screen *s) {
    std::memset(s->usedpixels, 0, sizeof s->usedpixels);
    for (unsigned i = 0; i < s->sprite_count; i++) {
        const screen_sprite &entry = s->sprites[i];
        draw_bitmap(s, entry.x, entry.y, entry.bitmap);
    }
    s->sprite_count = 0;
}

void push_text(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *text) {
    if (s->text_count >= screen_text_size) return;
    s->texts[s->text_count++] = {text, x, y, color};
}

void draw_screen_texts(screen *s) {
    while (s->text_count > 0) {
        const struct screen_text &entry = s->texts[--s->text_count];
        print_text(s, entry.x, entry.y, entry.color, entry.str);
    }
}
