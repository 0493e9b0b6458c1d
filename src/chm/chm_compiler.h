// Our HTML Help compiler: turns a help project (.hhp, its pages, contents and index) into a
// compiled help file (.chm).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chm/help_project.h"

namespace leafsmith::chm {

struct CompileCounts {
    std::size_t Pages = 0;       // HTML pages, each a topic
    std::size_t OtherFiles = 0;  // pictures, style sheets ...
    std::size_t ContentsEntries = 0;
    std::size_t IndexEntries = 0;
    std::size_t ContextIds = 0;
    std::size_t SearchWords = 0;  // distinct words in the search index
    std::uint64_t ContentBytes = 0;
    std::uint64_t FileBytes = 0;  // size of the compiled file
};

struct CompileCallbacks {
    std::function<void(const std::string&)> Warning;   // one "Warning: ..." line at a time
    std::function<void(const std::string&)> Progress;  // what is compiled, counts
    std::function<void()> ProcessEvents;               // called at least every 50 ms or so while it works
    unsigned Threads = 0;                              // 0: one per core
};

// The version this compiler writes into the files it makes.
std::string CompilerVersion();

// Compiles `project` into `target`. The file is written whole under a name of its own and renamed
// over `target` at the end, so a reader never sees half a file and a compile that cannot finish
// leaves the old file as it was. Raises ELeafsmithError (EFileError for files) saying why it could
// not finish.
CompileCounts CompileHelpProject(const HelpProject& project, const std::string& target,
                                 const CompileCallbacks& callbacks);

}  // namespace leafsmith::chm
