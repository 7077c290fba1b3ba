// Not built yet: paths are taken as they stand.
#include "platform/path_resolution.h"

#include <algorithm>

namespace platform {
std::string NativePath(std::string_view systemPath) {
    std::string path(systemPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
std::string Windows1252ToUtf8(std::string_view text) { return std::string(text); }
}  // namespace platform
