// The compiler's own files inside a compiled help file: the string table, the system and window
// records, the topic and address tables, and the context-number table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "chm/help_project.h"

namespace leafsmith::chm {

// /#STRINGS: NUL-terminated strings referred to by their offset. Offset 0 is the empty string; equal
// strings are stored once; no string crosses a 4 KiB boundary, as readers load the table in blocks.
class StringTable {
public:
    StringTable();
    std::uint32_t Add(const std::string& text);  // text in the help file's code page, no NUL
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

// Appends a little-endian number.
void PutLe16(std::string& out, std::uint16_t value);
void PutLe32(std::string& out, std::uint32_t value);
void PutLe64(std::string& out, std::uint64_t value);

// What /#SYSTEM records; strings in the help file's code page, paths with "/" and no leading "/".
struct SystemInfo {
    std::uint32_t LanguageId = 0x409;
    bool FullTextSearch = false;
    bool Dbcs = false;
    std::string ContentsFile;
    std::string IndexFile;
    std::string DefaultTopic;
    std::string Title;
    std::string DefaultWindow;
    std::string CompiledFileStem;  // lower case, without ".chm"
    std::string DefaultFont;
    std::string CompilerVersion;
};
std::string BuildSystemFile(const SystemInfo& info);

// /#WINDOWS for the project's windows. `strings` receives the texts (already in the code page,
// converted by `encode`); `oldRecords` writes the shorter records of compatibility 1.0.
std::string BuildWindowsFile(const std::vector<HelpWindow>& windows, StringTable& strings, bool oldRecords,
                             const std::function<std::string(const std::string&)>& encode);

// One page of the help file as the topic tables list it.
struct TopicEntry {
    std::string Path;   // "html/1.htm": "/" separators, no leading "/", in the code page
    std::string Title;  // in the code page; "" when the page has none
};

struct TopicTables {
    std::string Topics;      // /#TOPICS
    std::string UrlTable;    // /#URLTBL
    std::string UrlStrings;  // /#URLSTR
};
TopicTables BuildTopicTables(const std::vector<TopicEntry>& topics, StringTable& strings);

// The hash of an address that /#URLTBL is sorted by.
std::uint32_t UrlHash(const std::string& path);

// /#IVB: context numbers with the #STRINGS offset of their page's path.
struct ContextEntry {
    std::uint32_t Number = 0;
    std::uint32_t PathOffset = 0;
};
std::string BuildContextTable(const std::vector<ContextEntry>& contexts);

}  // namespace leafsmith::chm
