// A template group: a folder of page templates described by its "templates.ini".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/errors.h"

namespace leafsmith {

class IniFile;
using StringList = std::vector<std::string>;

class ECantFindTemplateIni : public ELeafsmithError {
public:
    explicit ECantFindTemplateIni(const std::string& path) : ELeafsmithError("Unable to find file \"" + path + "\".") {}
};

// Format codes of the Type key.
enum TemplateType : int32_t { ChmTemplate = 0, WebsiteTemplate = 1, EbookTemplate = 2, FaqTemplate = 3 };

class TTemplate {
public:
    std::string Name;
    std::string ContentTemplates;  // the page rendered once per topic, relative to the group folder
    StringList OtherTemplates;     // "source" or "source:destination"
    StringList CopyFiles;          // "source" or "source:destination"; sources may hold wildcards
    std::string Default;
    std::string SampleImage;
    std::string IconDir;
    int32_t Type = 0;  // -1 when the key is absent (then the COMMON type counts)

    // Derived while loading; never saved.
    std::string Caption;
    std::string TypeName;
    std::string SampleImagePath;
};

class TTempletGroup {
public:
    // `setupDir` is the program's folder, where templates without a sample picture find "nopic.bmp".
    explicit TTempletGroup(std::string setupDir = {}) : SetupDir(std::move(setupDir)) {}

    // Loads "<folder>/Templates.ini" (the name is matched without regard to case).
    void LoadFromFolder(const std::string& folder, bool inherit);
    // Appends COMMON and Template1..n from the description file. Raises ECantFindTemplateIni when
    // there is no such file (a name differing only in case is accepted), EFileError when it
    // cannot be read.
    void LoadFromFile(const std::string& path);
    void LoadFromIni(const IniFile& ini, const std::string& path);
    // Writes the group to IniFileName through a temporary file. Raises EFileError or ESettingError.
    void SaveToFile() const;
    std::string ToIniText() const;

    void NewGroup(const std::string& path);
    void Clear();
    void AddNew();
    int32_t Add(TTemplate templ);
    void Delete(int32_t index);
    int32_t Count() const { return static_cast<int32_t>(Templates.size()); }
    TTemplate& Items(int32_t index) { return Templates[static_cast<size_t>(index)]; }
    const TTemplate& Items(int32_t index) const { return Templates[static_cast<size_t>(index)]; }
    // Fills the template's empty values from COMMON and appends COMMON's list entries to its own.
    void ApplyCommon(TTemplate& templ) const;

    std::string SetupDir;
    std::string IniFileName;
    bool InheritCommon = false;
    std::string GroupName;
    std::string Author;
    std::string Email;
    std::string Website;
    std::vector<TTemplate> Templates;  // 0 is COMMON, n is section Template n
    int32_t ChmCount = 0;
    int32_t WebsiteCount = 0;
    int32_t EbookCount = 0;
    int32_t FaqCount = 0;
};

// "CHM", "Website", "Ebook", "FAQ", or "" for any other code.
std::string TemplateTypeName(int32_t type);

}  // namespace leafsmith
