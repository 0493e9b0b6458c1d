// Whole-file reading and writing, byte for byte.
#pragma once

#include <string>

namespace leafsmith {

// Reads the whole file. Raises EFileError naming the file when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Like ReadFileBytes, but a file that does not exist reads as empty (other failures still raise).
std::string ReadFileBytesIfExists(const std::string& path);

// Writes the file, replacing it. Raises EFileError on failure. Creates no folder.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Writes a temporary file beside `path` and renames it over the target, so a crash or a full
// disk never leaves the user's file half-written. Keeps the old file's permissions; a symbolic
// link is followed, so the file it points to is replaced and the link stays.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates the folder with every missing parent. Raises EFileError naming it on failure.
void CreateFolders(const std::string& path);

bool FileExists(const std::string& path);  // a file (or link to one), not a folder
bool FolderExists(const std::string& path);

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

}  // namespace leafsmith
