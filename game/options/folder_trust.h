// Folders that other users could change under the game are not used for its records, as
// ssh refuses such folders for its keys.
#pragma once

#include <string>
#include <sys/stat.h>

// The first of `folder` and the folders above it that another user could change: owned by
// someone other than this user or root, or writable by others (a root-owned folder with
// the sticky bit, such as /tmp, is fine, and so is a group of this user alone). Missing
// folders are not looked at: this user creates them. Empty when all are safe.
// `why`, when given, is set to untrusted_reason's answer for it.
std::string unsafe_folder(const std::string &folder, const char **why = nullptr);

// Why another user could change the file or folder `st` describes ("others can write it"),
// or null when none could.
const char *untrusted_reason(const struct stat &st);
