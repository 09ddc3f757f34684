// Files written for the user, crash-safe: a reader (or a crash at any instant) sees either
// the old contents or the new ones, never a mixture, and a file that cannot be read is never
// overwritten.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

enum class read_status { read, missing, failed };

// The whole file into `contents`; `missing` when it does not exist, `failed` (with `error`
// set) when it exists but cannot be read.
read_status read_whole_file(const std::string &path, std::string *contents, std::string *error);

// Writes `contents` to a temporary file in the same folder, flushes it to disk, renames it
// over `path` and flushes the folder. A symbolic link is followed: the file it names is
// replaced and the link kept. An existing file keeps its permissions; one that cannot be
// read is refused. On failure the temporary file is removed, `path` is untouched, and
// `error` says what failed.
bool write_file_atomically(const std::string &path, std::string_view contents, std::string *error);

// Adds `text` at the end of `path` (created when missing) through write_file_atomically.
// Refuses, leaving the file untouched, when it exists but cannot be read. Appends by
// processes using this function are made one at a time (a lock on the folder where it can
// be taken), so none is lost.
bool append_file_atomically(const std::string &path, std::string_view text, std::string *error);

// Creates `folder` and any missing folders above it with `mode` (like mkdir -p).
bool create_folders(const std::string &folder, mode_t mode, std::string *error);

// Creates the folder that will hold `path`, and those above it.
bool create_parent_folders(const std::string &path, mode_t mode, std::string *error);
