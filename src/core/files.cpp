#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/errors.h"
#include "core/strings.h"

namespace leafsmith {

namespace fs = std::filesystem;

namespace {

std::string SystemMessage(int error) {
    return std::strerror(error);
}

[[noreturn]] void RaiseFileError(const std::string& what, const std::string& path, int error) {
    throw EFileError(what + " \"" + ShowControlCharacters(path) + "\": " + SystemMessage(error), SystemMessage(error));
}

[[noreturn]] void RaiseFileError(const std::string& what, const std::string& path, const std::string& reason) {
    throw EFileError(what + " \"" + ShowControlCharacters(path) + "\": " + reason, reason);
}

bool WriteAll(int fd, const char* data, size_t left) {
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    return WriteAll(fd, bytes.data(), bytes.size());
}

std::string KindOf(mode_t mode) {
    if (S_ISREG(mode))
        return "a file";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a link";
    return "not a regular file";
}

// Opens a regular file for reading. A named pipe would block the open and a device would never
// end, so the file is opened without waiting and looked at before anything is read.
int OpenRegularFile(const std::string& path, const std::string& what, bool missingIsEmpty, struct stat& info) {
    CheckPathHasNoNul(path);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (missingIsEmpty && errno == ENOENT)
            return -1;
        RaiseFileError(what, path, errno);
    }
    if (::fstat(fd, &info) != 0) {
        int error = errno;
        ::close(fd);
        RaiseFileError(what, path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        RaiseFileError(what, path, "it is " + KindOf(info.st_mode) + ", not a regular file");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string ReadOpenFile(int fd, const std::string& path, const struct stat& info) {
    std::string bytes;
    try {
        if (info.st_size > 0)
            bytes.reserve(static_cast<size_t>(info.st_size));
        char buffer[65536];
        while (true) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                int error = errno;
                ::close(fd);
                RaiseFileError("Cannot read", path, error);
            }
            if (got == 0)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        RaiseFileError("Cannot read", path,
                       "there is not enough memory for its " + std::to_string(info.st_size) + " bytes");
    }
    ::close(fd);
    return bytes;
}

std::string TemporaryPattern(const std::string& path) {
    return JoinPath(FolderOf(path), "." + FileNameOf(path) + ".writing-XXXXXX");
}

bool CopyAll(int from, int to, bool& readFailed) {
    // copy_file_range lets the file system share or copy the blocks itself; where it cannot, the
    // bytes go through a buffer.
    while (true) {
        ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, size_t{1} << 30, 0);
        if (copied == 0)
            return true;
        if (copied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EBADF)
            break;
        readFailed = errno == EIO;
        return false;
    }
    std::vector<char> buffer(1 << 16);
    while (true) {
        ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            readFailed = true;
            return false;
        }
        if (got == 0)
            return true;
        if (!WriteAll(to, buffer.data(), static_cast<size_t>(got)))
            return false;
    }
}

}  // namespace

PendingFile::PendingFile(std::string path) : path_(std::move(path)) {
    CheckPathHasNoNul(path_);
    const std::string folder = FolderOf(path_).empty() ? std::string(".") : FolderOf(path_);
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    if (procMounted) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            return;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            RaiseFileError("Cannot write", path_, errno);
    }
    std::string pattern = TemporaryPattern(path_);
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        RaiseFileError("Cannot write", path_, errno);
    temporary_ = pattern;
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
}

PendingFile::~PendingFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void PendingFile::Finish() {
    if (temporary_.empty()) {
        // A new name is given in one step. An existing file is replaced by naming the unnamed file
        // beside it first and renaming that over it: a reader sees the old file or the new one,
        // never neither.
        const std::string source = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            int fd = fd_;
            fd_ = -1;
            if (::close(fd) != 0)
                RaiseFileError("Cannot write", path_, errno);
            return;
        }
        if (errno != EEXIST)
            RaiseFileError("Cannot write", path_, errno);
        for (int attempt = 0; temporary_.empty(); ++attempt) {
            std::string name = TemporaryPattern(path_);
            static std::atomic<unsigned> counter{0};
            const unsigned serial = static_cast<unsigned>(::getpid()) * 7919u + counter++;
            name.replace(name.size() - 6, 6, std::to_string(100000 + serial % 900000));
            if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                temporary_ = name;
            } else if (errno != EEXIST || attempt > 100) {
                RaiseFileError("Cannot write", path_, errno);
            }
        }
    }
    struct stat old {};
    if (::lstat(path_.c_str(), &old) == 0 && S_ISDIR(old.st_mode))
        RaiseFileError("Cannot write", path_, EISDIR);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        RaiseFileError("Cannot write", path_, errno);
    if (::rename(temporary_.c_str(), path_.c_str()) != 0)
        RaiseFileError("Cannot write", path_, errno);
    temporary_.clear();
}

void CheckPathHasNoNul(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        const std::string reason = "the path holds a NUL byte";
        throw EFileError("Cannot use \"" + ShowControlCharacters(path) + "\": " + reason, reason);
    }
}

std::string EntryKind(const std::string& path) {
    struct stat info {};
    if (path.find('\0') != std::string::npos || ::lstat(path.c_str(), &info) != 0)
        return "missing";
    return KindOf(info.st_mode);
}

std::string ReadFileBytes(const std::string& path) {
    struct stat info {};
    int fd = OpenRegularFile(path, "Cannot open", false, info);
    return ReadOpenFile(fd, path, info);
}

void ReadFileInBlocks(const std::string& path, size_t blockSize, const std::function<bool(std::string_view)>& take) {
    struct stat info {};
    const int fd = OpenRegularFile(path, "Cannot open", false, info);
    std::string block;
    try {
        // A small file needs no block larger than itself (one more byte sees its end at once).
        const size_t size = info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 4096;
        block.resize(std::max<size_t>(std::min(blockSize, size), 1));
        while (true) {
            size_t filled = 0;
            while (filled < block.size()) {
                const ssize_t got = ::read(fd, block.data() + filled, block.size() - filled);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    RaiseFileError("Cannot read", path, errno);
                if (got == 0)
                    break;
                filled += static_cast<size_t>(got);
            }
            if ((filled > 0 && !take(std::string_view(block.data(), filled))) || filled < block.size())
                break;
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

std::string ReadFileBytesIfExists(const std::string& path) {
    struct stat info {};
    int fd = OpenRegularFile(path, "Cannot open", true, info);
    if (fd < 0)
        return {};
    return ReadOpenFile(fd, path, info);
}

void PendingFile::Write(std::string_view bytes) {
    if (!WriteAll(fd_, bytes.data(), bytes.size()))
        RaiseFileError("Cannot write", path_, errno);
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    PendingFile file(path);
    file.Write(bytes);
    file.Finish();
}

void CopyFileBytes(const std::string& source, const std::string& target) {
    struct stat info {};
    int from = OpenRegularFile(source, "Cannot copy", false, info);
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && existing.st_dev == info.st_dev && existing.st_ino == info.st_ino) {
        ::close(from);
        return;
    }
    try {
        PendingFile file(target);
        bool readFailed = false;
        if (!CopyAll(from, file.Fd(), readFailed)) {
            int error = errno;
            if (readFailed)
                RaiseFileError("Cannot read", source, error);
            RaiseFileError("Cannot write", target, error);
        }
        ::fchmod(file.Fd(), info.st_mode & 0777);
        file.Finish();
    } catch (...) {
        ::close(from);
        throw;
    }
    ::close(from);
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::string target = path;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved.string();
    }
    std::string folder = FolderOf(target);
    std::string pattern = JoinPath(folder, "." + FileNameOf(target) + ".saving-XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        RaiseFileError("Cannot write", path, errno);
    std::string temporary(name.data());

    mode_t mode = 0666;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        RaiseFileError("Cannot write", path, error);
    }
}

void CreateFolders(const std::string& path) {
    CheckPathHasNoNul(path);
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec)
        throw EFileError("Cannot create the folder \"" + path + "\": " + ec.message(), ec.message());
}

void RemoveLinksInTree(const std::string& folder) {
    CheckPathHasNoNul(folder);
    auto removeLink = [](const fs::path& link) {
        if (::unlink(link.c_str()) != 0)
            RaiseFileError("Cannot remove the link", link.string(), errno);
    };
    std::error_code ec;
    if (fs::is_symlink(folder, ec)) {
        removeLink(folder);
        return;
    }
    if (!fs::is_directory(folder, ec))
        return;
    // The iterator does not follow links to folders, so it never leaves the tree.
    fs::recursive_directory_iterator it(folder, ec);
    if (ec)
        RaiseFileError("Cannot read the folder", folder, ec.message());
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec)
            RaiseFileError("Cannot read the folder", folder, ec.message());
        std::error_code kindError;
        if (it->is_symlink(kindError))
            removeLink(it->path());
    }
    if (ec)
        RaiseFileError("Cannot read the folder", folder, ec.message());
}

bool FileExists(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string WithTrailingSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + "/";
}

std::string FindFileNoCase(const std::string& folder, const std::string& name) {
    if (folder.find('\0') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    std::string exact = JoinPath(folder, name);
    if (FileExists(exact))
        return exact;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec);
    if (ec)
        return {};
    std::string best;
    for (const auto& entry : it) {
        std::string entryName = entry.path().filename().string();
        if (!SameText(entryName, name))
            continue;
        std::error_code statError;
        if (!entry.is_regular_file(statError))
            continue;
        // Several spellings: take the first in byte order, so the choice does not depend on the
        // order the folder lists them in.
        if (best.empty() || entryName < best)
            best = entryName;
    }
    return best.empty() ? std::string() : JoinPath(folder, best);
}

std::string ProgramDataFolder(const std::string& executableFolder) {
    if (FileExists(JoinPath(executableFolder, "default.lfx")))
        return executableFolder;
    const std::string installed =
        (fs::path(executableFolder) / ".." / "share" / "leafsmith").lexically_normal().string();
    if (FileExists(JoinPath(installed, "default.lfx")))
        return installed;
    return executableFolder;
}

std::string ExecutableFolder() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

bool IsInsideFolderOnDisk(const std::string& path, const std::string& folder) {
    if (path.find('\0') != std::string::npos || folder.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    fs::path base = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec)
        return false;
    fs::path candidate = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        return false;
    fs::path relative = candidate.lexically_relative(base);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace leafsmith
