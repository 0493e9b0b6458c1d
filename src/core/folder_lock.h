// An exclusive lock on a folder, so that two builds never write into one output folder at once.
#pragma once

#include <string>

#include "core/errors.h"

namespace leafsmith {

// Another process holds the lock; the message names it where the system tells which one.
class EFolderInUse : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

class FolderLock {
public:
    // Locks the existing folder `folder` for as long as this object lives; the lock leaves no file
    // behind and ends with the process, however it ends. Raises EFolderInUse when another process
    // holds it, EFileError when the folder cannot be opened. On file systems without locks the
    // object holds nothing.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace leafsmith
