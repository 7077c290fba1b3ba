// Not built yet.
#include "graphics/picture_loader.h"
#include "shell/system_failure.h"

namespace GameUtil {
std::unique_ptr<Surface> LoadPictureSurface(const std::string& path, SurfaceRequest&) {
    Fail(path + ": picture loading is not built yet");
}
}  // namespace GameUtil
