// The graphical message box drawn over the board.
#pragma once

// Draws the box with the message into the frame buffer and presents the frame.
void show_message_box(const char *str);
