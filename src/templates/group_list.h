// The program's list of known template groups: "templates.ini" in the program's data folder, with
// sections TemplatesGroup1, TemplatesGroup2, ... and the program's folder written as "{SetupDir}".
#pragma once

#include <string>
#include <vector>

namespace leafsmith {

struct TemplateGroupEntry {
    bool On = true;
    std::string Name;
    std::string Position;  // the group's folder, "{SetupDir}" expanded
};

class TGroupList {
public:
    // `setupDir` is the program's data folder; `userFolder` where the list is kept when that
    // folder cannot be written ("" for the user's configuration folder, ~/.config/leafsmith).
    explicit TGroupList(std::string setupDir, std::string userFolder = {});

    // Reads the list: the user's copy when there is one, else the program's. Reading stops at the
    // first missing section number. A missing file gives an empty list; EFileError when unreadable.
    void Load();
    // Writes the list again, numbered from 1 without gaps, through a temporary file. Where the
    // program's folder cannot be written (an installed program), the list goes to the user's copy,
    // which every later Load reads, so no registered group is lost. Raises EFileError.
    void Save();
    // Where Load read the list from and Save writes it.
    const std::string& FilePath() const { return path_; }
    // True when the list lives in the user's configuration folder instead of the program's.
    bool InUserFolder() const { return path_ == UserPath(); }

    std::string ProgramPath() const;
    std::string UserPath() const;

    std::vector<TemplateGroupEntry> Groups;
    std::string SetupDir;

private:
    std::string userFolder_;
    std::string path_;
};

}  // namespace leafsmith
