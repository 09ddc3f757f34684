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

// Kept sorted by dist; equal distances stay in push order.
extern screen_sprite sprite_stack[sprite_stack_size];
extern uint8_t screen_sprite_count;
extern struct screen_text screen_text[screen_text_size];
extern uint8_t screen_text_count;

// Opens a slot for an entry of this distance and returns it; sprite_stack_full when full.
uint32_t find_scrsprite_index(uint8_t dist);
void push_scrbitmap(uint32_t x, uint32_t y, struct bitmap *bitmap, uint8_t dist);
// Clears the used-pixel mask, draws the queue front to back and empties it.
void draw_screen_sprites();
void push_text(uint32_t x, uint32_t y, uint8_t color, const char *text);
// Draws the queued texts, last pushed first, and empties the queue.
void draw_screen_texts();
