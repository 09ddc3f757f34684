// Placeholders until the window is built: text mode only.
#include "display/board_view.h"
#include "display/message_box.h"
#include "display/sdlfuncs.h"

int init_board_graphics() { return 1; }
void draw_board_view(const coord *, uint8_t, unsigned, unsigned) {}
void queue_piece_sprite(unsigned, unsigned, uint8_t) {}
void present_board_view() {}
void select_tile(const coord *, uint8_t, uint8_t *row, uint8_t *col) { *row = 7, *col = 7; }
void show_message_box(const char *) {}
int init_screen_sdl(const char *) { return 1; }
void clear_movekeys() {}
void update_screen() {}
int32_t poll_keycode() { return 0; }
void wait_for_window_event() {}
void pump_window_events() {}
