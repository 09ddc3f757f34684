#include "game/records/game_claim.h"
#include "game/options/folder_trust.h"
#include "game/records/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *claims_name = "/games.lock";
constexpr int unavailable = -2;
constexpr int attempts = 3; // a holder that ends while it is asked about is asked again

// FNV-1a: the same text gives the same byte in every run.
uint64_t text_hash(std::string_view text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// An offset from 1 to 2^62: far below the largest offset a lock may have, never 0 (which
// stands for no claim).
uint64_t claim_byte(std::string_view text) {
    return (text_hash(text) >> 2) + 1;
}

struct flock byte_lock(short type, uint64_t byte) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(byte);
    lock.l_len = 1;
    return lock;
}

// Locks `byte` for this process; false with the holder's process id when another holds it.
// A lock the system refuses for want of room counts as taken: claims never stop a game.
bool lock_byte(int fd, uint64_t byte, pid_t *holder) {
    for (int i = 0; i < attempts; i++) {
        struct flock lock = byte_lock(F_WRLCK, byte);
        if (fcntl(fd, F_SETLK, &lock) == 0) return true;
        if (errno != EACCES && errno != EAGAIN) return true;
        lock = byte_lock(F_WRLCK, byte);
        if (fcntl(fd, F_GETLK, &lock) != 0) return true;
        if (lock.l_type != F_UNLCK) {
            *holder = lock.l_pid;
            return false;
        }
    }
    return true;
}

void unlock_byte(int fd, uint64_t byte) {
    struct flock lock = byte_lock(F_UNLCK, byte);
    fcntl(fd, F_SETLK, &lock);
}

} // namespace

void open_claims(game_claims *claims, const std::string &folder) {
    if (claims->fd != -1) return;
    claims->fd = unavailable;
    std::string error;
    if (folder.empty() || !unsafe_folder(folder).empty() || !create_folders(folder, 0700, &error))
        return;
    const int fd =
        open((folder + claims_name).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return;
    }
    claims->fd = fd;
}

bool claim_resumed_game(game_claims *claims, std::string_view text, pid_t *holder) {
    if (claims->fd < 0) return true;
    const uint64_t byte = claim_byte(text);
    if (byte == claims->resumed || byte == claims->written) return true;
    if (!lock_byte(claims->fd, byte, holder)) return false;
    if (claims->resumed != 0 && claims->resumed != claims->written)
        unlock_byte(claims->fd, claims->resumed);
    claims->resumed = byte;
    return true;
}

void claim_written_record(game_claims *claims, std::string_view text) {
    if (claims->fd < 0) return;
    const uint64_t byte = claim_byte(text);
    if (byte == claims->written) return;
    pid_t holder = 0;
    // A game of the same text played by another run is claimed by that run already.
    const bool locked = byte == claims->resumed || lock_byte(claims->fd, byte, &holder);
    if (claims->written != 0 && claims->written != claims->resumed)
        unlock_byte(claims->fd, claims->written);
    claims->written = locked ? byte : 0;
}
