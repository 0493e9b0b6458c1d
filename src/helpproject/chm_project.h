// One HTML Help project at build time: the options of its help window (TCHMProject) and what a format
// writer hands over to write and compile it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/chm_window.h"

namespace leafsmith {

class UserQuestions;

// Receives one message of the help compiler.
using CompileCallback = std::function<void(const std::string& message)>;

class THelpProject : public TCHMProject {
public:
    THelpProject() = default;
    // A project with the given window options; the build inputs start empty.
    explicit THelpProject(const TCHMProject& window) { Assign(window); }

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
    std::function<void()> ProcessEvents;  // lets a window handle its events during the compile
    std::string ProjectDir;               // folder of the project files, with a trailing "/"
    std::string PagesDir;                 // pages folder relative to ProjectDir, as written in the project ("html\\")
    std::string CompiledFile;             // .chm name relative to ProjectDir, or an absolute path
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

}  // namespace leafsmith
