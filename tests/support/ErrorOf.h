#pragma once

#include <functional>
#include <string>

#include "platform/errors/PlatformError.h"

namespace testsupport {

// The message (UTF-8) of the PlatformError that the action throws, or "" when
// it throws nothing.
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::PlatformError& error) {
        return error.what();
    }
    return "";
}

}  // namespace testsupport
