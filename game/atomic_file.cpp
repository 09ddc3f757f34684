#include "game/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr mode_t permission_bits = 07777;
constexpr mode_t new_file_mode = 0666; // narrowed by the process's umask
constexpr std::size_t read_chunk = 65536;

std::string reason(int err) {
    return std::strerror(err);
}

std::string folder_of(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string name_of(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t process_umask() {
    // umask can only be read by setting it; nothing else creates files meanwhile.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The file a path names, through a symbolic link if it is one.
bool resolve_target(const std::string &path, std::string *target, std::string *error) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        *target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) {
        *error = "cannot follow the link " + path + ": " + reason(errno);
        return false;
    }
    *target = resolved;
    return true;
}

// Holds an exclusive lock on a folder for as long as it lives, so that appends from two
// processes do not lose one another. Best effort: a folder that cannot be opened or locked
// is written unlocked, as it would be without this.
struct folder_lock {
    int fd = -1;
    explicit folder_lock(const std::string &folder) {
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (fd >= 0 && ::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~folder_lock() {
        if (fd >= 0) ::close(fd); // closing releases the lock
    }
    folder_lock(const folder_lock &) = delete;
    folder_lock &operator=(const folder_lock &) = delete;
};

} // namespace

read_status read_whole_file(const std::string &path, std::string *contents, std::string *error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return read_status::missing;
        *error = "cannot read " + path + ": " + reason(errno);
        return read_status::failed;
    }
    std::string data;
    std::vector<char> buffer(read_chunk);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            *error = "cannot read " + path + ": " + reason(errno);
            ::close(fd);
            return read_status::failed;
        }
        data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    *contents = std::move(data);
    return read_status::read;
}

bool write_file_atomically(const std::string &path, std::string_view contents, std::string *error) {
    std::string target;
    if (!resolve_target(path, &target, error)) return false;
    const std::string folder = folder_of(target), name = name_of(target);
    if (name.empty()) {
        *error = "cannot write " + path + ": not a file name";
        return false;
    }
    mode_t mode = new_file_mode & ~process_umask();
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            *error = "cannot write " + path + ": not a regular file";
            return false;
        }
        mode = st.st_mode & permission_bits;
        // What cannot be read cannot have been ours to replace.
        const int probe = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (probe < 0) {
            *error = "cannot read " + path + ", so it is not overwritten: " + reason(errno);
            return false;
        }
        ::close(probe);
    }

    std::string temp = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot write " + path + ": no temporary file in " + folder + ": " + reason(errno);
        return false;
    }
    const auto fail = [&](const char *step, int err, bool open) {
        if (open) ::close(fd);
        ::unlink(temp.c_str());
        *error = "cannot write " + path + ": " + step + ": " + reason(err);
        return false;
    };
    if (::fchmod(fd, mode) != 0) return fail("setting permissions", errno, true);
    if (!write_all(fd, contents)) return fail("writing", errno, true);
    if (::fsync(fd) != 0) return fail("flushing to disk", errno, true);
    if (::close(fd) != 0) return fail("closing", errno, false);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail("renaming", errno, false);

    // The rename itself is made durable by flushing the folder; file systems that cannot
    // flush a folder (EINVAL) have nothing to flush.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || (::fsync(dir) != 0 && errno != EINVAL)) {
        const int err = errno;
        if (dir >= 0) ::close(dir);
        *error = "wrote " + path + ", but flushing its folder failed: " + reason(err);
        return false;
    }
    ::close(dir);
    return true;
}

bool append_file_atomically(const std::string &path, std::string_view text, std::string *error) {
    std::string target;
    if (!resolve_target(path, &target, error)) return false;
    const folder_lock lock(folder_of(target));
    std::string old;
    switch (read_whole_file(target, &old, error)) {
    case read_status::failed:
        *error += " (left untouched)";
        return false;
    case read_status::missing:
        old.clear();
        break;
    case read_status::read:
        break;
    }
    return write_file_atomically(target, old.append(text), error);
}

bool create_folders(const std::string &folder, mode_t mode, std::string *error) {
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find('/', end + 1);
        const std::string part = folder.substr(0, end);
        if (part.empty() || part.back() == '/') continue; // the root, or "a//b"
        if (::mkdir(part.c_str(), mode) == 0) continue;
        const int err = errno;
        struct stat st;
        if (err == EEXIST && ::stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        *error = "cannot create the folder " + part + ": " +
                 (err == EEXIST ? std::string("a file of that name exists") : reason(err));
        return false;
    }
    return true;
}

bool create_parent_folders(const std::string &path, mode_t mode, std::string *error) {
    return create_folders(folder_of(path), mode, error);
}
