#include "display/display_objects.h"

#include "platform/services.h"
#include "base/system_failure.h"

namespace GameUtil {

std::unique_ptr<DisplayDevice> displayDevice;
std::unique_ptr<Surface> primarySurface;
Surface* backBuffer = nullptr;

void TakeTheScreen() {
    using namespace DisplayFlags;
    displayDevice =
        std::make_unique<DisplayDevice>(*platform::Current().display, *platform::Current().text);
    displayDevice->SetCooperativeLevel(kCooperativeFullScreenExclusive);
    displayDevice->SetDisplayMode(800, 600, 16, 0, 0);
    SurfaceRequest primary;
    primary.flags = kRequestCaps | kRequestBackBufferCount;
    primary.caps = kCapsPrimary | kCapsFlip | kCapsComplex;
    primary.backBufferCount = 1;
    primarySurface = displayDevice->CreateSurface(primary);
    backBuffer = primarySurface->GetAttachedSurface(kCapsBackBuffer);
}

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
