#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "core/files.h"
#include "core/strings.h"

namespace leafsmith {

namespace {

// The process that holds a lock on the file, from the kernel's list of locks, or 0.
long LockHolder(const struct stat& info) {
    char key[64];
    std::snprintf(key, sizeof key, "%02x:%02x:%llu", major(info.st_dev), minor(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    std::istringstream locks(ReadFileBytesIfExists("/proc/locks"));
    std::string line;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 6389 fe:00:10952864 0 EOF"
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, file;
        fields >> number >> kind >> mode >> access >> pid >> file;
        if (kind == "FLOCK" && file == key)
            return std::strtol(pid.c_str(), nullptr, 10);
    }
    return 0;
}

std::string ProgramOf(long pid) {
    try {
        return Trim(ReadFileBytesIfExists("/proc/" + std::to_string(pid) + "/comm"));
    } catch (const EFileError&) {
        return {};
    }
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
    CheckPathHasNoNul(folder);
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        const std::string reason = std::strerror(errno);
        throw EFileError("Cannot open the output folder \"" + folder + "\": " + reason, reason);
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        return;
    const int error = errno;
    if (error != EWOULDBLOCK) {
        // A file system without locks: build without one rather than not at all.
        ::close(fd_);
        fd_ = -1;
        return;
    }
    struct stat info {};
    long holder = 0;
    try {
        if (::fstat(fd_, &info) == 0)
            holder = LockHolder(info);
    } catch (const EFileError&) {
    }
    ::close(fd_);
    fd_ = -1;
    std::string who = "Another build";
    if (holder > 0) {
        const std::string program = ProgramOf(holder);
        who += " (process " + std::to_string(holder) + (program.empty() ? "" : ", " + program) + ")";
    }
    throw EFolderInUse(who + " is writing into the output folder \"" + folder +
                       "\"; wait until it has ended, or choose another output folder.");
}

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace leafsmith
