#include "build/new_project.h"

#include <filesystem>

#include "core/errors.h"
#include "core/files.h"
#include "core/ini_file.h"
#include "core/project_option.h"
#include "core/strings.h"

namespace leafsmith {

namespace {

// Topics separated by {Para} lines, {>} and {<} moving a level down and up, as the default
// project splits them.
constexpr const char* SampleText =
    "Welcome\r\n"
    "This is the first topic of your project. Its first line is its title; the lines after it are its text.\r\n"
    "\r\n"
    "Change this file, or add text files to the project, and build again.\r\n"
    "{Para}\r\n"
    "{>}\r\n"
    "Writing topics\r\n"
    "A line that holds only {Para} ends a topic. A line {>} before a title makes the topic a subtopic of\r\n"
    "the one before it, and a line {<} goes back up one level.\r\n"
    "{Para}\r\n"
    "Lists\r\n"
    "* A line that starts with a star is a list item.\r\n"
    "* So is this one.\r\n"
    "{Para}\r\n"
    "{<}\r\n"
    "Building\r\n"
    "leafsmith-build writes a help file, a website, an e-book, a FAQ page and a single page into the\r\n"
    "folder \"out\" beside the project.\r\n";

}  // namespace

StarterProject CreateStarterProject(const std::string& folder, const std::string& setupDir) {
    const std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
    std::string name = absolute.filename().string();
    if (name.empty())
        name = absolute.parent_path().filename().string();
    if (name.empty() || HasControlCharacter(name))
        name = "project";
    StarterProject project{JoinPath(absolute.string(), name + ".lfx"), JoinPath(absolute.string(), "topics.txt")};
    for (const std::string& path : {project.ProjectFile, project.TextFile}) {
        if (EntryKind(path) != "missing") {
            throw ESettingError("\"" + path +
                                "\" already exists; a new project is made only where it replaces nothing.");
        }
    }
    const std::string defaults = JoinPath(setupDir, "default.lfx");
    if (!FileExists(defaults))
        throw EFileError("The program's default project \"" + defaults + "\" is " + EntryKind(defaults) + ".",
                         EntryKind(defaults));
    TProjectOption options(setupDir);
    options.LoadFromFile(defaults);
    options.ProjectTitle = name;
    options.FileList = {"topics.txt"};
    options.OutDir = "out";
    CreateFolders(absolute.string());
    WriteFileBytes(project.TextFile, SampleText);
    options.SaveToFile(project.ProjectFile);
    return project;
}

std::vector<std::string> MissingProjectKeys(const IniFile& project, const IniFile& defaults) {
    std::vector<std::string> missing;
    for (const std::string& section : defaults.SectionNames()) {
        for (const std::string& key : defaults.KeyNames(section)) {
            // The entries of a list ("name.3") come and go with the list's own count.
            const size_t dot = key.rfind('.');
            const bool listEntry = dot != std::string::npos && dot + 1 < key.size() &&
                                   key.find_first_not_of("0123456789", dot + 1) == std::string::npos;
            if (listEntry ? !project.KeyExists(section, key.substr(0, dot)) : !project.KeyExists(section, key))
                missing.push_back("[" + section + "] " + key);
        }
    }
    return missing;
}

}  // namespace leafsmith
