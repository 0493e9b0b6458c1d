#include "chm/internal_files.h"

#include <algorithm>
#include <functional>

#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith::chm {

namespace {

constexpr std::uint32_t kBlock = 4096;

// Pads `out` with zeros so that `size` more bytes do not cross a 4 KiB boundary.
void KeepInBlock(std::string& out, size_t size) {
    const size_t used = out.size() % kBlock;
    if (size <= kBlock && used + size > kBlock)
        out.append(kBlock - used, '\0');
}

std::uint32_t NumberField(const HelpWindow& window, size_t field) {
    std::uint32_t value = 0;
    return window.Given(field) && ParseNumber(window.Fields[field], value) ? value : 0;
}

void PutString(std::string& out, std::uint16_t code, const std::string& text) {
    PutLe16(out, code);
    PutLe16(out, static_cast<std::uint16_t>(std::min<size_t>(text.size() + 1, 0xFFFF)));
    out.append(text, 0, std::min<size_t>(text.size(), 0xFFFE));
    out += '\0';
}

void PutDword(std::string& out, std::uint16_t code, std::uint32_t value) {
    PutLe16(out, code);
    PutLe16(out, 4);
    PutLe32(out, value);
}

}  // namespace

void PutLe16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutLe32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutLe64(std::string& out, std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

StringTable::StringTable() : bytes_(1, '\0') {}

std::uint32_t StringTable::Add(const std::string& text) {
    if (text.empty())
        return 0;
    auto found = offsets_.find(text);
    if (found != offsets_.end())
        return found->second;
    KeepInBlock(bytes_, text.size() + 1);
    const auto offset = static_cast<std::uint32_t>(bytes_.size());
    bytes_ += text;
    bytes_ += '\0';
    offsets_.emplace(text, offset);
    return offset;
}

std::string BuildSystemFile(const SystemInfo& info) {
    std::string out;
    PutLe32(out, 3);
    PutDword(out, 10, 0);  // time stamp: fixed, so that the same project gives the same file
    PutString(out, 9, info.CompilerVersion);
    PutLe16(out, 4);
    PutLe16(out, 36);
    PutLe32(out, info.LanguageId);
    PutLe32(out, info.Dbcs ? 1 : 0);
    PutLe32(out, info.FullTextSearch ? 1 : 0);
    PutLe32(out, 0);  // no keyword links
    PutLe32(out, 0);  // no associative links
    PutLe64(out, 0);
    PutLe32(out, 0);
    PutLe32(out, 0);
    if (!info.DefaultTopic.empty())
        PutString(out, 2, info.DefaultTopic);
    if (!info.Title.empty())
        PutString(out, 3, info.Title);
    if (!info.DefaultFont.empty())
        PutString(out, 16, info.DefaultFont);
    PutString(out, 6, info.CompiledFileStem);
    if (!info.DefaultWindow.empty())
        PutString(out, 5, info.DefaultWindow);
    if (!info.ContentsFile.empty())
        PutString(out, 0, info.ContentsFile);
    if (!info.IndexFile.empty())
        PutString(out, 1, info.IndexFile);
    return out;
}

std::string BuildWindowsFile(const std::vector<HelpWindow>& windows, StringTable& strings, bool oldRecords,
                             const std::function<std::string(const std::string&)>& encode) {
    const std::uint32_t recordSize = oldRecords ? 188 : 196;
    std::string out;
    PutLe32(out, static_cast<std::uint32_t>(windows.size()));
    PutLe32(out, recordSize);
    for (const HelpWindow& window : windows) {
        auto text = [&](size_t field) { return window.Given(field) ? strings.Add(encode(window.Fields[field])) : 0u; };
        // Which of the numeric fields the definition gives, as the window parameters name them.
        static const std::pair<size_t, std::uint32_t> kValidBits[] = {
            {9, 0x2},   {13, 0x4},   {14, 0x8},   {12, 0x10},  {10, 0x20},
            {15, 0x40}, {11, 0x100}, {16, 0x200}, {18, 0x400}, {17, 0x2000}};
        std::uint32_t valid = 0;
        for (auto [field, bit] : kValidBits) {
            if (window.Given(field))
                valid |= bit;
        }
        std::uint32_t rect[4] = {0, 0, 0, 0};
        if (window.Given(12)) {
            std::string inner = window.Fields[12];
            if (!inner.empty() && inner.front() == '[')
                inner = inner.substr(1, inner.size() - (inner.back() == ']' ? 2 : 1));
            std::vector<std::string> numbers = SplitTrim(inner, ",");
            for (size_t i = 0; i < 4 && i < numbers.size(); ++i)
                ParseNumber(numbers[i], rect[i]);
        }
        const size_t start = out.size();
        PutLe32(out, recordSize);
        PutLe32(out, 0);  // strings are not Unicode
        PutLe32(out, strings.Add(encode(window.Name)));
        PutLe32(out, valid);
        PutLe32(out, NumberField(window, 9));
        PutLe32(out, text(0));
        PutLe32(out, NumberField(window, 13));
        PutLe32(out, NumberField(window, 14));
        for (std::uint32_t side : rect)
            PutLe32(out, side);
        PutLe32(out, NumberField(window, 15));
        for (int handle = 0; handle < 6; ++handle)
            PutLe32(out, 0);
        PutLe32(out, NumberField(window, 10));
        for (int side = 0; side < 4; ++side)
            PutLe32(out, 0);
        PutLe32(out, text(1));
        PutLe32(out, text(2));
        PutLe32(out, text(3));
        PutLe32(out, text(4));
        PutLe32(out, NumberField(window, 11));
        PutLe32(out, NumberField(window, 16));
        PutLe32(out, NumberField(window, 17));
        PutLe32(out, NumberField(window, 18));
        PutLe32(out, NumberField(window, 19));
        out.append(20, '\0');  // tab order
        PutLe32(out, 0);       // history
        PutLe32(out, text(6));
        PutLe32(out, text(8));
        PutLe32(out, text(5));
        PutLe32(out, text(7));
        for (int side = 0; side < 4; ++side)
            PutLe32(out, 0);
        if (!oldRecords) {
            PutLe32(out, 0);
            PutLe32(out, 0);
        }
        out.resize(start + recordSize, '\0');
    }
    return out;
}

std::uint32_t UrlHash(const std::string& path) {
    std::uint32_t hash = 0;
    for (char byte : path) {
        const int c = static_cast<signed char>(byte);
        const int value = c == '/' ? 0x2C : c <= 'Z' ? c - 0x30 : c - 0x50;
        hash = hash * 43u + static_cast<std::uint32_t>(value);
    }
    return hash == 0 ? 1 : hash;
}

TopicTables BuildTopicTables(const std::vector<TopicEntry>& topics, StringTable& strings) {
    TopicTables tables;
    // Addresses first: every record whole inside one 4 KiB block.
    std::vector<std::uint32_t> urlOffsets(topics.size());
    tables.UrlStrings.assign(1, '\0');
    for (size_t i = 0; i < topics.size(); ++i) {
        KeepInBlock(tables.UrlStrings, 8 + topics[i].Path.size() + 1);
        urlOffsets[i] = static_cast<std::uint32_t>(tables.UrlStrings.size());
        PutLe32(tables.UrlStrings, 0);
        PutLe32(tables.UrlStrings, 0);
        tables.UrlStrings += topics[i].Path;
        tables.UrlStrings += '\0';
    }
    // The address table is sorted by hash, 341 records to a block.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order;  // hash, topic
    order.reserve(topics.size());
    for (size_t i = 0; i < topics.size(); ++i)
        order.emplace_back(UrlHash(topics[i].Path), static_cast<std::uint32_t>(i));
    std::sort(order.begin(), order.end());
    std::vector<std::uint32_t> tableOffsets(topics.size());
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && k % 341 == 0)
            PutLe32(tables.UrlTable, 0);
        tableOffsets[order[k].second] = static_cast<std::uint32_t>(tables.UrlTable.size());
        PutLe32(tables.UrlTable, order[k].first);
        PutLe32(tables.UrlTable, order[k].second);
        PutLe32(tables.UrlTable, urlOffsets[order[k].second]);
    }
    for (size_t i = 0; i < topics.size(); ++i) {
        const bool titled = !topics[i].Title.empty();
        PutLe32(tables.Topics, 0);
        PutLe32(tables.Topics, titled ? strings.Add(topics[i].Title) : 0xFFFFFFFFu);
        PutLe32(tables.Topics, tableOffsets[i]);
        PutLe16(tables.Topics, titled ? 6 : 2);
        PutLe16(tables.Topics, 0);
    }
    return tables;
}

std::string BuildContextTable(const std::vector<ContextEntry>& contexts) {
    std::string out;
    PutLe32(out, static_cast<std::uint32_t>(contexts.size() * 8));
    for (const ContextEntry& context : contexts) {
        PutLe32(out, context.Number);
        PutLe32(out, context.PathOffset);
    }
    return out;
}

}  // namespace leafsmith::chm
