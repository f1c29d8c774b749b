#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// A failure of a platform service, carrying the French message that the
// application's general error report shows to the teacher. what() gives the
// same message in UTF-8.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString& message);

    const QString& Message() const noexcept { return m_message; }

private:
    QString m_message;
};

}  // namespace platform
