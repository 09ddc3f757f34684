#include "game/records/atomic_file.h"
#include "game/records/temp_file_cleanup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t unprivileged_id = 65534; // "nobody"

// A fresh folder that an unprivileged user may enter, removed with its contents afterwards.
struct scratch_folder {
    std::string path;
    scratch_folder() {
        char name[] = "/tmp/vartok-atomic-XXXXXX";
        path = ::mkdtemp(name);
        ::chmod(path.c_str(), 0755);
    }
    ~scratch_folder() {
        const std::string command = "chmod -R u+rwx '" + path + "' && rm -rf '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
};

std::vector<std::string> entries(const std::string &folder) {
    std::vector<std::string> names;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent *e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string contents_of(const std::string &path) {
    std::string text, error;
    EXPECT_EQ(read_whole_file(path, &text, &error), read_status::read) << error;
    return text;
}

void put(const std::string &path, const std::string &text) {
    std::string error;
    ASSERT_TRUE(write_file_atomically(path, text, &error)) << error;
}

// Root ignores file permissions, so permission cases run in a child process as "nobody"
// when the tests run as root. `check` returns what went wrong, empty when all is well.
std::string as_ordinary_user(const std::function<std::string()> &check) {
    if (::geteuid() != 0) return check();
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "cannot drop root";
        if (::setgroups(0, nullptr) == 0 && ::setgid(unprivileged_id) == 0 &&
            ::setuid(unprivileged_id) == 0)
            result = check();
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) result.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) result += " (child failed)";
    return result;
}

} // namespace

TEST(AtomicFile, WritesReplacesAndAppendsLeavingNoTemporaryFile) {
    scratch_folder folder;
    const std::string path = folder / "game.pgn";
    std::string text, error;
    EXPECT_EQ(read_whole_file(path, &text, &error), read_status::missing);

    put(path, "first\n");
    EXPECT_EQ(contents_of(path), "first\n");
    ::chmod(path.c_str(), 0640);
    std::string big(300000, 'x'); // several write calls
    put(path, big);
    EXPECT_EQ(contents_of(path), big);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the file keeps its permissions

    const std::string database = folder / "games.pgn";
    ASSERT_TRUE(append_file_atomically(database, "one\n", &error)) << error;
    ASSERT_TRUE(append_file_atomically(database, "two\n", &error)) << error;
    EXPECT_EQ(contents_of(database), "one\ntwo\n");
    EXPECT_EQ(entries(folder.path).size(), 2u); // no temporary file left beside them

    // No file is written through a link: the link and the file it names stay as they are.
    const std::string link = folder / "link.pgn";
    ASSERT_EQ(::symlink(database.c_str(), link.c_str()), 0);
    EXPECT_FALSE(append_file_atomically(link, "three\n", &error));
    EXPECT_FALSE(write_file_atomically(link, "three\n", &error));
    EXPECT_EQ(error, "cannot write " + link + ": a symbolic link, which is not followed");
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(contents_of(database), "one\ntwo\n");
    EXPECT_EQ(entries(folder.path).size(), 3u);
}

TEST(AtomicFile, ARewriteKeepsRangesOfTheFileItExpectsAndNoOther) {
    scratch_folder folder;
    const std::string path = folder / "games.pgn";
    put(path, "0123456789");
    std::string error;
    file_identity seen{file_identity::kind::none};
    EXPECT_FALSE(rewrite_file(path, {}, "x", &seen, &error)); // a file came where none was
    seen = {};
    uint64_t offset = 0;
    ASSERT_TRUE(append_file_atomically(path, "", &error, &offset)) << error;
    EXPECT_EQ(offset, 10u);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    seen = {file_identity::kind::this_one, st.st_dev, st.st_ino};
    ASSERT_TRUE(rewrite_file(path, {{0, 3}, {7, byte_range::to_the_end}}, "ab", &seen, &error))
        << error;
    EXPECT_EQ(contents_of(path), "012789ab");
    // The identity follows the file written; the ranges are of that new file.
    ASSERT_TRUE(rewrite_file(path, {{0, 6}}, "cd", &seen, &error)) << error;
    EXPECT_EQ(contents_of(path), "012789cd");
    EXPECT_FALSE(rewrite_file(path, {{0, 100}}, "", &seen, &error)); // shorter than it was
    EXPECT_EQ(contents_of(path), "012789cd");
    // Another program put a file of its own there: it is not replaced.
    const file_identity ours = seen;
    put(path, "theirs");
    seen = ours;
    EXPECT_FALSE(rewrite_file(path, {{0, 6}}, "x", &seen, &error));
    EXPECT_NE(error.find("another program changed it"), std::string::npos) << error;
    EXPECT_EQ(contents_of(path), "theirs");
    EXPECT_EQ(entries(folder.path).size(), 1u);
}

TEST(AtomicFile, NothingButRegularFilesIsRead) {
    scratch_folder folder;
    const std::string fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string text, error;
    // Neither waits for a writer nor reads for ever.
    EXPECT_EQ(read_whole_file(fifo, &text, &error), read_status::failed);
    EXPECT_EQ(error, "cannot read " + fifo + ": not a regular file");
    EXPECT_EQ(read_whole_file("/dev/zero", &text, &error), read_status::failed);
    int fd = -1;
    put(folder / "real", "x");
    const std::string link = folder / "link";
    ASSERT_EQ(::symlink((folder / "real").c_str(), link.c_str()), 0);
    EXPECT_EQ(open_to_read(link, false, &fd, &error), read_status::failed);
    ASSERT_EQ(open_to_read(link, true, &fd, &error), read_status::read);
    ::close(fd);
    EXPECT_EQ(open_to_read(folder / "real/below", false, &fd, &error), read_status::missing);
}

// A child that writes `path` and is stopped by `signal` in the middle: what is left.
std::vector<std::string> left_by_a_signal(const scratch_folder &folder, int signal, bool ignored) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (ignored) std::signal(signal, SIG_IGN);
        install_temp_file_cleanup();
        std::string temp = folder / ".games.pgn.XXXXXX";
        if (make_guarded_temp_file(temp.data()) < 0) ::_exit(3);
        ::raise(signal); // as if it came during the write
        ::_exit(ignored ? 0 : 4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (ignored)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    else
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    return entries(folder.path);
}

TEST(AtomicFile, ASignalDuringAWriteRemovesTheTemporaryFileAndStillEndsTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        scratch_folder folder;
        EXPECT_TRUE(left_by_a_signal(folder, signal, false).empty()) << signal;
    }
    scratch_folder folder;
    EXPECT_EQ(left_by_a_signal(folder, SIGHUP, true).size(), 1u); // nohup's stays ignored
}

TEST(AtomicFile, StaleTemporaryFilesOfGoneProcessesAreSwept) {
    scratch_folder folder;
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string path = folder / "g1.pgn";
    const std::string stale = folder / (".g1.pgn." + std::to_string(gone) + ".Ab12Cd");
    const std::vector<std::string> kept = {
        ".g1.pgn." + std::to_string(::getpid()) + ".Ab12Cd", // this process's own
        ".g1.pgn.backup",                                    // not of this naming
        ".g2.pgn." + std::to_string(gone) + ".Ab12Cd",       // another file's
        "g1.pgn",
    };
    put(stale, "x");
    for (const std::string &name : kept) put(folder / name, "x");
    sweep_stale_temp_files(path);
    std::vector<std::string> left = entries(folder.path);
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    // In a folder of the game's own, those of any file go.
    sweep_stale_temp_files(folder.path + "/");
    left = entries(folder.path);
    EXPECT_EQ(left.size(), 3u);
    EXPECT_EQ(std::count(left.begin(), left.end(), kept[2]), 0);
}

TEST(AtomicFile, AReadOnlyFolderLeavesTheOldFileUntouched) {
    scratch_folder folder;
    const std::string path = folder / "game.pgn";
    put(path, "old contents\n");
    ::chmod(path.c_str(), 0666); // only the folder forbids the change
    ::chmod(folder.path.c_str(), 0555);
    EXPECT_EQ(as_ordinary_user([&] {
                  std::string error;
                  if (write_file_atomically(path, "new\n", &error)) return std::string("written");
                  if (error.find("Permission denied") == std::string::npos) return error;
                  if (append_file_atomically(path, "new\n", &error)) return std::string("appended");
                  if (error.find(path) == std::string::npos) return error;
                  return std::string();
              }),
              "");
    EXPECT_EQ(contents_of(path), "old contents\n");
    EXPECT_EQ(entries(folder.path).size(), 1u);
}

TEST(AtomicFile, AnUnreadableFileIsNeitherAppendedToNorReplaced) {
    scratch_folder folder;
    ::chmod(folder.path.c_str(), 0777); // the folder would allow the rename
    const std::string path = folder / "games.pgn";
    put(path, "a game nobody may read\n");
    ::chmod(path.c_str(), 0200);
    EXPECT_EQ(as_ordinary_user([&] {
                  std::string error;
                  if (append_file_atomically(path, "new\n", &error)) return std::string("appended");
                  if (error != "cannot read " + path + ": Permission denied (left untouched)")
                      return error;
                  if (write_file_atomically(path, "new\n", &error)) return std::string("written");
                  if (error !=
                      "cannot read " + path + ", so it is not overwritten: Permission denied")
                      return error;
                  return std::string();
              }),
              "");
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(contents_of(path), "a game nobody may read\n");
    EXPECT_EQ(entries(folder.path).size(), 1u);

    // A folder in the place of the file is refused for reading and for writing.
    const std::string sub = folder / "sub";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    std::string error;
    EXPECT_FALSE(append_file_atomically(sub, "x", &error));
    EXPECT_FALSE(write_file_atomically(sub, "x", &error));
    EXPECT_EQ(error, "cannot write " + sub + ": not a regular file");
    EXPECT_FALSE(write_file_atomically(folder / "missing/x.pgn", "x", &error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

TEST(AtomicFile, AppendsFromTwoProcessesAreAllKept) {
    scratch_folder folder;
    const std::string path = folder / "games.pgn";
    constexpr int appends = 30;
    pid_t children[2];
    for (int c = 0; c < 2; c++) {
        children[c] = ::fork();
        if (children[c] == 0) {
            std::string error;
            for (int i = 0; i < appends; i++)
                if (!append_file_atomically(path, std::to_string(c) + "\n", &error)) ::_exit(1);
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string text = contents_of(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '0'), appends);
    EXPECT_EQ(std::count(text.begin(), text.end(), '1'), appends);
}

TEST(AtomicFile, CreatesFoldersAsNeeded) {
    scratch_folder folder;
    std::string error;
    const std::string deep = folder / "state/vartok/games/current.pgn";
    ASSERT_TRUE(create_parent_folders(deep, 0700, &error)) << error;
    ASSERT_TRUE(create_parent_folders(deep, 0700, &error)) << error; // already there
    put(deep, "x");
    struct stat st;
    ASSERT_EQ(::stat((folder / "state/vartok").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(create_folders(folder.path + "//state//other/", 0700, &error)) << error;

    put(folder / "file", "x");
    EXPECT_FALSE(create_parent_folders(folder / "file/sub/x.pgn", 0700, &error));
    EXPECT_EQ(error,
              "cannot create the folder " + folder.path + "/file: a file of that name exists");
}
