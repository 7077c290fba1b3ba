#include "platform/sdl/display_probe.h"

#include <SDL_syswm.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace platform {

bool HasHardwareRendering() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
        std::strcmp(driver, "dummy") == 0) {
        return false;
    }
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && forced[0] != '\0' && std::strcmp(forced, "0") != 0) {
        return false;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().rfind("renderD", 0) != 0) {
            continue;
        }
        const int fd = open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            return true;
        }
    }
    return false;
}

bool RunsOnSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) {
        return false;
    }
    const unsigned char* name = getString(kGlRenderer);
    if (name == nullptr) {
        return false;
    }
    const std::string text(reinterpret_cast<const char*>(name));
    return text.find("llvmpipe") != std::string::npos ||
           text.find("softpipe") != std::string::npos ||
           text.find("Software Rasterizer") != std::string::npos;
}

bool HasWindowManager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return true;
    }
    // SDL links Xlib already; looking the three calls up avoids a link dependency of our own.
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (xlib == nullptr) {
        return true;
    }
    auto internAtom =
        reinterpret_cast<decltype(&XInternAtom)>(SDL_LoadFunction(xlib, "XInternAtom"));
    auto getProperty = reinterpret_cast<decltype(&XGetWindowProperty)>(
        SDL_LoadFunction(xlib, "XGetWindowProperty"));
    auto xfree = reinterpret_cast<decltype(&XFree)>(SDL_LoadFunction(xlib, "XFree"));
    bool found = true;
    if (internAtom != nullptr && getProperty != nullptr && xfree != nullptr) {
        Display* display = info.info.x11.display;
        const Atom check = internAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
        found = false;
        if (check != None) {
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (getProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                            AnyPropertyType, &type, &format, &count, &after, &data) == Success) {
                found = type != None && format == 32 && count == 1;
                if (data != nullptr) {
                    xfree(data);
                }
            }
        }
    }
    SDL_UnloadObject(xlib);
    return found;
}

}  // namespace platform
