// The XDG base folders of the person running the game.
#pragma once

#include <string>

// The home folder: $HOME when it is an absolute path, else the password database's; empty
// when neither is known.
std::string home_folder();

// An XDG base folder: the variable when it holds an absolute path, else the default below
// the home folder ("/.local/state"); empty when no home folder is known.
std::string base_folder(const char *variable, const char *below_home);
