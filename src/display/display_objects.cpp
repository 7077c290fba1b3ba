#include "display/display_objects.h"

#include "base/system_failure.h"
#include "platform/services.h"

namespace GameUtil {

std::unique_ptr<DisplayDevice> displayDevice;
std::unique_ptr<Surface> primarySurface;
Surface* backBuffer = nullptr;

void CreateDisplayDevice() {
    if (!displayDevice) {
        displayDevice = std::make_unique<DisplayDevice>(*platform::Current().display,
                                                        *platform::Current().text);
    }
}

void TakeTheScreen() {
    using namespace DisplayFlags;
    CreateDisplayDevice();
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
