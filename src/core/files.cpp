#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    throw EFileError(what + " \"" + path + "\": " + SystemMessage(error), SystemMessage(error));
}

bool WriteAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
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

std::string ReadOpenFile(int fd, const std::string& path) {
    std::string bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.reserve(static_cast<size_t>(info.st_size));
    }
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
    ::close(fd);
    return bytes;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        RaiseFileError("Cannot open", path, errno);
    return ReadOpenFile(fd, path);
}

std::string ReadFileBytesIfExists(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        RaiseFileError("Cannot open", path, errno);
    }
    return ReadOpenFile(fd, path);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        RaiseFileError("Cannot write", path, errno);
    if (!WriteAll(fd, bytes)) {
        int error = errno;
        ::close(fd);
        RaiseFileError("Cannot write", path, error);
    }
    if (::close(fd) != 0)
        RaiseFileError("Cannot write", path, errno);
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
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec)
        throw EFileError("Cannot create the folder \"" + path + "\": " + ec.message(), ec.message());
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
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

}  // namespace leafsmith
