#pragma once

#include <string>

namespace platform {

// The per-user single-instance lock: an advisory lock on a file in $XDG_RUNTIME_DIR (else
// /tmp/quillowbee-<uid>.lock), held until this object goes. The kernel drops it with the
// process, so a crashed copy never blocks the next one.
class InstanceLock {
  public:
    // Tries to take the lock at once; never waits.
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another process holds the lock.
    bool HeldElsewhere() const { return heldElsewhere_; }

    static std::string LockPath();

  private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

}  // namespace platform
