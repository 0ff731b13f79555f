#pragma once
// Messages for failed file operations that carry the system's own reason
// ("couldn't write 'x': No space left on device").
#include <string>

#include "base/Result.h"

namespace tamber::platform {
using namespace tamber::base;

// The system's text for an errno value.
std::string SystemReason(int error);
// "couldn't ACTION 'PATH': REASON".
Error FileFailure(const std::string& action, const std::string& path, int error);

}  // namespace tamber::platform
