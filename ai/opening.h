// The two-move opening book.
#pragma once

#include <cstdint>

// Plays and records a book move on the live board and returns 1, or returns 0. The book
// answers only within its first two calls of a game.
int ai_opening();

// Calls left in which the book may answer (2 at start; 0 switches the book off).
void set_opening_calls_left(uint8_t calls);
