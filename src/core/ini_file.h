// Our INI reader and writer, used for project files and template group descriptions.
//
// Reading rules: every line is trimmed; empty lines and lines beginning with ";" are skipped; a
// line "[name]" starts a section (name trimmed); lines before the first section are skipped; in a
// line with "=", the trimmed text before the first "=" is the key and the trimmed rest the value.
// Section and key names match without regard to ASCII case. When a key occurs twice in a section
// the first occurrence counts; a section that appears twice is read as one, its first lines first.
//
// Writing keeps sections and keys in the order they were first written and produces
// "[name]" CR LF, "key=value" CR LF for each key, then one empty line after every section.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace leafsmith {

class IniFile {
public:
    IniFile() = default;

    static IniFile Parse(std::string_view bytes);
    // A missing file reads as empty; a file that exists but cannot be read raises EFileError.
    static IniFile LoadIfExists(const std::string& path);

    bool SectionExists(std::string_view section) const;
    // The sections, and the keys of one section, in the order of the file.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;
    // The stored value, or nullptr when the key is absent.
    const std::string* Find(std::string_view section, std::string_view key) const;
    bool KeyExists(std::string_view section, std::string_view key) const { return Find(section, key) != nullptr; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view missing = {}) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything unreadable gives `missing`.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t missing) const;
    // A readable nonzero integer is true, zero is false, anything else gives `missing`.
    bool ReadBool(std::string_view section, std::string_view key, bool missing) const;

    // Replaces the value of an existing key in place, or appends the key to its section.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    void Clear();
    // The file's bytes. Raises ESettingError when a name or value holds a line break, which the
    // format cannot store (it would turn into lines of its own on reading).
    std::string Serialize() const;
    // Serialize, then write beside the target and rename over it.
    void SaveAtomically(const std::string& path) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, size_t> index;  // lower-case key -> first entry
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    Section& SectionForWriting(std::string_view name);
    static void AddEntry(Section& section, std::string_view key, std::string_view value, bool replace);

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> position
};

}  // namespace leafsmith
