// The options of one help window (position, size, panes, toolbar buttons, navigation tabs, contents
// tree style) that a project stores for each format that can write an HTML Help project. The window
// designer edits them; a build hands them to the help project it writes (THelpProject).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace leafsmith {

class TCHMProject {
public:
    TCHMProject() = default;

    // Copies the window options (numbers, flags and the five texts); nothing else of a derived object.
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
