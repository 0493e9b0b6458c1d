// The HTML Help compiler: Free Pascal's chmcmd, run as a child process. This layer works around
// chmcmd's faults on a cleaned temporary copy of the project file; the files we write never change
// for the compiler's sake.
#pragma once

#include <string>
#include <vector>

#include "helpproject/chm_project.h"

namespace leafsmith {

struct CompileResult {
    bool CompilerFound = false;
    bool Compiled = false;  // a readable .chm was written
    std::string ChmPath;
};

// Compiles the help project at `projectPath` with the project's folder as current directory and
// hands every message to the callbacks, one line at a time: errors, warnings and hints to `log`,
// the other lines to `progress`. The program is $LEAFSMITH_CHMCMD, else chmcmd from the PATH; when
// none can be run, one line says so and nothing is compiled. A failed compile leaves no broken
// .chm behind and says why.
CompileResult CompileHHP(const std::string& projectPath, const CompileCallback& log, const CompileCallback& progress);

// The project file as chmcmd can take it: alias values and file fields with "/", aliases and
// context numbers of pages that are not compiled left out, the alias header's lines in place of its
// #include, missing files left out. Warnings say what was left out.
struct CleanedProject {
    std::string Text;
    std::vector<std::string> Warnings;
    std::string CompiledFile;  // as the project names it, with "/"
    std::string ErrorLogFile;  // as the project names it, with "/"
};
CleanedProject CleanProjectForChmcmd(const std::string& projectText, const std::string& projectFolder);

// chmcmd points the "first listing chunk" of the archive directory at the wrong chunk once there
// are more than about 150 entries, and readers that list everything then miss entries. Sets it
// to the listing chunk that has no predecessor. Returns false when the file is not a CHM archive.
bool FixFirstListingChunk(const std::string& chmPath);

}  // namespace leafsmith
