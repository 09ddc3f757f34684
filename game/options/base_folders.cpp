#include "game/options/base_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::string home_folder() {
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd *entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

std::string base_folder(const char *variable, const char *below_home) {
    const char *value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const std::string home = home_folder();
    return home.empty() ? "" : home + below_home;
}
