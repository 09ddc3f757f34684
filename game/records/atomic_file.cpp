#include "game/records/atomic_file.h"
#include "game/records/temp_file_cleanup.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t permission_bits = 07777;
constexpr mode_t new_file_mode = 0666; // narrowed by the process's umask
constexpr std::size_t copy_chunk = 65536;
constexpr std::string_view temp_suffix = ".XXXXXX";
constexpr const char *not_regular = "not a regular file";
constexpr const char *link_refused = "a symbolic link, which is not followed";

std::string reason(int err) {
    return std::strerror(err);
}

// Closes a descriptor when it goes out of scope.
struct open_file {
    int fd = -1;
    open_file() = default;
    open_file(const open_file &) = delete;
    open_file &operator=(const open_file &) = delete;
    ~open_file() {
        if (fd >= 0) ::close(fd);
    }
};

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

// Copies bytes [range.begin, range.end) of `from` to the end of `to`; false with errno set,
// or with errno 0 when `from` ends before the range does.
bool copy_range(int from, int to, byte_range range) {
    std::vector<char> buffer(copy_chunk);
    for (uint64_t at = range.begin; at < range.end;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), range.end - at));
        const ssize_t n = ::pread(from, buffer.data(), want, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            if (range.end == byte_range::to_the_end) return true;
            errno = 0;
            return false;
        }
        if (!write_all(to, std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            return false;
        at += static_cast<uint64_t>(n);
    }
    return true;
}

mode_t process_umask() {
    // umask can only be read by setting it; nothing else creates files meanwhile.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// "." + name + "." + process id: what this program's temporary files for `name` begin with.
std::string temp_prefix(const std::string &name, pid_t pid) {
    return "." + name + "." + std::to_string(pid);
}

bool process_is_gone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// The process id in the name of a temporary file for `name` ("." + name + "." + id +
// ".XXXXXX"; any name when `name` is empty), or 0 when it is not one.
pid_t temp_file_owner(const std::string &entry, const std::string &name) {
    if (entry.size() <= temp_suffix.size() || entry[0] != '.' ||
        entry[entry.size() - temp_suffix.size()] != '.')
        return 0;
    const std::string before = entry.substr(0, entry.size() - temp_suffix.size());
    const std::size_t dot = before.rfind('.');
    const std::string owner = before.substr(dot + 1), file = before.substr(1, dot - 1);
    if (dot == 0 || file.empty() || (!name.empty() && file != name) || owner.empty() ||
        owner.size() > 9 || owner.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(owner));
}

} // namespace

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

read_status open_to_read(const std::string &path, bool follow_link, int *fd, std::string *error) {
    // Opening a FIFO would wait for a writer: not blocking here, and the type checked below.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (follow_link ? 0 : O_NOFOLLOW);
    const int opened = ::open(path.c_str(), flags);
    if (opened < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return read_status::missing;
        struct stat st;
        if (err == ELOOP && !follow_link && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            *error = link_refused;
        else
            *error = reason(err);
        return read_status::failed;
    }
    struct stat st;
    if (::fstat(opened, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(opened);
        *error = not_regular;
        return read_status::failed;
    }
    ::fcntl(opened, F_SETFL, ::fcntl(opened, F_GETFL) & ~O_NONBLOCK);
    *fd = opened;
    return read_status::read;
}

read_status read_whole_file(const std::string &path, std::string *contents, std::string *error) {
    open_file file;
    const read_status status = open_to_read(path, true, &file.fd, error);
    if (status == read_status::failed) *error = "cannot read " + path + ": " + *error;
    if (status != read_status::read) return status;
    std::string data;
    std::vector<char> buffer(copy_chunk);
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            *error = "cannot read " + path + ": " + reason(errno);
            return read_status::failed;
        }
        data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    *contents = std::move(data);
    return read_status::read;
}

bool rewrite_file(const std::string &path, const std::vector<byte_range> &kept,
                  std::string_view text, file_identity *expected, std::string *error) {
    return rewrite_file_around(path, kept, text, {}, expected, error);
}

bool rewrite_file_around(const std::string &path, const std::vector<byte_range> &kept,
                         std::string_view text, const std::vector<byte_range> &after,
                         file_identity *expected, std::string *error) {
    const std::string folder = folder_of(path), name = name_of(path);
    if (name.empty()) {
        *error = "cannot write " + path + ": not a file name";
        return false;
    }
    mode_t mode = new_file_mode & ~process_umask();
    open_file old;
    std::string why;
    switch (open_to_read(path, false, &old.fd, &why)) {
    case read_status::missing:
        if (expected && expected->expect == file_identity::kind::this_one) {
            *error = "cannot write " + path + ": it was removed since it was read";
            return false;
        }
        if (!kept.empty() || !after.empty()) {
            *error = "cannot write " + path + ": it is gone";
            return false;
        }
        break;
    case read_status::failed:
        // What cannot be read cannot have been ours to replace.
        if (why == not_regular || why == link_refused)
            *error = "cannot write " + path + ": " + why;
        else
            *error = "cannot read " + path + ", so it is not overwritten: " + why;
        return false;
    case read_status::read: {
        struct stat st;
        ::fstat(old.fd, &st);
        const bool foreign =
            expected && (expected->expect == file_identity::kind::none ||
                         (expected->expect == file_identity::kind::this_one &&
                          (st.st_dev != expected->device || st.st_ino != expected->inode)));
        if (foreign) {
            *error = "cannot write " + path + ": another program changed it since it was read";
            return false;
        }
        mode = st.st_mode & permission_bits;
        break;
    }
    }

    std::string temp = folder + "/" + temp_prefix(name, ::getpid()) + std::string(temp_suffix);
    const int fd = make_guarded_temp_file(temp.data());
    if (fd < 0) {
        *error = "cannot write " + path + ": no temporary file in " + folder + ": " + reason(errno);
        return false;
    }
    const auto fail = [&](const char *step, int err, bool open) {
        if (open) ::close(fd);
        ::unlink(temp.c_str());
        forget_guarded_temp_file();
        *error = "cannot write " + path + ": " + step + ": " +
                 (err ? reason(err) : "it is shorter than when it was read");
        return false;
    };
    if (::fchmod(fd, mode) != 0) return fail("setting permissions", errno, true);
    for (const byte_range &range : kept)
        if (!copy_range(old.fd, fd, range)) return fail("copying", errno, true);
    if (!write_all(fd, text)) return fail("writing", errno, true);
    for (const byte_range &range : after)
        if (!copy_range(old.fd, fd, range)) return fail("copying", errno, true);
    if (::fsync(fd) != 0) return fail("flushing to disk", errno, true);
    struct stat written;
    if (::fstat(fd, &written) != 0) return fail("reading back", errno, true);
    if (::close(fd) != 0) return fail("closing", errno, false);
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail("renaming", errno, false);
    forget_guarded_temp_file();
    if (expected && expected->expect != file_identity::kind::any)
        *expected = {file_identity::kind::this_one, written.st_dev, written.st_ino};

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

bool write_file_atomically(const std::string &path, std::string_view contents, std::string *error) {
    return rewrite_file(path, {}, contents, nullptr, error);
}

folder_lock::folder_lock(const std::string &path) {
    fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd >= 0 && ::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

folder_lock::~folder_lock() {
    if (fd >= 0) ::close(fd); // closing releases the lock
}

bool append_file_atomically(const std::string &path, std::string_view text, std::string *error,
                            uint64_t *offset) {
    const folder_lock lock(path);
    file_identity seen;
    uint64_t size = 0;
    {
        open_file old;
        switch (open_to_read(path, false, &old.fd, error)) {
        case read_status::failed:
            *error = "cannot read " + path + ": " + *error + " (left untouched)";
            return false;
        case read_status::missing:
            seen.expect = file_identity::kind::none;
            break;
        case read_status::read: {
            struct stat st;
            ::fstat(old.fd, &st);
            seen = {file_identity::kind::this_one, st.st_dev, st.st_ino};
            size = static_cast<uint64_t>(st.st_size);
            break;
        }
        }
    }
    if (offset) *offset = size;
    std::vector<byte_range> kept;
    if (size > 0) kept.push_back({0, size});
    return rewrite_file(path, kept, text, &seen, error);
}

void sweep_stale_temp_files(const std::string &path) {
    const std::string folder = folder_of(path), name = name_of(path);
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent *entry = ::readdir(dir)) {
        const pid_t owner = temp_file_owner(entry->d_name, name);
        if (owner <= 0 || owner == ::getpid() || !process_is_gone(owner)) continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
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
