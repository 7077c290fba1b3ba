#include "platform/sdl/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

std::string InstanceLock::LockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/quillowbee.lock";
    }
    return "/tmp/quillowbee-" + std::to_string(getuid()) + ".lock";
}

InstanceLock::InstanceLock() {
    fd_ = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // Without a lock file the program still runs; only the second-copy check is lost.
        return;
    }
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        heldElsewhere_ = errno == EWOULDBLOCK;
        close(fd_);
        fd_ = -1;
        return;
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

}  // namespace platform
