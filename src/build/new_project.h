// New projects from the command line, and what a hand-written project leaves out.
#pragma once

#include <string>
#include <vector>

namespace leafsmith {

class IniFile;

struct StarterProject {
    std::string ProjectFile;  // DIR/<folder name>.lfx
    std::string TextFile;     // DIR/topics.txt
};

// Writes a new project into `folder` (made when missing): the program's default project with the
// folder's name as title, the text file "topics.txt" with a few sample topics, and "out" beside
// them as output folder. Raises ESettingError, and writes nothing, when either file exists.
StarterProject CreateStarterProject(const std::string& folder, const std::string& setupDir);

// "[section] key" of every setting that `defaults` has and `project` lacks.
std::vector<std::string> MissingProjectKeys(const IniFile& project, const IniFile& defaults);

}  // namespace leafsmith
