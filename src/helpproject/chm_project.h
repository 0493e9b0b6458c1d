// One HTML Help project: the options of its help window (stored in the project file, edited by
// the window designer) and, at build time, what a format writer hands over to write and compile it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace leafsmith {

class UserQuestions;

// Receives one message of the help compiler.
using CompileCallback = std::function<void(const std::string& message)>;

class TCHMProject {
public:
    TCHMProject() = default;

    // Copies the window options (numbers, flags and the five texts); build inputs stay as they are.
    void Assign(const TCHMProject& source);
    // Compares numbers, flags and TocFont; Title, Language, Font and DefaultTopic do not count.
    bool IsSameAs(const TCHMProject& other) const;

    // Window options, in the order of the project file.
    int32_t Top = 70;
    int32_t Left = 100;
    int32_t Height = 420;
    int32_t Width = 600;
    int32_t PaneWidth = 200;
    int32_t DefaultTab = 0;  // 0 Contents, 1 Index, 2 Search, 3 Favorite

    bool ShowMSDNMenu = false;
    bool ShowPanesToolbar = true;
    bool ShowPane = true;
    bool HideToolbar = false;
    bool HideToolbarText = false;
    bool StayOnTop = false;
    bool Maximize = false;
    bool Hide = true;
    bool Locate = true;
    bool Back = true;
    bool bForward = true;
    bool Stop = true;
    bool Refresh = true;
    bool Home = true;
    bool Print = true;
    bool Option = true;
    bool Jump1 = false;
    bool Jump2 = false;
    bool AutoShowHide = false;
    bool AutoSync = false;
    bool Content = true;
    bool Index = true;
    bool Search = true;
    bool Favorite = true;
    bool UseFolder = false;
    bool AutoTrack = false;
    bool SelectRow = false;
    bool PlusMinus = true;
    bool ShowSelection = true;
    bool ShowRoot = true;
    bool DrawLines = true;
    bool AutoExpand = false;
    bool RightToLeft = false;
    bool LeftScroll = false;
    bool Border = false;
    bool DialogFrame = false;
    bool RaisedEdge = false;
    bool SunkenEdge = false;
    bool SavePosition = false;

    std::string TocFont = ",8,0";  // never stored; nothing changes it
    std::string Title;
    std::string Language;
    std::string Font;
    std::string DefaultTopic;

    // Writes the project, contents, index and alias files into ProjectDir (CR LF lines, paths with
    // backslashes as the formats show them) and, when `compile` is set, compiles the project. A
    // compiled file that cannot be replaced is asked about through Questions (Abort skips the
    // compile). Raises EFileError when a file cannot be written. Returns false when a compile was
    // asked for and no new help file was written (the log callback has said why).
    bool Make(bool compile);
    // Compiles the project file that Make wrote into CompiledFile, keeping an old file until the new
    // one is complete. Returns true when the new file is in place.
    bool Compile();
    // The four files as Make writes them.
    std::string ProjectFileText() const;
    std::string ContentsFileText() const;
    std::string IndexFileText() const;
    std::string WindowDefinition() const;
    void ComputeStyles();
    // Fills Files with the regular files under the pages folder. A name that holds a control
    // character, and a link, are left out with a warning through LogCallback.
    void ListFiles();

    // Build inputs, set by a format writer before Make; not stored.
    CompileCallback LogCallback;
    CompileCallback ProgressCallback;
    UserQuestions* Questions = nullptr;
    std::string ProjectDir;    // folder of the project files, with a trailing "/"
    std::string PagesDir;      // pages folder relative to ProjectDir, as written in the project ("html\\")
    std::string CompiledFile;  // .chm name relative to ProjectDir, or an absolute path
    std::string TocBody;
    std::string AliasText;
    std::string MapText;

    // Computed by Make.
    uint32_t Buttons = 0;
    uint32_t NavigationStyle = 0;
    uint32_t WindowStyle = 0;
    uint32_t ExWindowStyle = 0;
    uint32_t TocStyle = 0;
    uint32_t TocExStyle = 0;
    std::vector<std::string> Files;
    std::string ProjectFileName;
    std::string ContentsFileName;
    std::string IndexFileName;
    std::string HeaderFileName;
    std::string LogFileName;
};

struct WindowNumberField {
    const char* Key;
    int32_t TCHMProject::*Member;
};
struct WindowFlagField {
    const char* Key;
    bool TCHMProject::*Member;
};
struct WindowTextField {
    const char* Key;
    std::string TCHMProject::*Member;
};

// The stored window options in project-file order: numbers, then flags, then texts.
extern const std::array<WindowNumberField, 6> WindowNumberFields;
extern const std::array<WindowFlagField, 39> WindowFlagFields;
extern const std::array<WindowTextField, 4> WindowStoredTextFields;  // Title, Language, Font, DefaultTopic

}  // namespace leafsmith
