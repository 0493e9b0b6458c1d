// Errors of our own that have no name in the design. Each carries a message a user can act on.
#pragma once

#include <stdexcept>
#include <string>

namespace leafsmith {

// Base of every error the library raises on purpose; the window shows its message, the
// command line prints it.
class ELeafsmithError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or folder that cannot be read, written, created or removed. The message names it; the
// system's reason is also kept apart, for callers that name the file in their own words.
class EFileError : public ELeafsmithError {
public:
    explicit EFileError(const std::string& message, std::string reason = {})
        : ELeafsmithError(message), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// An option value the program cannot work with (an empty title tag, a counter too long for a file name).
class ESettingError : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

// The build ran out of memory; the message says in which step.
class EOutOfMemory : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

}  // namespace leafsmith
