#include "platform/fs/FileErrors.h"

#include <cstring>

namespace tamber::platform {

std::string SystemReason(int error) { return std::strerror(error); }

Error FileFailure(const std::string& action, const std::string& path, int error) {
    return Fail("couldn't " + action + " '" + path + "': " + SystemReason(error));
}

}  // namespace tamber::platform
