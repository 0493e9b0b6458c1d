#include "templates/template_group.h"

#include "core/files.h"
#include "core/ini_file.h"
#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

constexpr const char* General = "GENERAL";
constexpr const char* Common = "COMMON";

StringList ReadTemplateList(const IniFile& ini, const std::string& section, const char* key) {
    std::string value = ini.ReadString(section, key);
    StringList entries;
    if (value.empty())
        return entries;
    size_t start = 0;
    while (true) {
        size_t semicolon = value.find(';', start);
        entries.push_back(Trim(std::string_view(value).substr(
            start, semicolon == std::string::npos ? std::string::npos : semicolon - start)));
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    return entries;
}

TTemplate ReadTemplate(const IniFile& ini, const std::string& section) {
    TTemplate templ;
    templ.Name = ini.ReadString(section, "Name");
    templ.ContentTemplates = ini.ReadString(section, "ContentTemplates");
    templ.OtherTemplates = ReadTemplateList(ini, section, "OtherTemplates");
    templ.CopyFiles = ReadTemplateList(ini, section, "CopyFiles");
    templ.Default = ini.ReadString(section, "Default");
    templ.SampleImage = ini.ReadString(section, "SampleImage");
    templ.IconDir = ini.ReadString(section, "IconDir");
    templ.Type = ini.ReadInteger(section, "Type", -1);
    return templ;
}

void WriteTemplate(IniFile& ini, const std::string& section, const TTemplate& templ) {
    ini.WriteString(section, "Name", templ.Name);
    ini.WriteString(section, "ContentTemplates", templ.ContentTemplates);
    ini.WriteString(section, "OtherTemplates", JoinList(templ.OtherTemplates, ";"));
    ini.WriteString(section, "CopyFiles", JoinList(templ.CopyFiles, ";"));
    ini.WriteString(section, "Default", templ.Default);
    ini.WriteString(section, "SampleImage", templ.SampleImage);
    ini.WriteString(section, "IconDir", templ.IconDir);
    ini.WriteInteger(section, "Type", templ.Type);
}

std::string SectionOfTemplate(int32_t number) {
    return "Template" + std::to_string(number);
}

}  // namespace

std::string TemplateTypeName(int32_t type) {
    switch (type) {
        case ChmTemplate:
            return "CHM";
        case WebsiteTemplate:
            return "Website";
        case EbookTemplate:
            return "Ebook";
        case FaqTemplate:
            return "FAQ";
        default:
            return {};
    }
}

void TTempletGroup::LoadFromFolder(const std::string& folder, bool inherit) {
    InheritCommon = inherit;
    LoadFromFile(WithTrailingSlash(folder) + "Templates.ini");
}

void TTempletGroup::LoadFromFile(const std::string& path) {
    ChmCount = WebsiteCount = EbookCount = FaqCount = 0;
    std::string found = FileExists(path) ? path : FindFileNoCase(FolderOf(path), FileNameOf(path));
    if (found.empty())
        throw ECantFindTemplateIni(path);
    LoadFromIni(IniFile::Parse(ReadFileBytes(found)), found);
}

void TTempletGroup::LoadFromIni(const IniFile& ini, const std::string& path) {
    ChmCount = WebsiteCount = EbookCount = FaqCount = 0;
    IniFileName = path;
    GroupName = ini.ReadString(General, "GroupName");
    Author = ini.ReadString(General, "Author");
    Email = ini.ReadString(General, "Email");
    Website = ini.ReadString(General, "Website");

    const size_t commonIndex = Templates.size();
    Templates.push_back(ReadTemplate(ini, Common));
    const std::string folder = WithTrailingSlash(FolderOf(IniFileName));
    for (int32_t n = 1; ini.SectionExists(SectionOfTemplate(n)); ++n) {
        TTemplate templ = ReadTemplate(ini, SectionOfTemplate(n));
        const TTemplate& common = Templates[commonIndex];
        int32_t type = templ.Type == -1 ? common.Type : templ.Type;
        switch (type) {
            case ChmTemplate:
                ++ChmCount;
                break;
            case WebsiteTemplate:
                ++WebsiteCount;
                break;
            case EbookTemplate:
                ++EbookCount;
                break;
            case FaqTemplate:
                ++FaqCount;
                break;
            default:
                break;
        }
        templ.TypeName = TemplateTypeName(type);
        if (InheritCommon)
            ApplyCommon(templ);
        templ.SampleImagePath = templ.SampleImage.empty() ? JoinPath(SetupDir, "nopic.bmp")
                                                          : folder + ReplaceAll(templ.SampleImage, "\\", "/");
        templ.Caption = templ.Name.empty() ? "[Template" + std::to_string(n) + "]" : templ.Name;
        Templates.push_back(std::move(templ));
    }
}

void TTempletGroup::ApplyCommon(TTemplate& templ) const {
    if (Templates.empty())
        return;
    const TTemplate& common = Templates[0];
    if (&templ == &common)
        return;
    for (std::string TTemplate::*field : {&TTemplate::Name, &TTemplate::ContentTemplates, &TTemplate::Default,
                                          &TTemplate::SampleImage, &TTemplate::IconDir}) {
        if ((templ.*field).empty())
            templ.*field = common.*field;
    }
    if (templ.Type == -1)
        templ.Type = common.Type;
    templ.OtherTemplates.insert(templ.OtherTemplates.end(), common.OtherTemplates.begin(), common.OtherTemplates.end());
    templ.CopyFiles.insert(templ.CopyFiles.end(), common.CopyFiles.begin(), common.CopyFiles.end());
}

std::string TTempletGroup::ToIniText() const {
    IniFile ini;
    ini.WriteInteger(General, "TemplatesNumber", Count() - 1);
    ini.WriteString(General, "GroupName", GroupName);
    ini.WriteString(General, "Author", Author);
    ini.WriteString(General, "Email", Email);
    ini.WriteString(General, "Website", Website);
    for (int32_t n = 0; n < Count(); ++n)
        WriteTemplate(ini, n == 0 ? Common : SectionOfTemplate(n), Items(n));
    return ini.Serialize();
}

void TTempletGroup::SaveToFile() const {
    WriteFileAtomically(IniFileName, ToIniText());
}

void TTempletGroup::NewGroup(const std::string& path) {
    IniFileName = path;
    AddNew();
}

void TTempletGroup::Clear() {
    Templates.clear();
    IniFileName.clear();
    Author.clear();
    Email.clear();
    Website.clear();
}

void TTempletGroup::AddNew() {
    Templates.emplace_back();
}

int32_t TTempletGroup::Add(TTemplate templ) {
    Templates.push_back(std::move(templ));
    return Count() - 1;
}

void TTempletGroup::Delete(int32_t index) {
    Templates.erase(Templates.begin() + index);
}

}  // namespace leafsmith
