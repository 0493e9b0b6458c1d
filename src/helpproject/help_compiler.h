// The HTML Help compiler layer. By default it compiles with our own compiler (src/chm); on request
// it runs Free Pascal's chmcmd as a child process instead, working around chmcmd's faults on a
// cleaned temporary copy of the project file (the files we write never change for its sake).
#pragma once

#include <string>
#include <vector>

#include "helpproject/chm_project.h"
#include "text/text_utils.h"

namespace leafsmith {

struct CompileResult {
    bool CompilerFound = false;
    bool Compiled = false;  // a readable .chm was written
    std::string ChmPath;
};

// Which compiler runs: ours, or chmcmd. By default chmcmd runs only when $LEAFSMITH_CHMCMD names it.
enum class HelpCompilerChoice { Default, Leafsmith, Chmcmd };
void ChooseHelpCompiler(HelpCompilerChoice choice);  // for the whole process
bool UsesChmcmd();

// Compiles the help project at `projectPath` and hands every message to the callbacks, one line at a
// time: errors and warnings to `log`, the other lines to `progress`. With chmcmd, the program is
// $LEAFSMITH_CHMCMD, else chmcmd from the PATH, run in the project's folder; when none can be run,
// one line says so and nothing is compiled.
//
// The compiled file is the one the project names, which must lie inside the project's folder. It
// is compiled under a temporary name beside the target and renamed over it only once it is
// complete, so a failed or interrupted compile leaves the old file as it was; a file that is not a
// compiled help file is never replaced. chmcmd runs under a guard process that stops it and removes
// every temporary file when this process dies, however it dies; our compiler writes an unnamed file
// that vanishes with the process. While it compiles it calls `processEvents` (when set) every 50 ms
// or so; an exception from it stops the compile and leaves the old file as it was.
CompileResult CompileHHP(const std::string& projectPath, const CompileCallback& log, const CompileCallback& progress,
                         const EventHook& processEvents = {});

// The same, but the compiled file goes to `target`, a path the caller chose (it may lie outside the
// project's folder), instead of the one the project names.
CompileResult CompileHHPTo(const std::string& projectPath, const std::string& target, const CompileCallback& log,
                           const CompileCallback& progress, const EventHook& processEvents = {});

// True when a compiled help file may be put at `path`: nothing is there, or a regular file that is
// empty or already a compiled help file.
bool MayReplaceWithHelpFile(const std::string& path);

// The project file as chmcmd can take it: the first of repeated keys only, alias values and file
// fields with "/", aliases and context numbers of pages that are not compiled left out, the alias
// header's lines in place of its #include, missing files and files outside the project's folder
// left out. Warnings say what was left out. With `compiledFile` set, the copy names that file as the
// one to write.
struct CleanedProject {
    std::string Text;
    std::vector<std::string> Warnings;
    std::string CompiledFile;  // as the project names it, with "/"
    std::string ErrorLogFile;  // as the project names it, with "/"
};
CleanedProject CleanProjectForChmcmd(const std::string& projectText, const std::string& projectFolder,
                                     const std::string& compiledFile = {});

// chmcmd points the "first listing chunk" of the archive directory at the wrong chunk once there
// are more than about 150 entries, and readers that list everything then miss entries. Sets it
// to the listing chunk that has no predecessor. Returns false when the file is not a CHM archive.
bool FixFirstListingChunk(const std::string& chmPath);

}  // namespace leafsmith
