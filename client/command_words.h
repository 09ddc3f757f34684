// An engine's command line, taken without a shell: words split on blanks and passed as
// they are, with no quoting, globbing or variables, so that no word is ever interpreted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The file to run for `program`: a word with a slash is a path and is used as it is; a bare
// name is looked for in the directories of `search_path` (as PATH lists them), then in
// /usr/games, where Debian puts its chess engines. Empty when no runnable file is found.
std::string find_program(const std::string &program, std::string_view search_path);
