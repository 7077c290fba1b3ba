#include "platform/services.h"

namespace platform {

namespace {
Services installed;
}

void Install(const Services& services) {
    installed = services;
}
const Services& Current() {
    return installed;
}

}  // namespace platform
