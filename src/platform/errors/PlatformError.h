#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A platform operation that failed. The message is the French text the user
// reads, in UTF-8.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace platform
