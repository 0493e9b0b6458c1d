#include "core/project_option.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <variant>

#include "core/errors.h"
#include "core/files.h"
#include "core/ini_file.h"
#include "core/strings.h"

namespace leafsmith {

namespace {

using P = TProjectOption;

constexpr const char* GeneralSection = "GENERAL";

struct TextKey {
    std::string P::*Member;
    bool Macro;
};
struct FlagKey {
    bool P::*Member;
};
struct NumberKey {
    int32_t P::*Member;
    int32_t Missing;
};
struct ListKey {
    StringList P::*Member;
};

struct GeneralKey {
    const char* Key;
    std::variant<TextKey, FlagKey, NumberKey, ListKey> Field;
};

// The keys of section GENERAL in the order the project file holds them.
const std::array<GeneralKey, 86> GeneralKeys = {{
    {"edtProjectTitle", TextKey{&P::ProjectTitle, false}},
    {"edtSourcePath", TextKey{&P::SourcePath, true}},
    {"edtDestFolder", TextKey{&P::DestFolder, false}},
    {"edtIncludePath", TextKey{&P::IncludePath, true}},
    {"rbBlock1", FlagKey{&P::SplitOneTopicPerFile}},
    {"rbOneOrMorePerFile", FlagKey{&P::OneOrMorePerFile}},
    {"rbBlock2", FlagKey{&P::SplitByBlankLines}},
    {"rbBlock3", FlagKey{&P::SplitByTagLines}},
    {"rbBlock4", FlagKey{&P::SplitByTitleTags}},
    {"cbFileNameTitle", FlagKey{&P::FileNameTitle}},
    {"edtAtLeast", NumberKey{&P::AtLeastBlankLines, 1}},
    {"edtLineSign", TextKey{&P::LineSign, false}},
    {"edtHeadSign", TextKey{&P::HeadSign, false}},
    {"cbUseLevelSigns", FlagKey{&P::UseLevelSigns}},
    {"rbNumOfSigns", FlagKey{&P::NumOfSigns}},
    {"rbLevelSign", FlagKey{&P::LevelSign}},
    {"edtAddOne", TextKey{&P::AddOneSign, false}},
    {"edtMinusOne", TextKey{&P::MinusOneSign, false}},
    {"edtBackTo", TextKey{&P::BackToRootSign, false}},
    {"lbFileList", ListKey{&P::FileList}},
    {"cbRemoveDup", FlagKey{&P::RemoveDuplicates}},
    {"cbEnableTextAnalysis", FlagKey{&P::EnableTextAnalysis}},
    {"cbHtmlEncode", FlagKey{&P::HtmlEncode}},
    {"cbHR", FlagKey{&P::HorizontalLines}},
    {"cbSubheading", FlagKey{&P::Subheadings}},
    {"cbIllustrativeTitle", FlagKey{&P::IllustrativeTitles}},
    {"cbTerms", FlagKey{&P::Terms}},
    {"cbReminders", FlagKey{&P::Reminders}},
    {"lbNotSubheadingEnds", ListKey{&P::NotSubheadingEnds}},
    {"seSubheadingMaxLen", NumberKey{&P::SubheadingMaxLen, 0}},
    {"lbIllustrativeEnds", ListKey{&P::IllustrativeEnds}},
    {"seIllustrativeTitleMaxLen", NumberKey{&P::IllustrativeTitleMaxLen, 0}},
    {"cbArrow", FlagKey{&P::ExpandableBlocks}},
    {"cbBullet", FlagKey{&P::Bullets}},
    {"cbNumbering", FlagKey{&P::Numbering}},
    {"edtArrowSign", TextKey{&P::ArrowSign, false}},
    {"edtBulletSign", TextKey{&P::BulletSign, false}},
    {"edtNumberingSign", TextKey{&P::NumberingSign, false}},
    {"edtJoinLines", TextKey{&P::JoinLinesSign, false}},
    {"lbTermsEnds", ListKey{&P::TermsEnds}},
    {"seTermsMaxLen", NumberKey{&P::TermsMaxLen, 0}},
    {"lbReminders", ListKey{&P::ReminderStarts}},
    {"cbEncoding", NumberKey{&P::EncodingIndex, 0}},
    {"edtExtension", TextKey{&P::FileExtension, false}},
    {"edtHead", TextKey{&P::FileNamePrefix, false}},
    {"seStart", NumberKey{&P::CounterStart, 0}},
    {"seLength", NumberKey{&P::CounterLength, 0}},
    {"cbLanguage", NumberKey{&P::LanguageIndex, 0}},
    {"cbFont", TextKey{&P::ContentsFont, false}},
    {"edtFontSize", TextKey{&P::ContentsFontSize, false}},
    {"cbCharacterSet", NumberKey{&P::CharacterSetIndex, 0}},
    {"cbChm", FlagKey{&P::OutputChm}},
    {"cbWebsite", FlagKey{&P::OutputWebsite}},
    {"cbEbook", FlagKey{&P::OutputEbook}},
    {"cbFAQ", FlagKey{&P::OutputFaq}},
    {"cbSingleHTML", FlagKey{&P::OutputSingleHtml}},
    {"edtOutDir", TextKey{&P::OutDir, false}},
    {"TempletChm", TextKey{&P::TempletChm, true}},
    {"TempletNoChm", NumberKey{&P::TempletNoChm, 0}},
    {"CHMFileName", TextKey{&P::CHMFileName, false}},
    {"CompileChm", FlagKey{&P::CompileChm}},
    {"PlusMinus", FlagKey{&P::PlusMinus}},
    {"StartFromRoot", FlagKey{&P::StartFromRoot}},
    {"DrawLine", FlagKey{&P::DrawLine}},
    {"FolderInsteadOfBook", FlagKey{&P::FolderInsteadOfBook}},
    {"AutoCollapse", FlagKey{&P::AutoCollapse}},
    {"OutputChmProject_WebSite", FlagKey{&P::OutputChmProject_WebSite}},
    {"TempletChm_WebSite", TextKey{&P::TempletChm_WebSite, true}},
    {"TempletNoChm_WebSite", NumberKey{&P::TempletNoChm_WebSite, 0}},
    {"CHMFileName_WebSite", TextKey{&P::CHMFileName_WebSite, false}},
    {"CompileChm_WebSite", FlagKey{&P::CompileChm_WebSite}},
    {"OutputChmProject_Ebook", FlagKey{&P::OutputChmProject_Ebook}},
    {"TempletChm_Ebook", TextKey{&P::TempletChm_Ebook, true}},
    {"TempletNoChm_Ebook", NumberKey{&P::TempletNoChm_Ebook, 0}},
    {"CHMFileName_Ebook", TextKey{&P::CHMFileName_Ebook, false}},
    {"CompileChm_Ebook", FlagKey{&P::CompileChm_Ebook}},
    {"TitleListStyle_Ebook", NumberKey{&P::TitleListStyle_Ebook, 0}},
    {"ApplyToJumpMenu_Ebook", FlagKey{&P::ApplyToJumpMenu_Ebook}},
    {"OutputChmProject_Faq", FlagKey{&P::OutputChmProject_Faq}},
    {"TempletChm_Faq", TextKey{&P::TempletChm_Faq, true}},
    {"TempletNoChm_Faq", NumberKey{&P::TempletNoChm_Faq, 0}},
    {"CHMFileName_Faq", TextKey{&P::CHMFileName_Faq, false}},
    {"CompileChm_Faq", FlagKey{&P::CompileChm_Faq}},
    {"TitleListStyle_Faq", NumberKey{&P::TitleListStyle_Faq, 0}},
    {"SingleHtmlFileName", TextKey{&P::SingleHtmlFileName, false}},
    {"MinusIsDefault", FlagKey{&P::MinusIsDefault}},
}};

struct WindowSection {
    const char* Name;
    TCHMProject P::*Window;
};

const std::array<WindowSection, 4> WindowSections = {{
    {"ChmCHMSetting", &P::ChmWindow},
    {"WebsiteCHMSetting", &P::WebsiteWindow},
    {"EbookCHMSetting", &P::EbookWindow},
    {"FaqCHMSetting", &P::FaqWindow},
}};

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

TProjectOption::TProjectOption(std::string setupDir) : SetupDir(std::move(setupDir)) {}

void TProjectOption::LoadFromFile(const std::string& path) {
    IniFile ini = IniFile::LoadIfExists(path);
    LoadFromIni(ini);
    ProjectFolder = FolderOf(path);
}

void TProjectOption::LoadFromIni(const IniFile& ini) {
    for (const GeneralKey& key : GeneralKeys) {
        std::visit(
            Overloaded{
                [&](const TextKey& field) {
                    std::string value = ini.ReadString(GeneralSection, key.Key);
                    this->*field.Member = field.Macro ? DecodePath(value) : value;
                },
                [&](const FlagKey& field) { this->*field.Member = ini.ReadBool(GeneralSection, key.Key, false); },
                [&](const NumberKey& field) {
                    this->*field.Member = ini.ReadInteger(GeneralSection, key.Key, field.Missing);
                },
                [&](const ListKey& field) { this->*field.Member = ReadList(GeneralSection, key.Key, ini); },
            },
            key.Field);
    }
    for (const WindowSection& section : WindowSections)
        ReadWindowOptions(this->*section.Window, ini, section.Name);
}

std::string TProjectOption::ToIniText() const {
    IniFile ini;
    for (const GeneralKey& key : GeneralKeys) {
        std::visit(Overloaded{
                       [&](const TextKey& field) {
                           const std::string& value = this->*field.Member;
                           ini.WriteString(GeneralSection, key.Key, field.Macro ? EncodePath(value) : value);
                       },
                       [&](const FlagKey& field) { ini.WriteBool(GeneralSection, key.Key, this->*field.Member); },
                       [&](const NumberKey& field) { ini.WriteInteger(GeneralSection, key.Key, this->*field.Member); },
                       [&](const ListKey& field) { WriteList(this->*field.Member, GeneralSection, ini, key.Key); },
                   },
                   key.Field);
    }
    for (const WindowSection& section : WindowSections)
        WriteWindowOptions(this->*section.Window, ini, section.Name);
    return ini.Serialize();
}

void TProjectOption::SaveToFile(const std::string& path) const {
    WriteFileAtomically(path, ToIniText());
}

void TProjectOption::ReadWindowOptions(TCHMProject& window, const IniFile& ini, const std::string& section) const {
    for (const auto& field : WindowNumberFields)
        window.*field.Member = ini.ReadInteger(section, field.Key, 0);
    for (const auto& field : WindowFlagFields)
        window.*field.Member = ini.ReadBool(section, field.Key, false);
    for (const auto& field : WindowStoredTextFields)
        window.*field.Member = ini.ReadString(section, field.Key);
}

void TProjectOption::WriteWindowOptions(const TCHMProject& window, IniFile& ini, const std::string& section) const {
    for (const auto& field : WindowNumberFields)
        ini.WriteInteger(section, field.Key, window.*field.Member);
    for (const auto& field : WindowFlagFields)
        ini.WriteBool(section, field.Key, window.*field.Member);
    for (const auto& field : WindowStoredTextFields)
        ini.WriteString(section, field.Key, window.*field.Member);
}

StringList TProjectOption::ReadList(const std::string& section, const std::string& name, const IniFile& ini) const {
    int32_t count = ini.ReadInteger(section, name, 0);
    StringList list;
    if (count <= 0 || count > MaxStoredListItems)
        return list;
    list.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        list.push_back(DecodePath(ini.ReadString(section, name + "." + std::to_string(i))));
    }
    return list;
}

void TProjectOption::WriteList(const StringList& list, const std::string& section, IniFile& ini,
                               const std::string& name) const {
    ini.WriteInteger(section, name, static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        ini.WriteString(section, name + "." + std::to_string(i), EncodePath(list[i]));
}

std::string TProjectOption::EncodePath(const std::string& text) const {
    return SetupDir.empty() ? text : ReplaceAll(text, SetupDir, "{SetupDir}");
}

std::string TProjectOption::DecodePath(const std::string& text) const {
    return ReplaceAll(text, "{SetupDir}", SetupDir);
}

std::string TProjectOption::ResolvePath(const std::string& path) const {
    if (path.empty() || path.front() == '/' || ProjectFolder.empty())
        return path;
    return JoinPath(ProjectFolder, path);
}

void TProjectOption::CheckNamesAndPaths() const {
    static const char* const PathKeys[] = {
        "edtSourcePath",    "edtDestFolder",     "edtIncludePath", "edtExtension",       "edtHead",
        "edtOutDir",        "TempletChm",        "CHMFileName",    "TempletChm_WebSite", "CHMFileName_WebSite",
        "TempletChm_Ebook", "CHMFileName_Ebook", "TempletChm_Faq", "CHMFileName_Faq",    "SingleHtmlFileName",
        "lbFileList",
    };
    for (const GeneralKey& key : GeneralKeys) {
        if (std::find_if(std::begin(PathKeys), std::end(PathKeys),
                         [&](const char* name) { return std::string_view(name) == key.Key; }) == std::end(PathKeys)) {
            continue;
        }
        auto refuse = [&](const std::string& value) {
            if (HasControlCharacter(value)) {
                throw ESettingError("The setting " + std::string(key.Key) + " of the project (\"" +
                                    ShowControlCharacters(value) +
                                    "\") holds a control character, which no file or folder name may hold.");
            }
        };
        if (const auto* text = std::get_if<TextKey>(&key.Field)) {
            refuse(this->*text->Member);
        } else if (const auto* list = std::get_if<ListKey>(&key.Field)) {
            for (const std::string& item : this->*list->Member)
                refuse(item);
        }
    }
}

bool TProjectOption::SameStoredValues(const TProjectOption& other) const {
    for (const GeneralKey& key : GeneralKeys) {
        bool same =
            std::visit([&](const auto& field) { return this->*field.Member == other.*field.Member; }, key.Field);
        if (!same)
            return false;
    }
    for (const WindowSection& section : WindowSections) {
        const TCHMProject& mine = this->*section.Window;
        const TCHMProject& theirs = other.*section.Window;
        if (!mine.IsSameAs(theirs))
            return false;
        for (const auto& field : WindowStoredTextFields) {
            if (mine.*field.Member != theirs.*field.Member)
                return false;
        }
    }
    return true;
}

}  // namespace leafsmith
