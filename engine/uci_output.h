// The engine's answers on standard output: whole lines, flushed at once, so that the GUI
// sees each as soon as it is written, and never two lines mixed when both the protocol
// loop and the search write.
#pragma once

void send_line(const char *format, ...) __attribute__((format(printf, 1, 2)));

// "info string " and the text: a note for the person watching, ignored by GUIs.
void send_info_string(const char *format, ...) __attribute__((format(printf, 1, 2)));
