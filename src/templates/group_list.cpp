#include "templates/group_list.h"

#include <unistd.h>

#include <cstdlib>

#include "core/files.h"
#include "core/ini_file.h"
#include "core/strings.h"

namespace leafsmith {

namespace {

constexpr const char* Macro = "{SetupDir}";

std::string Section(size_t number) {
    return "TemplatesGroup" + std::to_string(number);
}

std::string DefaultUserFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return JoinPath(config, "leafsmith");
    const char* home = std::getenv("HOME");
    return JoinPath(JoinPath(home && *home ? home : "/tmp", ".config"), "leafsmith");
}

bool Writable(const std::string& file) {
    if (FileExists(file))
        return ::access(file.c_str(), W_OK) == 0 && ::access(FolderOf(file).c_str(), W_OK) == 0;
    return ::access(FolderOf(file).c_str(), W_OK) == 0;
}

}  // namespace

TGroupList::TGroupList(std::string setupDir, std::string userFolder)
    : SetupDir(std::move(setupDir)), userFolder_(userFolder.empty() ? DefaultUserFolder() : std::move(userFolder)) {
    path_ = ProgramPath();
}

std::string TGroupList::ProgramPath() const {
    return JoinPath(SetupDir, "templates.ini");
}

std::string TGroupList::UserPath() const {
    return JoinPath(userFolder_, "templates.ini");
}

void TGroupList::Load() {
    path_ = FileExists(UserPath()) ? UserPath() : ProgramPath();
    const IniFile ini = IniFile::LoadIfExists(path_);
    Groups.clear();
    for (size_t number = 1; ini.SectionExists(Section(number)); ++number) {
        TemplateGroupEntry entry;
        entry.On = ini.ReadString(Section(number), "On") == "1";
        entry.Name = ini.ReadString(Section(number), "TemplatesGroupName");
        entry.Position = ReplaceAll(ini.ReadString(Section(number), "Position"), Macro, SetupDir);
        Groups.push_back(std::move(entry));
    }
}

void TGroupList::Save() {
    IniFile ini;
    for (size_t i = 0; i < Groups.size(); ++i) {
        const TemplateGroupEntry& entry = Groups[i];
        ini.WriteString(Section(i + 1), "On", entry.On ? "1" : "0");
        ini.WriteString(Section(i + 1), "TemplatesGroupName", entry.Name);
        ini.WriteString(Section(i + 1), "Position",
                        SetupDir.empty() ? entry.Position : ReplaceAll(entry.Position, SetupDir, Macro));
    }
    if (!InUserFolder() && !Writable(path_)) {
        CreateFolders(userFolder_);
        path_ = UserPath();
    }
    ini.SaveAtomically(path_);
}

}  // namespace leafsmith
