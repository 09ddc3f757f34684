// Files written for the user, crash-safe: a reader (or a crash at any instant) sees either
// the old contents or the new ones, never a mixture; a file that cannot be read is never
// overwritten, and no file is ever written through a symbolic link.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class read_status { read, missing, failed };

// Opens a file to read it: a regular file only (a FIFO is not waited for, a device is not
// read), through a symbolic link at its last component only when `follow_link`. `missing`
// when nothing is there; `failed` with `error` saying why ("not a regular file") for
// anything else.
read_status open_to_read(const std::string &path, bool follow_link, int *fd, std::string *error);

// The whole regular file into `contents` (links followed), as open_to_read reports.
read_status read_whole_file(const std::string &path, std::string *contents, std::string *error);

// Bytes [begin, end) of a file; an end of `to_the_end` runs to the file's end.
struct byte_range {
    static constexpr uint64_t to_the_end = UINT64_MAX;
    uint64_t begin = 0;
    uint64_t end = to_the_end;
};

// Which file a rewrite expects at its path, so that it never replaces a file that someone
// else put there since it was read.
struct file_identity {
    enum class kind : uint8_t { any, none, this_one };
    kind expect = kind::any;
    dev_t device = 0;
    ino_t inode = 0;
};

// Writes `path` anew: the `kept` ranges of the file now there (which must be the one
// `expected` names), then `text`; into a temporary file in the same folder, flushed to disk,
// renamed over `path`, the folder flushed. A symbolic link at `path` is refused; an existing
// file keeps its permissions, and one that cannot be read is refused. The temporary file is
// removed on failure, and when SIGINT, SIGTERM or SIGHUP end the process meanwhile. On
// success an `expected` of this_one names the new file; on failure `path` is untouched and
// `error` says what failed.
bool rewrite_file(const std::string &path, const std::vector<byte_range> &kept,
                  std::string_view text, file_identity *expected, std::string *error);

// rewrite_file with `text` between the `kept` ranges and the `after` ones: a piece of the
// file replaced in place.
bool rewrite_file_around(const std::string &path, const std::vector<byte_range> &kept,
                         std::string_view text, const std::vector<byte_range> &after,
                         file_identity *expected, std::string *error);

// rewrite_file with nothing kept and any file expected.
bool write_file_atomically(const std::string &path, std::string_view contents, std::string *error);

// Adds `text` at the end of `path` (created when missing). Refuses, leaving the file
// untouched, when it exists but cannot be read. Appends by processes using this function
// are made one at a time (a lock on the folder where it can be taken), so none is lost.
// `offset`, when given, gets the place in the file where `text` begins.
bool append_file_atomically(const std::string &path, std::string_view text, std::string *error,
                            uint64_t *offset = nullptr);

// Holds an exclusive lock on the folder of `path` for as long as it lives: the changes of
// files there made under it are made one at a time. Best effort: a folder that cannot be
// opened or locked is changed unlocked, as it would be without this.
struct folder_lock {
    int fd = -1;
    explicit folder_lock(const std::string &path);
    ~folder_lock();
    folder_lock(const folder_lock &) = delete;
    folder_lock &operator=(const folder_lock &) = delete;
};

// Removes the temporary files that writes of `path` left behind in its folder when their
// process was killed: only those of this program's naming whose process is gone. A path
// ending in "/" stands for every file of that folder.
void sweep_stale_temp_files(const std::string &path);

// Creates `folder` and any missing folders above it with `mode` (like mkdir -p).
bool create_folders(const std::string &folder, mode_t mode, std::string *error);

// Creates the folder that will hold `path`, and those above it.
bool create_parent_folders(const std::string &path, mode_t mode, std::string *error);

// The folder part and the name part of a path ("." and the path when it has no slash).
std::string folder_of(const std::string &path);
std::string name_of(const std::string &path);
