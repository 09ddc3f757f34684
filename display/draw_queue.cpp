#include "display/draw_queue.h"

#include "display/fonts.h"

#include <cstring>

screen_sprite sprite_stack[sprite_stack_size];
uint8_t screen_sprite_count;
struct screen_text screen_text[screen_text_size];
uint8_t screen_text_count;

uint32_t find_scrsprite_index(uint8_t dist) {
    if (screen_sprite_count >= sprite_stack_size) return sprite_stack_full;
    uint32_t index = 0;
    while (index < screen_sprite_count && sprite_stack[index].dist <= dist) index++;
    std::memmove(&sprite_stack[index + 1], &sprite_stack[index],
                 (screen_sprite_count - index) * sizeof sprite_stack[0]);
    return index;
}

void push_scrbitmap(uint32_t x, uint32_t y, struct bitmap *bitmap, uint8_t dist) {
    uint32_t index = find_scrsprite_index(dist);
    if (index == sprite_stack_full) return;
    screen_sprite &entry = sprite_stack[index];
    entry.x = x;
    entry.y = y;
    entry.dist = dist;
    entry.bitmap = bitmap;
    screen_sprite_count++;
}

void draw_screen_sprites() {
    std::memset(usedpixels, 0, sizeof usedpixels);
    for (unsigned i = 0; i < screen_sprite_count; i++) {
        const screen_sprite &entry = sprite_stack[i];
        draw_bitmap(entry.x, entry.y, entry.bitmap);
    }
    screen_sprite_count = 0;
}

void push_text(uint32_t x, uint32_t y, uint8_t color, const char *text) {
    if (screen_text_count >= screen_text_size) return;
    screen_text[screen_text_count++] = {text, x, y, color};
}

void draw_screen_texts() {
    while (screen_text_count > 0) {
        const struct screen_text &entry = screen_text[--screen_text_count];
        print_text(entry.x, entry.y, entry.color, entry.str);
    }
}
