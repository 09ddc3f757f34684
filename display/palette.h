// How a colour index looks on the real screen.
#pragma once

#include <cstdint>

struct rgb {
    uint8_t r, g, b;
};

constexpr uint8_t colour_channel_on = 0xA0;
constexpr uint8_t colour_intensity_boost = 0x5F;

// 0xA0 for each set colour bit; the intensity bit adds 0x5F to all three channels.
constexpr rgb colour_rgb(uint8_t color) {
    uint8_t boost = (color & 8) ? colour_intensity_boost : 0;
    return {uint8_t(((color & 4) ? colour_channel_on : 0) + boost),
            uint8_t(((color & 2) ? colour_channel_on : 0) + boost),
            uint8_t(((color & 1) ? colour_channel_on : 0) + boost)};
}
