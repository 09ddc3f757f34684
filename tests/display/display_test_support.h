// Helpers shared by the display tests.
#pragma once

#include "display/screen.h"

#include <cstdint>
#include <string>
#include <vector>

// The screen the display tests draw on (and open their window with).
screen *test_screen();
// Clears its frame buffer, the used-pixel mask, both draw queues and the font.
void reset_display_state();
// Writes bytes to a fresh file in the temporary directory and returns its absolute path.
std::string write_temp_file(const std::string &name, const std::vector<uint8_t> &bytes);
// Number of pixels of colour `color` inside the rectangle.
unsigned count_colour(unsigned x, unsigned y, unsigned w, unsigned h, uint8_t color);
// Gives glyph `chr` a single ink pixel in its top-left corner.
void set_dot_glyph(uint8_t chr);
