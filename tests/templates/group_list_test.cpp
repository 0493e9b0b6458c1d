#include "templates/group_list.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(GroupList, ReadsUntilTheFirstGapAndWritesNumberedAgainWithTheMacro) {
    TempFolder folder;
    WriteFile(folder / "setup/templates.ini",
              "[TemplatesGroup1]\nOn=1\nTemplatesGroupName=Classic\nPosition={SetupDir}/Templates/Classic\n"
              "[TemplatesGroup2]\nTemplatesGroupName=Mine\nPosition=/home/me/group\n"
              "[TemplatesGroup4]\nOn=1\nTemplatesGroupName=Lost\nPosition=/x\n");
    TGroupList list(folder / "setup", folder / "user");
    list.Load();
    ASSERT_EQ(list.Groups.size(), 2u);
    EXPECT_EQ(list.Groups[0].Position, folder / "setup/Templates/Classic");
    EXPECT_FALSE(list.Groups[1].On);  // absent counts as off
    list.Groups.erase(list.Groups.begin());
    list.Save();
    EXPECT_EQ(ReadFile(folder / "setup/templates.ini"),
              "[TemplatesGroup1]\r\nOn=0\r\nTemplatesGroupName=Mine\r\nPosition=/home/me/group\r\n\r\n");
    list.Groups.push_back({true, "Here", folder / "setup/Templates/Here"});
    list.Save();
    EXPECT_NE(ReadFile(folder / "setup/templates.ini").find("Position={SetupDir}/Templates/Here"), std::string::npos);
}

TEST(GroupList, AnInstalledProgramKeepsTheListInTheUsersFolder) {
    TempFolder folder;
    WriteFile(folder / "setup/templates.ini",
              "[TemplatesGroup1]\nOn=1\nTemplatesGroupName=Classic\nPosition={SetupDir}/Templates/Classic\n");
    // An immutable folder cannot be written even by root.
    const std::string setup = folder / "setup";
    if (std::system(("chattr +i '" + setup + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr +i is not available here, so no folder can be made read-only";
    struct Unlock {
        std::string Folder;
        ~Unlock() { (void)std::system(("chattr -i '" + Folder + "'").c_str()); }
    } unlock{setup};
    TGroupList list(setup, folder / "user");
    list.Load();
    list.Groups.push_back({true, "Mine", folder / "mine"});
    list.Save();
    EXPECT_TRUE(list.InUserFolder());
    TGroupList again(folder / "setup", folder / "user");
    again.Load();
    ASSERT_EQ(again.Groups.size(), 2u);
    EXPECT_EQ(again.Groups[1].Name, "Mine");
    EXPECT_EQ(again.Groups[0].Position, folder / "setup/Templates/Classic");
}

}  // namespace
}  // namespace leafsmith
