// A line of a protocol, or an engine's command line, as words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using word_list = std::vector<std::string>;

// The words of `text`, split at spaces and tabs. A carriage return or a line feed counts as
// a space, so that a line with Windows line endings reads the same.
word_list split_words(std::string_view text);

// Names compared as engines and GUIs compare option names: without regard to case.
bool same_name(std::string_view a, std::string_view b);
