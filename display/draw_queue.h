// Images queued by distance and drawn in one batch, nearest first; queued texts.
#pragma once

#include "display/bitmap.h"

#include <cstdint>

constexpr unsigned sprite_stack_size = 64;
constexpr unsigned screen_text_size = 32;
constexpr uint32_t sprite_stack_full = 0xFFFFFFFFu;

// Refers to its image without owning it: the image must outlive the batch.
struct screen_sprite {
    uint32_t x, y;
    uint8_t dist; // smaller is nearer
    struct bitmap *bitmap;
};

struct screen_text {
    const char *str; // not copied
    uint32_t x, y;
    uint8_t color;
};

struct screen; // display/screen.h: it holds both queues

// Opens a slot for an entry of this distance and returns it; sprite_stack_full when full.
uint32_t find_scrsprite_index(screen *s, uint8_t dist);
void push_scrbitmap(screen *s, uint32_t x, uint32_t y, struct bitmap *bitmap, uint8_t dist);
// Clears the used-pixel mask, draws the queue front to back and empties it.
void draw_screen_sprites(screen *s);
void push_text(screen *s, uint32_t x, uint32_t y, uint8_t color, const char *text);
// Draws the queued texts, last pushed first, and empties the queue.
void draw_screen_texts(screen *s);
