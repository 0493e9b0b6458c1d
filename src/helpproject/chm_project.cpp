#include "helpproject/chm_project.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/files.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "helpproject/help_compiler.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

std::string Hex(uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The file name part of a path written with either separator.
std::string BaseName(const std::string& path) {
    size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The name with its extension (from the last "." on) replaced, as ".chm" gives ".hhp".
std::string WithExtension(const std::string& name, const std::string& extension) {
    size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

constexpr const char* SkippedExtensions[] = {".hhp", ".hhc", ".hhk", ".log", ".chm", ".h"};

// Whether the file at `path`, if there is one, can be replaced: its folder takes new names and it is
// not a folder itself.
bool CanBeReplaced(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return true;
    return !S_ISDIR(info.st_mode) && ::access(FolderOf(path).empty() ? "." : FolderOf(path).c_str(), W_OK) == 0;
}

}  // namespace

void THelpProject::ComputeStyles() {
    struct Bit {
        bool On;
        uint32_t Value;
    };
    auto add = [](uint32_t start, std::initializer_list<Bit> bits) {
        for (const Bit& bit : bits)
            start += bit.On ? bit.Value : 0;
        return start;
    };
    NavigationStyle = add(0x2000, {{ShowMSDNMenu, 0x10000},
                                   {HideToolbar, 0x8000},
                                   {HideToolbarText, 0x40},
                                   {ShowPanesToolbar, 0x20},
                                   {AutoShowHide, 0x1},
                                   {AutoSync, 0x100},
                                   {Search, 0x20400},
                                   {Favorite, 0x1000},
                                   {SavePosition, 0x40000}});
    Buttons = add(0, {{Hide, 0x2},
                      {Locate, 0x800},
                      {Back, 0x4},
                      {bForward, 0x8},
                      {Stop, 0x10},
                      {Refresh, 0x20},
                      {Home, 0x40},
                      {Print, 0x2000},
                      {Option, 0x1000},
                      {Jump1, 0x40000},
                      {Jump2, 0x80000}});
    WindowStyle = Maximize ? 0x10B0000 : 0xB0000;
    ExWindowStyle = StayOnTop ? 0x8 : 0x0;
    TocStyle = add(0, {{AutoTrack, 0x200},
                       {SelectRow, 0x1000},
                       {PlusMinus, 0x1},
                       {ShowSelection, 0x20},
                       {ShowRoot, 0x4},
                       {DrawLines, 0x2},
                       {AutoExpand, 0x400},
                       {Border, 0x800000},
                       {DialogFrame, 0x400000}});
    TocExStyle = add(0, {{RightToLeft, 0x2000}, {LeftScroll, 0x4000}, {RaisedEdge, 0x100}, {SunkenEdge, 0x200}});
}

void THelpProject::ListFiles() {
    namespace fs = std::filesystem;
    Files.clear();
    const std::string pagesOnDisk = ReplaceAll(PagesDir, "\\", "/");
    const fs::path root = fs::path(ProjectDir) / pagesOnDisk;
    std::error_code ec;
    if (!fs::is_directory(root, ec))
        return;
    // Depth first, each folder listed where it is met; names in byte order, so the list is the
    // same on every run.
    struct Level {
        std::vector<fs::directory_entry> entries;
        size_t next = 0;
        std::string prefix;
    };
    std::vector<Level> stack;
    auto open = [&](const fs::path& folder, const std::string& prefix) {
        Level level;
        level.prefix = prefix;
        for (const auto& entry : fs::directory_iterator(folder, fs::directory_options::skip_permission_denied, ec)) {
            level.entries.push_back(entry);
        }
        std::sort(level.entries.begin(), level.entries.end(),
                  [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
        stack.push_back(std::move(level));
    };
    auto warn = [&](const std::string& relative, const std::string& reason) {
        if (LogCallback)
            LogCallback("Warning: " + ShowControlCharacters(relative) + " was left out of the help project: " + reason);
    };
    std::string prefix = ReplaceAll(PagesDir, "/", "\\");
    if (!prefix.empty() && prefix.back() != '\\')
        prefix += '\\';
    open(root, prefix);
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const fs::directory_entry entry = level.entries[level.next++];
        const std::string name = entry.path().filename().string();
        const std::string relative = level.prefix + name;
        // A line break in a name would become lines of the project file of their own.
        if (HasControlCharacter(name)) {
            warn(relative, "its name holds a control character.");
            continue;
        }
        std::error_code statError;
        if (entry.is_symlink(statError)) {
            warn(relative, "it is a link.");
            continue;
        }
        if (entry.is_directory(statError)) {
            open(entry.path(), relative + "\\");
            continue;
        }
        if (!entry.is_regular_file(statError))
            continue;
        std::string extension = AsciiLowerCase(entry.path().extension().string());
        bool skipped = false;
        for (const char* skip : SkippedExtensions)
            skipped = skipped || extension == skip;
        if (!skipped)
            Files.push_back(relative);
    }
}

std::string THelpProject::ContentsFileText() const {
    return Lines({"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
                  "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">", "<!-- Sitemap 1.0 -->",
                  "</HEAD>", "<BODY>", "   <OBJECT type=\"text/site properties\"> ",
                  "     <param name=\"FrameName\" value=\"right\">", "     <param name=\"WindowName\" value=\"main\">",
                  "     <param name=\"Font\" value=\"" + TocFont + "\">",
                  std::string("     <param name=\"ImageType\" value=\"") + (UseFolder ? "Folder" : "Book") + "\">",
                  "     <param name=\"Window Styles\" value=\"0x" + Hex(TocStyle) + "\">",
                  "     <param name=\"ExWindow Styles\" value=\"0x" + Hex(TocExStyle) + "\">", "   </OBJECT>"}) +
           TocBody + "\r\n" + Lines({"</BODY>", "</HTML>"});
}

std::string THelpProject::IndexFileText() const {
    return Lines({"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
                  "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">", "<!-- Sitemap 1.0 -->",
                  "</HEAD>", "<BODY>", "", "</BODY>", "</HTML>"});
}

std::string THelpProject::WindowDefinition() const {
    const std::string fields[] = {
        Quoted(Title),
        Quoted(ContentsFileName),
        Quoted(IndexFileName),
        Quoted(DefaultTopic),
        Quoted(DefaultTopic),
        Quoted(DefaultTopic),
        Quoted(""),
        "",
        "",
        "0x" + Hex(NavigationStyle),
        std::to_string(PaneWidth),
        "0x" + Hex(Buttons),
        "[" + std::to_string(Left) + "," + std::to_string(Top) + "," + std::to_string(int64_t{Left} + Width) + "," +
            std::to_string(int64_t{Top} + Height) + "]",
        "0x" + Hex(WindowStyle),
        "0x" + Hex(ExWindowStyle),
        "",
        ShowPane ? "0" : "1",
        std::to_string(DefaultTab),
        "",
        "0",
    };
    std::string definition;
    for (const std::string& field : fields)
        definition += field + ",";
    return definition;
}

std::string THelpProject::ProjectFileText() const {
    std::string text = Lines({"[OPTIONS]",
                              "Auto Index=Yes",
                              "Binary Index=No",
                              "Compatibility=1.1 or later",
                              "Compiled file=" + CompiledFile,
                              "Contents file=" + ContentsFileName,
                              "Default Font=" + Font,
                              "Default Window=main",
                              "Default topic=" + DefaultTopic,
                              "Display compile progress=No",
                              "Error log file=" + LogFileName,
                              "Full-text search=Yes",
                              "Index file=" + IndexFileName,
                              "Language=" + Language,
                              "Title=" + Title,
                              "",
                              "[WINDOWS]",
                              "main=" + WindowDefinition(),
                              "",
                              "[FILES]"});
    for (const std::string& file : Files)
        text += file + "\r\n";
    text += "\r\n";
    if (!AliasText.empty())
        text += Lines({"[ALIAS]", AliasText, ""});
    if (!MapText.empty())
        text += Lines({"[MAP]", "#include " + HeaderFileName, ""});
    return text;
}

bool THelpProject::Make(bool compile) {
    ComputeStyles();
    ListFiles();
    const std::string base = BaseName(CompiledFile);
    LogFileName = WithExtension(base, ".log");
    ContentsFileName = Content ? WithExtension(base, ".hhc") : std::string();
    IndexFileName = Index ? WithExtension(base, ".hhk") : std::string();
    HeaderFileName = MapText.empty() ? std::string() : WithExtension(base, ".h");
    ProjectFileName = WithExtension(base, ".hhp");

    if (Content)
        WriteFileBytes(ProjectDir + ContentsFileName, ContentsFileText());
    if (Index)
        WriteFileBytes(ProjectDir + IndexFileName, IndexFileText());
    if (!MapText.empty())
        WriteFileBytes(ProjectDir + HeaderFileName, ToCrLfLines(MapText));
    WriteFileBytes(ProjectDir + ProjectFileName, ProjectFileText());
    return !compile || Compile();
}

bool THelpProject::Compile() {
    const std::string target =
        !CompiledFile.empty() && CompiledFile.front() == '/' ? CompiledFile : ProjectDir + CompiledFile;
    // The old file stays until the new one is complete; one that could not be replaced then is asked
    // about now, before a compile that may take long.
    while (!CanBeReplaced(target)) {
        if (Questions == nullptr ||
            Questions->AskAbortRetry("\"" + target +
                                     "\" access denied! It's probably been opend. Please close it and Retry.") !=
                Answer::Retry) {
            if (LogCallback)
                LogCallback("The help file was not compiled: \"" + target + "\" cannot be replaced.");
            return false;
        }
    }
    return CompileHHPTo(ProjectDir + ProjectFileName, target, LogCallback, ProgressCallback, ProcessEvents).Compiled;
}

}  // namespace leafsmith
