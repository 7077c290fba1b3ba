#include "platform/portable/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return WithoutTrailingSlashes(home);
    }
    // A session started without HOME (a service, `env -i`) still belongs to a user.
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return WithoutTrailingSlashes(entry->pw_dir);
    }
    return "/";
}

std::string XdgFolder(const char* variable, const char* belowHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return WithoutTrailingSlashes(value);
    }
    const std::string home = HomeFolder();
    return (home == "/" ? "" : home) + belowHome;
}

}  // namespace

std::string UserDataHome() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}
std::string UserConfigHome() {
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

}  // namespace platform
