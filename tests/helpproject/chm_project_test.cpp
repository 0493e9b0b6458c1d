#include "helpproject/chm_project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/user_questions.h"
#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

class Questions : public UserQuestions {
public:
    void ShowError(const std::string&) override {}
    Answer AskYesCancelRetry(const std::string&) override { return Answer::Cancel; }
    Answer AskAbortRetry(const std::string& text) override {
        Asked.push_back(text);
        return Asked.size() < AnswerRetryTimes + 1 ? Answer::Retry : Answer::Abort;
    }
    std::vector<std::string> Asked;
    size_t AnswerRetryTimes = 0;
};

class HelpProjectFiles : public ::testing::Test {
protected:
    HelpProjectFiles() {
        WriteFile(folder / "html/1.htm", "one");
        project.ProjectDir = folder.Path() + "/";
        project.PagesDir = "html\\";
        project.Title = "Demo";
        project.CompiledFile = "demo.chm";
        project.DefaultTopic = "html\\1.htm";
        project.Language = "0x0409 English (United States)";
        project.Font = "Tahoma,8,0";
    }
    TempFolder folder;
    THelpProject project;
};

TEST_F(HelpProjectFiles, TheProjectFileOfTheDemoProject) {
    project.Make(false);
    EXPECT_EQ(
        ReadFile(folder / "demo.hhp"),
        "[OPTIONS]\r\n"
        "Auto Index=Yes\r\n"
        "Binary Index=No\r\n"
        "Compatibility=1.1 or later\r\n"
        "Compiled file=demo.chm\r\n"
        "Contents file=demo.hhc\r\n"
        "Default Font=Tahoma,8,0\r\n"
        "Default Window=main\r\n"
        "Default topic=html\\1.htm\r\n"
        "Display compile progress=No\r\n"
        "Error log file=demo.log\r\n"
        "Full-text search=Yes\r\n"
        "Index file=demo.hhk\r\n"
        "Language=0x0409 English (United States)\r\n"
        "Title=Demo\r\n"
        "\r\n"
        "[WINDOWS]\r\n"
        "main=\"Demo\",\"demo.hhc\",\"demo.hhk\",\"html\\1.htm\",\"html\\1.htm\",\"html\\1.htm\",\"\",,,0x23420,200,"
        "0x387E,[100,70,700,490],0xB0000,0x0,,0,0,,0,\r\n"
        "\r\n"
        "[FILES]\r\n"
        "html\\1.htm\r\n"
        "\r\n");
    EXPECT_EQ(project.NavigationStyle, 0x23420u);
    EXPECT_EQ(project.Buttons, 0x387Eu);
    EXPECT_EQ(project.TocStyle, 0x27u);
    EXPECT_FALSE(std::filesystem::exists(folder / "demo.h"));
}

TEST_F(HelpProjectFiles, ContentsAndIndexFiles) {
    project.TocBody = "<UL><LI>x\r\n</UL>";
    project.Make(false);
    const std::string head =
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\r\n<!-- Sitemap 1.0 -->\r\n"
        "</HEAD>\r\n<BODY>\r\n";
    EXPECT_EQ(ReadFile(folder / "demo.hhc"), head +
                                                 "   <OBJECT type=\"text/site properties\"> \r\n"
                                                 "     <param name=\"FrameName\" value=\"right\">\r\n"
                                                 "     <param name=\"WindowName\" value=\"main\">\r\n"
                                                 "     <param name=\"Font\" value=\",8,0\">\r\n"
                                                 "     <param name=\"ImageType\" value=\"Book\">\r\n"
                                                 "     <param name=\"Window Styles\" value=\"0x27\">\r\n"
                                                 "     <param name=\"ExWindow Styles\" value=\"0x0\">\r\n"
                                                 "   </OBJECT>\r\n"
                                                 "<UL><LI>x\r\n</UL>\r\n"
                                                 "</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(ReadFile(folder / "demo.hhk"), head + "\r\n</BODY>\r\n</HTML>\r\n");
}

TEST_F(HelpProjectFiles, StyleSwitches) {
    project.Content = false;
    project.ShowPane = false;
    project.Maximize = true;
    project.StayOnTop = true;
    project.UseFolder = true;
    for (bool* button : {&project.Hide, &project.Locate, &project.Back, &project.bForward, &project.Stop,
                         &project.Refresh, &project.Home, &project.Print, &project.Option}) {
        *button = false;
    }
    project.RightToLeft = project.SunkenEdge = true;
    project.Make(false);
    EXPECT_EQ(project.WindowDefinition(),
              "\"Demo\",\"\",\"demo.hhk\",\"html\\1.htm\",\"html\\1.htm\",\"html\\1.htm\",\"\",,,0x23420,200,0x0,"
              "[100,70,700,490],0x10B0000,0x8,,1,0,,0,");
    EXPECT_NE(ReadFile(folder / "demo.hhp").find("\r\nContents file=\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "demo.hhc"));
    EXPECT_EQ(project.TocExStyle, 0x2200u);
}

TEST_F(HelpProjectFiles, FileListSkipsProjectFilesAndListsSubfolders) {
    for (const char* name : {"html/a.H", "html/b.chm", "html/c.Log", "html/d.hhp", "html/e.HHC", "html/f.hhk",
                             "html/img/a.htm", "html/style.css", "html/z/deeper/x.gif"}) {
        WriteFile(folder / name, "x");
    }
    project.Make(false);
    EXPECT_EQ(project.Files, (std::vector<std::string>{"html\\1.htm", "html\\img\\a.htm", "html\\style.css",
                                                       "html\\z\\deeper\\x.gif"}));
    project.PagesDir = "missing\\";
    project.Make(false);
    EXPECT_TRUE(project.Files.empty());
}

TEST_F(HelpProjectFiles, AliasesAndContextNumbers) {
    project.AliasText = "PA= html\\p2.htm\r\n";
    project.MapText = "#define PA 20\r\n";
    project.Make(false);
    std::string text = ReadFile(folder / "demo.hhp");
    EXPECT_NE(
        text.find(
            "[FILES]\r\nhtml\\1.htm\r\n\r\n[ALIAS]\r\nPA= html\\p2.htm\r\n\r\n\r\n[MAP]\r\n#include demo.h\r\n\r\n"),
        std::string::npos);
    EXPECT_EQ(ReadFile(folder / "demo.h"), "#define PA 20\r\n");
}

TEST_F(HelpProjectFiles, AnEmptyNameStillGivesEveryFile) {
    project.CompiledFile = ".chm";
    project.Make(false);
    EXPECT_EQ(project.ProjectFileName, ".hhp");
    EXPECT_EQ(project.LogFileName, ".log");
    EXPECT_TRUE(std::filesystem::exists(folder / ".hhc"));
    EXPECT_TRUE(std::filesystem::exists(folder / ".hhk"));
}

TEST_F(HelpProjectFiles, ACompiledFileThatCannotBeReplacedIsAskedAbout) {
    WriteFile(folder / "demo.chm/in-the-way", "a folder where the file should be");
    Questions questions;
    questions.AnswerRetryTimes = 1;
    project.Questions = &questions;
    std::vector<std::string> log;
    project.LogCallback = [&](const std::string& line) { log.push_back(line); };
    EXPECT_FALSE(project.Make(true));
    ASSERT_EQ(questions.Asked.size(), 2u);
    EXPECT_EQ(questions.Asked[0],
              "\"" + folder / "demo.chm" + "\" access denied! It's probably been opend. Please close it and Retry.");
    EXPECT_EQ(log, std::vector<std::string>{"The help file was not compiled: \"" + folder / "demo.chm" +
                                            "\" cannot be replaced."});  // aborted: nothing compiled
    EXPECT_TRUE(std::filesystem::exists(folder / "demo.hhp"));
}

}  // namespace
}  // namespace leafsmith
