// Small string, file and folder functions that the text model, the converter, the template groups
// and the format writers share. Positions count bytes from 1; 0 means not found.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith {

using StringList = std::vector<std::string>;

// Position of the first `needle` at or after `start` (both counted from 1), or 0.
size_t PosFrom(std::string_view needle, std::string_view text, size_t start);

// The pieces between separators, each trimmed; k separators give k + 1 pieces, empty ones
// included; an empty text gives an empty list.
StringList SplitTrim(std::string_view text, std::string_view separator);

std::string JoinList(const StringList& list, std::string_view separator);

struct NameValue {
    std::string Name;
    std::string Value;
};
// Splits at ":" with SplitTrim: the first piece is the name, the second the value (later pieces
// are dropped). An empty text gives an empty name and value.
NameValue SplitNameValue(std::string_view text);

// Removes every stretch from `startMarker` to the next `endMarker`, both included. A start marker
// without a later end marker stays, with everything after it.
std::string RemoveMarkedRanges(std::string_view text, std::string_view startMarker, std::string_view endMarker);

// "&" -> "&amp;", '"' -> "&quot;", "<" -> "&lt;", ">" -> "&gt;".
std::string EncodeHtml(std::string_view text);

// Deletes lines from the front while the first one is blank after trimming.
void DropLeadingBlankLines(StringList& lines);

bool IsInteger(std::string_view text);

// The file's lines (split at LF, CR LF or CR), each followed by CR LF. Raises EFileError.
std::string ReadTextFile(const std::string& path);
// Writes `text` as lines ended by CR LF (split at CR LF, CR or LF), replacing the file. Creates no
// folder. Raises EFileError on failure; returns true otherwise.
bool WriteTextFile(const std::string& path, std::string_view text);
// The text with every line break (LF, CR LF or CR) turned into CR LF and a CR LF after the last line.
std::string ToCrLfLines(std::string_view text);
// True when ToCrLfLines would give the text back unchanged.
bool IsCrLfText(std::string_view text);

// Deletes a folder with everything in it, permanently. Symbolic links inside are removed, never
// followed. Refuses an empty path and the root. Returns true on success.
bool DeleteFolderTree(const std::string& folder);

// Copies a folder with its contents, a file, or every file and folder that a wildcard pattern in
// the source's last component matches. Patterns match without regard to case and the Windows way:
// "*.*" takes every name, and "c*.*" every name beginning with c, with or without a dot. Existing
// files are replaced and missing folders created. A folder source goes into the target when the
// target is an existing folder, else becomes the target; a file goes into the target when that is
// an existing folder or ends with "/", else is written as the target. The target folder is never
// copied into itself. Files are written the way WriteFileBytes writes them, never through a link.
// Returns true when everything was copied.
bool CopyFolderTree(const std::string& source, const std::string& target);
// The same, but a failure raises EFileError naming the file and the reason; with `readsInside`
// set, a file (or a link's target) outside that folder is refused instead of copied.
void CopyFolderTreeOrRaise(const std::string& source, const std::string& target, const std::string& readsInside = {});

// Lets the window handle its pending events.
using EventHook = std::function<void()>;
// Waits at least `milliseconds`, calling `processEvents` (when set) all the while.
void WaitProcessing(int milliseconds, const EventHook& processEvents);

// The position (counted from 1) where a file name mask is broken, or 0 when it is sound: a "[" set
// needs its "]" and at least one character between them.
size_t InvalidMaskPosition(std::string_view mask);
// True when the whole `name` matches the mask: "*" any run, "?" any one character, "[a-c]" or "[!x]"
// one character from or not from a set; letters match without regard to case.
bool MatchesMask(const std::string& name, const std::string& mask);
// Calls `onFound` with the full path of every file in `folder` whose name matches `mask`, in the order
// the file system lists them; with `subfolders`, each sub-folder is searched where it is met. Links
// to folders are not followed. Raises EFileError naming a folder that cannot be read.
void FindFilesByMask(const std::string& folder, const std::string& mask, bool subfolders,
                     const std::function<void(const std::string&)>& onFound);

// True when `path`, once "." and ".." are resolved lexically, lies inside `folder` (or is it).
bool IsInsideFolder(const std::string& path, const std::string& folder);

}  // namespace leafsmith
