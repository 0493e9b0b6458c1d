// The data that ships beside the programs: the template groups of the group list, the examples
// and the manual all build, and what they build is complete.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "command_support.h"
#include "core/ini_file.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "templates/template_group.h"

namespace leafsmith {
namespace {

using testing::ProgramFolder;
using testing::Quote;
using testing::ReadFile;
using testing::RunCommand;
using testing::RunLeafsmithBuild;
using testing::TempFolder;
namespace fs = std::filesystem;

struct ListedGroup {
    std::string Name;
    std::string Folder;
};

std::vector<ListedGroup> GroupList() {
    IniFile list = IniFile::LoadIfExists(ProgramFolder() + "/templates.ini");
    std::vector<ListedGroup> groups;
    for (int n = 1; list.SectionExists("TemplatesGroup" + std::to_string(n)); ++n) {
        const std::string section = "TemplatesGroup" + std::to_string(n);
        groups.push_back({list.ReadString(section, "TemplatesGroupName"),
                          ReplaceAll(list.ReadString(section, "Position"), "{SetupDir}", ProgramFolder())});
    }
    return groups;
}

// Files below `folder` that still hold a placeholder such as ($TITLE$).
std::vector<std::string> FilesWithPlaceholders(const std::string& folder) {
    static const std::regex placeholder(R"(\(\$[A-Z]+\$\))");
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".htm" && extension != ".html" && extension != ".css" && extension != ".js")
            continue;
        if (std::regex_search(ReadFile(entry.path().string()), placeholder))
            found.push_back(entry.path().string());
    }
    return found;
}

TEST(ShippedData, TheGroupListNamesFiveSwitchedOnGroupsWithEveryFormat) {
    IniFile list = IniFile::LoadIfExists(ProgramFolder() + "/templates.ini");
    std::vector<ListedGroup> groups = GroupList();
    ASSERT_EQ(groups.size(), 5u);
    for (size_t n = 1; n <= groups.size(); ++n) {
        EXPECT_EQ(list.ReadString("TemplatesGroup" + std::to_string(n), "On"), "1");
        TTempletGroup group(ProgramFolder());
        group.LoadFromFolder(groups[n - 1].Folder, true);
        EXPECT_EQ(group.GroupName, groups[n - 1].Name);
        EXPECT_GE(group.ChmCount, 1) << groups[n - 1].Name;
        EXPECT_GE(group.WebsiteCount, 1) << groups[n - 1].Name;
        EXPECT_GE(group.EbookCount, 1) << groups[n - 1].Name;
        EXPECT_GE(group.FaqCount, 1) << groups[n - 1].Name;
        for (int32_t t = 1; t < group.Count(); ++t) {
            EXPECT_FALSE(group.Items(t).SampleImage.empty()) << groups[n - 1].Name << " template " << t;
            const std::string picture = group.Items(t).SampleImagePath;
            EXPECT_TRUE(fs::is_regular_file(picture)) << picture;
            EXPECT_EQ(ReadFile(picture).substr(0, 2), "BM") << picture;  // a bitmap
        }
    }
}

TEST(ShippedData, EveryTemplateGroupBuildsEveryFormatCompletely) {
    for (const ListedGroup& listed : GroupList()) {
        TempFolder folder;
        TProjectOption options(ProgramFolder());
        options.LoadFromFile(ProgramFolder() + "/Examples/Example1.lfx");
        options.TempletChm = options.TempletChm_WebSite = options.TempletChm_Ebook = options.TempletChm_Faq =
            listed.Folder;
        TTempletGroup group(ProgramFolder());
        group.LoadFromFolder(listed.Folder, true);
        for (int32_t t = 1; t < group.Count(); ++t) {
            switch (group.Items(t).Type) {
                case ChmTemplate:
                    options.TempletNoChm = t;
                    break;
                case WebsiteTemplate:
                    options.TempletNoChm_WebSite = t;
                    break;
                case EbookTemplate:
                    options.TempletNoChm_Ebook = t;
                    break;
                case FaqTemplate:
                    options.TempletNoChm_Faq = t;
                    break;
                default:
                    break;
            }
        }
        options.OutputChm = options.OutputWebsite = options.OutputEbook = options.OutputFaq = options.OutputSingleHtml =
            true;
        options.CompileChm = false;
        options.SaveToFile(folder / "project.lfx");
        testing::CommandResult result =
            RunLeafsmithBuild("--yes --no-pause --out " + Quote(folder / "out") + " " + Quote(folder / "project.lfx"));
        ASSERT_EQ(result.Status, 0) << listed.Name << ": " << result.Errors;
        EXPECT_EQ(FilesWithPlaceholders(folder / "out"), std::vector<std::string>{}) << listed.Name;
        for (const char* page : {"CHM/html/1.htm", "WEB/html/1.htm", "WEB/html/index.htm", "eBook/html/1.htm",
                                 "eBook/html/index.htm", "FAQ/html/faq.htm"}) {
            EXPECT_TRUE(fs::exists(folder / ("out/" + std::string(page)))) << listed.Name << " " << page;
        }
    }
}

TEST(ShippedData, EveryExampleBuildsAndItsHelpFilesReadBack) {
    for (const auto& entry : fs::directory_iterator(ProgramFolder() + "/Examples")) {
        if (entry.path().extension() != ".lfx")
            continue;
        TempFolder folder;
        testing::CommandResult result =
            RunLeafsmithBuild("--yes --no-pause --out " + Quote(folder / "out") + " " + Quote(entry.path().string()));
        ASSERT_EQ(result.Status, 0) << entry.path() << ": " << result.Errors;
        EXPECT_EQ(FilesWithPlaceholders(folder / "out"), std::vector<std::string>{}) << entry.path();
        for (const auto& file : fs::recursive_directory_iterator(folder / "out")) {
            if (file.path().extension() != ".chm")
                continue;
            testing::CommandResult listing = RunCommand("enum_chmLib " + Quote(file.path().string()));
            EXPECT_EQ(listing.Status, 0) << file.path();
            size_t pages = 0;
            for (const auto& page : fs::directory_iterator(file.path().parent_path() / "html")) {
                if (page.path().extension() != ".htm")
                    continue;
                ++pages;
                EXPECT_NE(listing.Output.find("/html/" + page.path().filename().string() + "\n"), std::string::npos)
                    << file.path() << " lacks " << page.path();
            }
            EXPECT_GT(pages, 0u) << file.path();
        }
    }
}

TEST(ShippedData, TheManualIsCompiledBesideTheProgram) {
    const std::string manual = ProgramFolder() + "/manual.chm";
    ASSERT_TRUE(fs::is_regular_file(manual));
    testing::CommandResult listing = RunCommand("enum_chmLib " + Quote(manual));
    EXPECT_EQ(listing.Status, 0);
    EXPECT_GE(std::count(listing.Output.begin(), listing.Output.end(), '\n'), 30);
    EXPECT_NE(listing.Output.find("/html/1.htm\n"), std::string::npos);
    EXPECT_NE(listing.Output.find("/manual.hhc\n"), std::string::npos);
}

TEST(ShippedData, TheDefaultProjectIsReadyForANewProject) {
    TProjectOption options(ProgramFolder());
    options.LoadFromFile(ProgramFolder() + "/default.lfx");
    EXPECT_EQ(options.EncodingIndex, 23);  // UTF-8 pages
    EXPECT_TRUE(options.EnableTextAnalysis);
    EXPECT_EQ(options.OutDir, "");
    EXPECT_TRUE(fs::is_regular_file(options.TempletChm + "/templates.ini"));
    EXPECT_EQ(options.ChmWindow.Width, 600);
    EXPECT_TRUE(fs::is_regular_file(ProgramFolder() + "/sample/templates.ini"));
    EXPECT_EQ(ReadFile(ProgramFolder() + "/nopic.bmp").substr(0, 2), "BM");
}

}  // namespace
}  // namespace leafsmith
