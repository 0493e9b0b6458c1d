// An HTML Help project file (.hhp) as the compiler reads it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace leafsmith::chm {

// One window definition of [WINDOWS]: the name before "=" and the fields after it, each trimmed,
// with quotation marks removed and "\" turned into "/" in the file fields. An empty field is "".
struct HelpWindow {
    std::string Name;
    std::vector<std::string> Fields;  // Fields[0] is the caption, [1] the contents file ... as written
    bool Given(size_t field) const { return field < Fields.size() && !Fields[field].empty(); }
};

struct ContextNumber {
    std::string Name;
    std::uint32_t Number = 0;
};

struct HelpProject {
    std::string Path;                            // the project file
    std::string Folder;                          // its folder, absolute
    std::map<std::string, std::string> Options;  // [OPTIONS], keys in lower case, the first of repeated keys
    std::vector<HelpWindow> Windows;
    std::vector<std::string> Files;              // [FILES] that exist inside the folder, "/" separators
    std::map<std::string, std::string> Aliases;  // [ALIAS] name -> page with "/" separators
    std::vector<ContextNumber> ContextNumbers;   // [MAP], includes resolved, in order
    std::vector<std::string> Warnings;           // what was left out and why, one line each

    // An option's value, "" when not given; `key` in lower case.
    std::string Option(const std::string& key) const;
    bool OptionIsYes(const std::string& key) const;
    // An option that names a file, with "/" separators ("" when not given).
    std::string FileOption(const std::string& key) const;
};

// Reads the project file. Files named in it must lie inside its folder (also once links are
// followed); others, and missing files, are left out with a warning that names the project line.
// Raises EFileError when the project file cannot be read.
HelpProject ReadHelpProject(const std::string& path);

// A number in C syntax: decimal or 0x hexadecimal, with an optional U or L suffix.
bool ParseNumber(std::string_view text, std::uint32_t& value);

// The language id of a "Language=" value ("0x407 German (Germany)"); 0x409 when the value gives none.
std::uint32_t LanguageIdOf(const std::string& value);

// True when `relative` names a regular file inside `folder`, also once links are followed.
bool IsFileInsideFolder(const std::string& folder, const std::string& relative);
// True when a path the project names (relative to `folder`, or absolute) leads out of `folder`,
// by "..", an absolute path or a link.
bool LeadsOutsideFolder(const std::string& folder, const std::string& path);

}  // namespace leafsmith::chm
