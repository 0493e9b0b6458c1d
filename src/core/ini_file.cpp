#include "core/ini_file.h"

#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"

namespace leafsmith {

IniFile IniFile::Parse(std::string_view bytes) {
    IniFile ini;
    Section* current = nullptr;
    bytes = SkipUtf8Bom(bytes);
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = TrimView(bytes.substr(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;

        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = &ini.SectionForWriting(TrimView(line.substr(1, line.size() - 2)));
            continue;
        }
        if (current == nullptr)
            continue;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        AddEntry(*current, TrimView(line.substr(0, equals)), TrimView(line.substr(equals + 1)), false);
    }
    return ini;
}

IniFile IniFile::LoadIfExists(const std::string& path) {
    return Parse(ReadFileBytesIfExists(path));
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    auto it = sectionIndex_.find(AsciiLowerCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(AsciiLowerCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::SectionForWriting(std::string_view name) {
    if (Section* found = FindSection(name))
        return *found;
    sectionIndex_.emplace(AsciiLowerCase(name), sections_.size());
    sections_.push_back(Section{std::string(name), {}, {}});
    return sections_.back();
}

void IniFile::AddEntry(Section& section, std::string_view key, std::string_view value, bool replace) {
    auto [it, added] = section.index.emplace(AsciiLowerCase(key), section.entries.size());
    if (added) {
        section.entries.push_back(Entry{std::string(key), std::string(value)});
    } else if (replace) {
        section.entries[it->second].value = std::string(value);
    }
}

bool IniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries)
            names.push_back(entry.key);
    }
    return names;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return nullptr;
    auto it = found->index.find(AsciiLowerCase(key));
    return it == found->index.end() ? nullptr : &found->entries[it->second].value;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view missing) const {
    const std::string* value = Find(section, key);
    return value ? *value : std::string(missing);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t missing) const {
    const std::string* value = Find(section, key);
    if (value == nullptr)
        return missing;
    return ParseInt32(*value).value_or(missing);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool missing) const {
    const std::string* value = Find(section, key);
    if (value == nullptr)
        return missing;
    std::optional<int32_t> number = ParseInt32(*value);
    return number ? *number != 0 : missing;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    AddEntry(SectionForWriting(section), key, value, true);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::Clear() {
    sections_.clear();
    sectionIndex_.clear();
}

namespace {

void RejectLineBreak(std::string_view text, const std::string& where) {
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        throw ESettingError("The value of " + where +
                            " holds a line break, which the file cannot store; remove it and save again.");
    }
}

}  // namespace

std::string IniFile::Serialize() const {
    std::string out;
    for (const Section& section : sections_) {
        RejectLineBreak(section.name, "the section name [" + section.name + "]");
        out += '[';
        out += section.name;
        out += "]\r\n";
        for (const Entry& entry : section.entries) {
            RejectLineBreak(entry.key, "a key in [" + section.name + "]");
            RejectLineBreak(entry.value, entry.key + " in [" + section.name + "]");
            out += entry.key;
            out += '=';
            out += entry.value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

void IniFile::SaveAtomically(const std::string& path) const {
    WriteFileAtomically(path, Serialize());
}

}  // namespace leafsmith
