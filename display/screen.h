// Everything the window shows and keeps: the SDL window and its staging surface, the
// emulated frame buffer, the draw queues, the font and the piece images. One record, opened
// by whoever opens the window and handed to every drawing function.
#pragma once

#include "display/bitmap.h"
#include "display/dbuff.h"
#include "display/draw_queue.h"
#include "display/fonts.h"

#include <SDL.h>
#include <cstdint>

// The twelve piece images, loaded once with the font.
struct piece_bitmaps {
    struct bitmap white_pawn, white_bishop, white_rook, white_knight, white_queen, white_king;
    struct bitmap black_pawn, black_bishop, black_rook, black_knight, black_queen, black_king;
};

struct screen {
    SDL_Window *window = nullptr;
    SDL_Renderer *renderer = nullptr;
    SDL_Surface *surface = nullptr; // 320x200 staging image of each frame
    bool closed = false;            // the person has closed the window: the game is to end
    Uint32 last_pump = 0;           // when pump_window_events last asked SDL (its ticks)

    // Colour index bits: 3 intensity, 2 red, 1 green, 0 blue. Plane 0 holds the intensity
    // bit, plane 3 the blue one. Within a byte bit 0 is the leftmost pixel.
    uint8_t dbuff[dbuff_size] = {};
    // One bit per screen pixel, laid out like one plane: set when an image drawn earlier in
    // the current batch owns the pixel.
    uint8_t usedpixels[plane_size] = {};

    // Kept sorted by dist; equal distances stay in push order.
    screen_sprite sprites[sprite_stack_size] = {};
    uint8_t sprite_count = 0;
    screen_text texts[screen_text_size] = {};
    uint8_t text_count = 0;

    font_table font = {};
    teletype_pen teletype = {};

    piece_bitmaps pieces = {};
    // Black's side at the bottom: the board turned by half a turn (rank 1 at the top, file h
    // at the left). Set once at start-up; the arrow keys follow the picture.
    bool flipped = false;
};
