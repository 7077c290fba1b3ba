#include "shell/display_objects.h"

#include "shell/system_failure.h"

namespace GameUtil {

std::unique_ptr<DisplayDevice> displayDevice;
std::unique_ptr<Surface> primarySurface;
Surface* backBuffer = nullptr;

bool IsDisplayReady() {
    if (!displayDevice) {
        Fail("the display device does not exist");
    }
    return displayDevice->TestCooperativeLevel() == 0;
}

void DropDisplayObjects() {
    backBuffer = nullptr;
    primarySurface.reset();
    displayDevice.reset();
}

}  // namespace GameUtil
