// Every option of one project, and the project file (".lfx", an INI file) that stores them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/chm_window.h"

namespace leafsmith {

class IniFile;
using StringList = std::vector<std::string>;

class TProjectOption {
public:
    // `setupDir` is the program's own folder, without a trailing "/". Every other field starts as
    // 0, false or empty; the four help windows start with their constructor defaults.
    explicit TProjectOption(std::string setupDir = {});

    // Reads every stored option; a key that is absent or unreadable takes its missing value, so
    // a load never keeps an earlier value. A missing file loads as an empty one. A file that
    // exists but cannot be read raises EFileError and changes nothing. Sets ProjectFolder.
    void LoadFromFile(const std::string& path);
    void LoadFromIni(const IniFile& ini);
    // Writes every option, replacing the whole file through a temporary file and a rename, so a
    // failed save leaves the old file as it was. Raises EFileError or ESettingError (a value with a
    // line break, which the format cannot hold). Changes nothing in memory.
    void SaveToFile(const std::string& path) const;
    std::string ToIniText() const;

    void ReadWindowOptions(TCHMProject& window, const IniFile& ini, const std::string& section) const;
    void WriteWindowOptions(const TCHMProject& window, IniFile& ini, const std::string& section) const;
    StringList ReadList(const std::string& section, const std::string& name, const IniFile& ini) const;
    void WriteList(const StringList& list, const std::string& section, IniFile& ini, const std::string& name) const;

    // The "{SetupDir}" macro: the program folder in stored paths, so a project moved together with
    // the program finds its files again.
    std::string EncodePath(const std::string& text) const;
    std::string DecodePath(const std::string& text) const;

    // A relative path is taken from the project file's folder; an absolute one stays as it is.
    std::string ResolvePath(const std::string& path) const;

    // Raises ESettingError naming the first setting that names a file or folder (the paths, the page
    // file name parts, the help file names, the text file list) and holds a control character: no
    // name can hold one, and a NUL byte would cut the path short where the system reads it.
    void CheckNamesAndPaths() const;

    // True when every stored option (the window sections included) is equal.
    bool SameStoredValues(const TProjectOption& other) const;

    std::string SetupDir;
    std::string ProjectFolder;  // not stored: the folder of the project file last loaded

    std::string ProjectTitle;
    std::string SourcePath;
    std::string DestFolder;
    std::string IncludePath;
    bool SplitOneTopicPerFile = false;
    bool OneOrMorePerFile = false;
    bool SplitByBlankLines = false;
    bool SplitByTagLines = false;
    bool SplitByTitleTags = false;
    bool FileNameTitle = false;
    int32_t AtLeastBlankLines = 0;
    std::string LineSign;
    std::string HeadSign;
    bool UseLevelSigns = false;
    bool NumOfSigns = false;
    bool LevelSign = false;
    std::string AddOneSign;
    std::string MinusOneSign;
    std::string BackToRootSign;
    StringList FileList;
    bool RemoveDuplicates = false;
    bool EnableTextAnalysis = false;
    bool HtmlEncode = false;
    bool HorizontalLines = false;
    bool Subheadings = false;
    bool IllustrativeTitles = false;
    bool Terms = false;
    bool Reminders = false;
    StringList NotSubheadingEnds;
    int32_t SubheadingMaxLen = 0;
    StringList IllustrativeEnds;
    int32_t IllustrativeTitleMaxLen = 0;
    StringList TermsEnds;
    int32_t TermsMaxLen = 0;
    StringList ReminderStarts;
    bool ExpandableBlocks = false;
    bool Bullets = false;
    bool Numbering = false;
    std::string ArrowSign;
    std::string BulletSign;
    std::string NumberingSign;
    std::string JoinLinesSign;
    int32_t EncodingIndex = 0;
    std::string FileExtension;
    std::string FileNamePrefix;
    int32_t CounterStart = 0;
    int32_t CounterLength = 0;
    int32_t LanguageIndex = 0;
    std::string ContentsFont;
    std::string ContentsFontSize;
    int32_t CharacterSetIndex = 0;
    bool OutputChm = false;
    bool OutputWebsite = false;
    bool OutputEbook = false;
    bool OutputFaq = false;
    bool OutputSingleHtml = false;
    std::string OutDir;
    TCHMProject ChmWindow;
    TCHMProject WebsiteWindow;
    TCHMProject EbookWindow;
    TCHMProject FaqWindow;
    std::string TempletChm;
    int32_t TempletNoChm = 0;
    std::string CHMFileName;
    bool CompileChm = false;
    bool PlusMinus = false;
    bool StartFromRoot = false;
    bool DrawLine = false;
    bool FolderInsteadOfBook = false;
    bool AutoCollapse = false;
    bool OutputChmProject_WebSite = false;
    std::string TempletChm_WebSite;
    int32_t TempletNoChm_WebSite = 0;
    std::string CHMFileName_WebSite;
    bool CompileChm_WebSite = false;
    bool OutputChmProject_Ebook = false;
    std::string TempletChm_Ebook;
    int32_t TempletNoChm_Ebook = 0;
    std::string CHMFileName_Ebook;
    bool CompileChm_Ebook = false;
    int32_t TitleListStyle_Ebook = 0;
    bool ApplyToJumpMenu_Ebook = false;
    bool OutputChmProject_Faq = false;
    std::string TempletChm_Faq;
    int32_t TempletNoChm_Faq = 0;
    std::string CHMFileName_Faq;
    bool CompileChm_Faq = false;
    int32_t TitleListStyle_Faq = 0;
    std::string SingleHtmlFileName;
    bool MinusIsDefault = false;
};

// A list count above this reads as missing: no real project has that many entries, and a
// damaged file must not make the program allocate without bound.
constexpr int32_t MaxStoredListItems = 1000000;

}  // namespace leafsmith
