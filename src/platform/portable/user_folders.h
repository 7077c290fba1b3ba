#pragma once

#include <string>

namespace platform {

// The per-user base folders of the XDG base directory layout, without a trailing '/'.
// An XDG variable counts only when it is set to an absolute path; otherwise the default below
// the home folder ($HOME, else the user's entry in the password database) is used.
std::string UserDataHome();    // ${XDG_DATA_HOME:-$HOME/.local/share}
std::string UserConfigHome();  // ${XDG_CONFIG_HOME:-$HOME/.config}

}  // namespace platform
