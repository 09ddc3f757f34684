#include "game/options/folder_trust.h"

#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A group that holds this user alone, as systems that give every user a group of their
// own make it: group-writable folders of such a group are the user's own.
bool private_group(gid_t gid) {
    const passwd *user = getpwuid(geteuid());
    const group *g = getgrgid(gid);
    if (!user || !g || gid != user->pw_gid || std::strcmp(g->gr_name, user->pw_name) != 0)
        return false;
    for (char **member = g->gr_mem; *member; member++)
        if (std::strcmp(*member, user->pw_name) != 0) return false;
    return true;
}

} // namespace

const char *untrusted_reason(const struct stat &st) {
    const uid_t me = geteuid();
    if (st.st_uid != me && st.st_uid != 0) return "it belongs to another user";
    const bool root_sticky = (st.st_mode & S_ISVTX) && st.st_uid == 0;
    if ((st.st_mode & S_IWOTH) && !root_sticky) return "others can write it";
    if ((st.st_mode & S_IWGRP) && !private_group(st.st_gid) && !root_sticky)
        return "its group can write it";
    return nullptr;
}

std::string unsafe_folder(const std::string &folder, const char **why) {
    std::size_t end = 0;
    for (bool root = true; end != std::string::npos; root = false) {
        if (!root) end = folder.find('/', end + 1);
        const std::string part = root ? "/" : folder.substr(0, end);
        if (!root && (part.empty() || part.back() == '/')) continue; // "a//b"
        struct stat st;
        if (stat(part.c_str(), &st) != 0) return ""; // missing: made by this user below
        if (const char *reason = untrusted_reason(st)) {
            if (why) *why = reason;
            return part;
        }
    }
    return "";
}
