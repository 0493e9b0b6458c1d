// Whole-file reading and writing, byte for byte.
//
// Every path handed to the system goes through here or through std::filesystem; a path that holds a
// NUL byte is refused, since the system would see only the part in front of it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace leafsmith {

// Reads the whole file. Only regular files are read: a folder, a named pipe or a device raises
// EFileError naming the file, as does a file that cannot be read or does not fit in memory.
std::string ReadFileBytes(const std::string& path);

// Reads the file in blocks of `blockSize` bytes (the last one shorter) and gives each to `take`,
// which returns false to stop reading. Raises EFileError as ReadFileBytes does.
void ReadFileInBlocks(const std::string& path, size_t blockSize, const std::function<bool(std::string_view)>& take);
// Like ReadFileBytes, but a file that does not exist reads as empty (other failures still raise).
std::string ReadFileBytesIfExists(const std::string& path);

// Writes an output file. What had the name before (a file, a link, a file with other names) is
// replaced, never written through, and the name shows the complete new bytes or nothing new: a
// failure or a killed process never leaves half a file under it. Raises EFileError naming the
// file and the reason. Creates no folder.
void WriteFileBytes(const std::string& path, std::string_view bytes);

// A new output file that gets its name only when it is complete. Where the file system allows, it
// has no name at all until then, so not even a killed process leaves anything behind; elsewhere it
// has a hidden temporary name beside the target. Finish renames it over whatever had the name (a
// link or a file with other names is replaced, never written through).
class PendingFile {
public:
    explicit PendingFile(std::string path);  // raises EFileError
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int Fd() const { return fd_; }       // open for reading and writing
    void Write(std::string_view bytes);  // raises EFileError
    const std::string& Path() const { return path_; }
    void Finish();  // raises EFileError

private:
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
};

// Copies one regular file the way WriteFileBytes writes, keeping its permission bits. Raises
// EFileError naming the file that could not be read or written and why. Copying a file onto itself
// does nothing.
void CopyFileBytes(const std::string& source, const std::string& target);

// Writes a temporary file beside `path` and renames it over the target, so a crash or a full
// disk never leaves the user's file half-written. Keeps the old file's permissions; a symbolic
// link is followed, so the file it points to is replaced and the link stays.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates the folder with every missing parent. Raises EFileError naming it on failure.
void CreateFolders(const std::string& path);

// Removes every symbolic link in the folder tree (the folder itself included when it is one), so
// that nothing written there later lands elsewhere. Raises EFileError naming a link that cannot be
// removed.
void RemoveLinksInTree(const std::string& folder);

bool FileExists(const std::string& path);  // a file (or link to one), not a folder
bool FolderExists(const std::string& path);

// Raises EFileError when the path holds a NUL byte.
void CheckPathHasNoNul(const std::string& path);

// What the entry at `path` is, for messages: "a folder", "a named pipe", "a device", "a socket",
// "a link", "a file", or "missing".
std::string EntryKind(const std::string& path);

// The folder part of a path, without a trailing "/" ("" for a bare name, "/" for the root).
std::string FolderOf(const std::string& path);
// The last component of a path.
std::string FileNameOf(const std::string& path);
// Joins a folder and a name with exactly one "/" between them; an empty folder gives the name.
std::string JoinPath(const std::string& folder, const std::string& name);
// Adds "/" unless the text is empty or already ends with one.
std::string WithTrailingSlash(const std::string& folder);

// Looks for `name` in `folder` without regard to ASCII case; prefers the exact spelling.
// Returns the full path of the file found, or "" when there is none.
std::string FindFileNoCase(const std::string& folder, const std::string& name);

// The folder of the program's data files for a program in `executableFolder`: that folder itself
// when the data lie beside the program (a build tree), else "../share/leafsmith" of an installed
// program when it holds them; the executable's folder when neither does.
std::string ProgramDataFolder(const std::string& executableFolder);
// The folder of the running executable.
std::string ExecutableFolder();

// True when `path`, with every link and "." or ".." resolved as far as the path exists, lies inside
// `folder` (or is it). Unlike a comparison of the text, a link that leads out is caught.
bool IsInsideFolderOnDisk(const std::string& path, const std::string& folder);

}  // namespace leafsmith
