#include "platform/errors/PlatformError.h"

namespace platform {

PlatformError::PlatformError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

}  // namespace platform
