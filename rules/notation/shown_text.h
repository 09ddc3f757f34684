// Text from outside (a typed word, a file, a GUI) as a message may quote it.
#pragma once

#include <string>
#include <string_view>

// Printable ASCII as it is; any other byte (of a UTF-8 character, a control character) as
// \xNN.
std::string shown_character(char c);

// The text with every byte as shown_character shows it, cut short with "..." beyond 60
// characters, so that a huge token cannot flood a message line.
std::string shown_text(std::string_view text);
