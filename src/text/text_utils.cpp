#include "text/text_utils.h"

#include <fnmatch.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"

namespace leafsmith {

namespace fs = std::filesystem;

size_t PosFrom(std::string_view needle, std::string_view text, size_t start) {
    if (start < 1 || start > text.size())
        return 0;
    size_t hit = text.find(needle, start - 1);
    return hit == std::string_view::npos ? 0 : hit + 1;
}

StringList SplitTrim(std::string_view text, std::string_view separator) {
    StringList pieces;
    if (text.empty())
        return pieces;
    if (separator.empty()) {
        pieces.push_back(Trim(text));
        return pieces;
    }
    size_t start = 0;
    while (true) {
        size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) {
            pieces.push_back(Trim(text.substr(start)));
            return pieces;
        }
        pieces.push_back(Trim(text.substr(start, hit - start)));
        start = hit + separator.size();
    }
}

std::string JoinList(const StringList& list, std::string_view separator) {
    std::string joined;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            joined.append(separator);
        joined.append(list[i]);
    }
    return joined;
}

NameValue SplitNameValue(std::string_view text) {
    StringList pieces = SplitTrim(text, ":");
    NameValue result;
    if (!pieces.empty())
        result.Name = pieces[0];
    if (pieces.size() > 1)
        result.Value = pieces[1];
    return result;
}

std::string RemoveMarkedRanges(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
    if (startMarker.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t start = text.find(startMarker, pos);
        if (start == std::string_view::npos)
            break;
        size_t end = endMarker.empty() ? std::string_view::npos : text.find(endMarker, start + startMarker.size());
        if (end == std::string_view::npos)
            break;
        result.append(text, pos, start - pos);
        pos = end + endMarker.size();
    }
    result.append(text, pos);
    return result;
}

std::string EncodeHtml(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
            case '&':
                result += "&amp;";
                break;
            case '"':
                result += "&quot;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

void DropLeadingBlankLines(StringList& lines) {
    size_t blank = 0;
    while (blank < lines.size() && TrimView(lines[blank]).empty())
        ++blank;
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(blank));
}

bool IsInteger(std::string_view text) {
    return ParseInt32(text, true).has_value();
}

std::string ToCrLfLines(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            result += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += c;
        }
    }
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        result += "\r\n";
    return result;
}

std::string ReadTextFile(const std::string& path) {
    return ToCrLfLines(ReadFileBytes(path));
}

bool IsCrLfText(std::string_view text) {
    if (!text.empty() && text.back() != '\n')
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at) {
        if (at == begin || at[-1] != '\r')
            return false;
    }
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\r', end - at))); ++at) {
        if (at + 1 == end || at[1] != '\n')
            return false;
    }
    return true;
}

bool WriteTextFile(const std::string& path, std::string_view text) {
    // Pages are mostly in CR LF already; those are written as they are, without a copy.
    if (IsCrLfText(text)) {
        WriteFileBytes(path, text);
    } else {
        WriteFileBytes(path, ToCrLfLines(text));
    }
    return true;
}

bool DeleteFolderTree(const std::string& folder) {
    if (TrimView(folder).empty() || folder.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec).lexically_normal();
    if (ec || absolute == absolute.root_path())
        return false;
    fs::remove_all(folder, ec);
    return !ec;
}

namespace {

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

// Windows patterns know only "*" and "?"; brackets are plain characters there.
std::string ToFnmatchPattern(std::string_view pattern) {
    std::string result;
    for (char c : pattern) {
        if (c == '[') {
            result += "[[]";
        } else {
            result += c;
        }
    }
    return result;
}

bool MatchesWindowsPattern(const std::string& name, std::string_view pattern) {
    const int flags = FNM_NOESCAPE | FNM_CASEFOLD;
    if (::fnmatch(ToFnmatchPattern(pattern).c_str(), name.c_str(), flags) == 0)
        return true;
    // "name.*" also takes names without any extension, as on Windows.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        return ::fnmatch(ToFnmatchPattern(pattern.substr(0, pattern.size() - 2)).c_str(), name.c_str(), flags) == 0;
    }
    return false;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

[[noreturn]] void RaiseCopyError(const fs::path& path, const std::string& reason) {
    throw EFileError("Cannot copy \"" + ShowControlCharacters(path.string()) + "\": " + reason, reason);
}

class TreeCopier {
public:
    explicit TreeCopier(std::string readsInside) : readsInside_(std::move(readsInside)) {}

    void CopyFile(const fs::path& source, const fs::path& target) {
        if (!readsInside_.empty() && !IsInsideFolderOnDisk(source.string(), readsInside_))
            RaiseCopyError(source, "it lies outside the folder \"" + readsInside_ + "\"");
        if (target.has_parent_path())
            CreateFolders(target.parent_path().string());
        CopyFileBytes(source.string(), target.string());
    }

    // Copies the contents of `source` into `target`, never descending into `exclude` (the folder
    // that receives the copy, which may lie inside the source).
    void CopyTree(const fs::path& source, const fs::path& target, const fs::path& exclude) {
        CreateFolders(target.string());
        std::error_code ec;
        fs::recursive_directory_iterator it(source, ec);
        if (ec)
            RaiseCopyError(source, ec.message());
        for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (ec)
                RaiseCopyError(source, ec.message());
            const fs::directory_entry& entry = *it;
            const fs::path destination = target / entry.path().lexically_relative(source);
            std::error_code statError;
            if (entry.is_symlink(statError)) {
                // Links to files are copied as files; links to folders are left out, since following
                // them can lead in circles.
                if (fs::is_regular_file(entry.path(), statError))
                    CopyFile(entry.path(), destination);
                continue;
            }
            if (entry.is_directory(statError)) {
                if (SameFile(entry.path(), exclude)) {
                    it.disable_recursion_pending();
                    continue;
                }
                CreateFolders(destination.string());
            } else {
                CopyFile(entry.path(), destination);
            }
        }
        if (ec)
            RaiseCopyError(source, ec.message());
    }

    void CopyEntry(const fs::path& source, const fs::path& destination, const fs::path& exclude) {
        std::error_code ec;
        if (fs::is_directory(source, ec)) {
            if (!SameFile(source, exclude))
                CopyTree(source, destination, exclude);
            return;
        }
        CopyFile(source, destination);
    }

private:
    std::string readsInside_;
};

}  // namespace

void CopyFolderTreeOrRaise(const std::string& source, const std::string& target, const std::string& readsInside) {
    CheckPathHasNoNul(source);
    CheckPathHasNoNul(target);
    TreeCopier copier(readsInside);
    std::error_code ec;
    std::string lastComponent = FileNameOf(source);
    if (HasWildcard(lastComponent)) {
        std::string parent = FolderOf(source);
        const std::string folder = parent.empty() ? std::string(1, '.') : std::move(parent);
        if (!fs::is_directory(folder, ec))
            RaiseCopyError(source, "the folder \"" + folder + "\" is " + EntryKind(folder));
        std::vector<fs::path> matches;
        fs::directory_iterator it(folder, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            // A folder that holds the target would be copied into itself: leave it out.
            if (MatchesWindowsPattern(it->path().filename().string(), lastComponent) &&
                !IsInsideFolder(target, it->path().string())) {
                matches.push_back(it->path());
            }
        }
        if (ec)
            RaiseCopyError(folder, ec.message());
        CreateFolders(target);
        std::sort(matches.begin(), matches.end());
        for (const fs::path& match : matches)
            copier.CopyEntry(match, fs::path(target) / match.filename(), target);
        return;
    }
    fs::path from(source);
    if (!from.has_filename())
        from = from.parent_path();
    if (fs::is_directory(from, ec)) {
        fs::path destination = fs::is_directory(target, ec) ? fs::path(target) / from.filename() : fs::path(target);
        copier.CopyEntry(from, destination, destination);
        return;
    }
    if (EntryKind(from.string()) == "missing")
        RaiseCopyError(from, "it does not exist");
    bool intoFolder = fs::is_directory(target, ec) || (!target.empty() && target.back() == '/');
    copier.CopyFile(from, intoFolder ? fs::path(target) / from.filename() : fs::path(target));
}

bool CopyFolderTree(const std::string& source, const std::string& target) {
    try {
        CopyFolderTreeOrRaise(source, target);
        return true;
    } catch (const EFileError&) {
        return false;
    }
}

void WaitProcessing(int milliseconds, const EventHook& processEvents) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    while (true) {
        if (processEvents)
            processEvents();
        auto now = Clock::now();
        if (now >= end)
            return;
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(10)));
    }
}

size_t InvalidMaskPosition(std::string_view mask) {
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] != '[')
            continue;
        size_t first = i + 1;
        if (first < mask.size() && mask[first] == '!')
            ++first;
        size_t close = mask.find(']', first + 1);
        if (first >= mask.size() || close == std::string_view::npos)
            return i + 1;
        i = close;
    }
    return 0;
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    return ::fnmatch(mask.c_str(), name.c_str(), FNM_NOESCAPE | FNM_CASEFOLD) == 0;
}

void FindFilesByMask(const std::string& folder, const std::string& mask, bool subfolders,
                     const std::function<void(const std::string&)>& onFound) {
    CheckPathHasNoNul(folder);
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "/" : folder, ec);
    if (ec)
        throw EFileError("Cannot read the folder \"" + folder + "\": " + ec.message(), ec.message());
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            throw EFileError("Cannot read the folder \"" + folder + "\": " + ec.message(), ec.message());
        std::error_code kindError;
        const std::string path = it->path().string();
        if (it->is_directory(kindError) && !it->is_symlink(kindError)) {
            if (subfolders)
                FindFilesByMask(path, mask, true, onFound);
        } else if (MatchesMask(it->path().filename().string(), mask)) {
            onFound(path);
        }
    }
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    std::error_code ec;
    fs::path base = fs::absolute(folder, ec).lexically_normal();
    if (ec)
        return false;
    if (!base.has_filename() && base != base.root_path())
        base = base.parent_path();
    fs::path candidate = fs::absolute(path, ec).lexically_normal();
    if (ec)
        return false;
    fs::path relative = candidate.lexically_relative(base);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace leafsmith
