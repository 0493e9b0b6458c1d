#include "helpproject/help_compiler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "command_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

using testing::CommandResult;
using testing::DefaultTopicOf;
using testing::RunCommand;

TEST(CleaningTheProject, AliasesTurnToSlashesAndLoseThoseWithoutAPage) {
    TempFolder folder;
    WriteFile(folder / "html/p1.htm", "1");
    WriteFile(folder / "html/p2.htm", "2");
    WriteFile(folder / "x.h", "#define PA 20\r\n#define GONE 21\r\n");
    CleanedProject cleaned = CleanProjectForChmcmd(
        "[OPTIONS]\r\nCompiled file=x.chm\r\nDefault topic=html\\p1.htm\r\nError log file=x.log\r\nTitle=A\\B\r\n\r\n"
        "[WINDOWS]\r\nmain=\"A\\B, "
        "C\",\"x.hhc\",\"\",\"html\\p1.htm\",\"html\\p1.htm\",\"html\\p1.htm\",\"\",,,0x23420,\r\n\r\n"
        "[FILES]\r\nhtml\\p1.htm\r\nhtml\\p2.htm\r\nhtml\\missing.htm\r\n\r\n"
        "[ALIAS]\r\nPA= html\\p2.htm\r\nGONE= html\\p9.htm\r\n\r\n"
        "[MAP]\r\n#include x.h\r\n\r\n",
        folder.Path());
    EXPECT_EQ(
        cleaned.Text,
        "[OPTIONS]\r\nCompiled file=x.chm\r\nDefault topic=html/p1.htm\r\nError log file=x.log\r\nTitle=A\\B\r\n\r\n"
        "[WINDOWS]\r\nmain=\"A\\B, "
        "C\",\"x.hhc\",\"\",\"html/p1.htm\",\"html/p1.htm\",\"html/p1.htm\",\"\",,,0x23420,\r\n\r\n"
        "[FILES]\r\nhtml/p1.htm\r\nhtml/p2.htm\r\n\r\n"
        "[ALIAS]\r\nPA=html/p2.htm\r\n\r\n"
        "[MAP]\r\n#define PA 20\r\n\r\n");
    EXPECT_EQ(cleaned.CompiledFile, "x.chm");
    EXPECT_EQ(cleaned.ErrorLogFile, "x.log");
    EXPECT_EQ(cleaned.Warnings,
              (std::vector<std::string>{
                  "Warning: html/missing.htm does not exist and was left out.",
                  "Warning: the alias GONE was left out: its page html/p9.htm is not compiled.",
                  "Warning: the context number of GONE was left out: it has no alias of a compiled page.",
              }));
}

TEST(CleaningTheProject, AMissingAliasHeaderIsReported) {
    TempFolder folder;
    CleanedProject cleaned = CleanProjectForChmcmd("[MAP]\r\n#include nothere.h\r\n", folder.Path());
    EXPECT_EQ(cleaned.Text, "[MAP]\r\n");
    EXPECT_EQ(cleaned.Warnings,
              std::vector<std::string>{
                  "Warning: the alias header nothere.h does not exist; its context numbers were left out."});
}

TEST(CleaningTheProject, TheFirstOfRepeatedKeysAndOnlyFilesInsideTheFolderCount) {
    TempFolder folder;
    WriteFile(folder / "p/html/a.htm", "a");
    WriteFile(folder / "secret.txt", "secret");
    fs::create_symlink(folder / "secret.txt", folder / "p/html/link.htm");
    CleanedProject cleaned = CleanProjectForChmcmd(
        "[OPTIONS]\r\nCompiled file=x.chm\r\nContents file=..\\x.hhc\r\n\r\n"
        "[FILES]\r\nhtml\\a.htm\r\n..\\secret.txt\r\n" +
            folder / "secret.txt" +
            "\r\nhtml\\link.htm\r\n\r\n"
            "[OPTIONS]\r\nCOMPILED FILE=/etc/passwd\r\n\r\n"
            "[MAP]\r\n#include \"\"\r\n#include ..\\secret.txt\r\n",
        folder / "p", "/tmp/x.chm");
    EXPECT_EQ(cleaned.Text,
              "[OPTIONS]\r\nCompiled file=/tmp/x.chm\r\n\r\n[FILES]\r\nhtml/a.htm\r\n\r\n[OPTIONS]\r\n\r\n[MAP]\r\n");
    EXPECT_EQ(cleaned.CompiledFile, "x.chm");
    EXPECT_EQ(cleaned.Warnings,
              (std::vector<std::string>{
                  "Warning: ../x.hhc lies outside the project's folder and was left out.",
                  "Warning: ../secret.txt lies outside the project's folder and was left out.",
                  "Warning: " + folder / "secret.txt" + " lies outside the project's folder and was left out.",
                  "Warning: html/link.htm lies outside the project's folder and was left out.",
                  "Warning: the repeated option COMPILED FILE was left out; the first one counts.",
                  "Warning: the alias header  does not exist; its context numbers were left out.",
                  "Warning: the alias header ../secret.txt lies outside the project's folder; its context numbers were "
                  "left out.",
              }));
}

class Compiling : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("LEAFSMITH_CHMCMD"); }
    void TearDown() override { ::unsetenv("LEAFSMITH_CHMCMD"); }

    // A help project as the build writes one: pages under html\, aliases and an alias header.
    void WriteProject(int pages) {
        THelpProject project;
        for (int i = 1; i <= pages; ++i) {
            WriteFile(folder / ("html/p" + std::to_string(i) + ".htm"), "<html><head><title>Page " + std::to_string(i) +
                                                                            "</title></head><body><a name=\"sec\"></a>"
                                                                            "<a href=\"p1.htm#sec\">first</a> page " +
                                                                            std::to_string(i) + "</body></html>");
        }
        project.ProjectDir = folder.Path() + "/";
        project.PagesDir = "html\\";
        project.Title = "Demo";
        project.CompiledFile = "demo.chm";
        project.DefaultTopic = "html\\p1.htm";
        project.TocBody =
            "<UL><LI><OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"One\">\r\n"
            "<param name=\"Local\" value=\"html\\p1.htm\">\r\n</OBJECT>\r\n</UL>";
        project.AliasText = "PA= html\\p2.htm\r\nIDH_ID_7= html\\p1.htm\r\nHEADING= html\\nopage.htm\r\n";
        project.MapText = "#define PA 20\r\n#define IDH_ID_7 7\r\n#define HEADING 3\r\n";
        project.LogCallback = [this](const std::string& line) { log.push_back(line); };
        project.ProgressCallback = [this](const std::string& line) { progress.push_back(line); };
        project.Make(true);
    }

    TempFolder folder;
    std::vector<std::string> log;
    std::vector<std::string> progress;
};

TEST_F(Compiling, WritesAChmThatChmlibReadsBack) {
    WriteProject(3);
    ASSERT_TRUE(fs::exists(folder / "demo.chm")) << ::testing::PrintToString(log);
    CommandResult listing = RunCommand("enum_chmLib '" + folder / "demo.chm" + "'");
    for (const char* name : {"/html/p1.htm", "/html/p2.htm", "/html/p3.htm", "/demo.hhc", "/demo.hhk"}) {
        EXPECT_NE(listing.Output.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(DefaultTopicOf(folder / "demo.chm", folder / "extracted"), "html/p1.htm");
    // chmls writes <name>.h and <name>.ali beside the file it reads, so it reads a copy. The context
    // table keeps numbers and pages, by their place in the help file.
    fs::create_directories(folder / "readback");
    fs::copy_file(folder / "demo.chm", folder / "readback/demo.chm");
    CommandResult aliases =
        RunCommand("cd '" + folder / "readback" + "' && chmls extractalias demo.chm && cat demo.ali");
    EXPECT_NE(aliases.Output.find("helpid20=html/p2.htm\n"), std::string::npos) << aliases.Output;
    EXPECT_NE(aliases.Output.find("helpid7=html/p1.htm\n"), std::string::npos) << aliases.Output;
    EXPECT_EQ(aliases.Output.find("helpid3="), std::string::npos) << aliases.Output;
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Warning: the alias HEADING was left out: its page html/nopage.htm is not compiled."),
              log.end());
    for (const std::string& line : log)
        EXPECT_EQ(line.find("Anchor"), std::string::npos) << line;  // the anchors exist
    EXPECT_EQ(ReadFile(folder / "demo.h"),
              "#define PA 20\r\n#define IDH_ID_7 7\r\n#define HEADING 3\r\n");  // ours, untouched
    EXPECT_TRUE(fs::exists(folder / "demo.log"));
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        EXPECT_EQ(entry.path().filename().string().find("leafsmith-compile"), std::string::npos);  // no temporary left
    }
}

TEST_F(Compiling, ChmcmdCompilesOnRequest) {
    if (RunCommand("command -v chmcmd").Status != 0)
        GTEST_SKIP() << "chmcmd is not installed (fp-utils)";
    ::setenv("LEAFSMITH_CHMCMD", "chmcmd", 1);
    WriteProject(3);
    ASSERT_TRUE(fs::exists(folder / "demo.chm")) << ::testing::PrintToString(log);
    EXPECT_NE(std::find(progress.begin(), progress.end(), "Writing CHM demo.chm"), progress.end())
        << ::testing::PrintToString(progress);
    CommandResult listing = RunCommand("enum_chmLib '" + folder / "demo.chm" + "'");
    for (const char* name : {"/html/p1.htm", "/html/p2.htm", "/html/p3.htm", "/demo.hhc"})
        EXPECT_NE(listing.Output.find(name), std::string::npos) << name;
}

TEST_F(Compiling, WithoutACompilerOneLineSaysSo) {
    ::setenv("LEAFSMITH_CHMCMD", "/nonexistent/chmcmd", 1);
    WriteProject(1);
    EXPECT_FALSE(fs::exists(folder / "demo.chm"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "The help compiler chmcmd was not found (Debian package fp-utils); the help project was written without "
              "compiling it.");
}

TEST_F(Compiling, ACrashingCompilerLeavesNoBrokenFile) {
    WriteFile(folder / "fake-chmcmd",
              "#!/bin/sh\nout=$(sed -n 's/^Compiled file=//p' \"$2\" | tr -d '\\r')\n"
              "printf 'ITSF broken' > \"$out\"\necho \"Writing CHM $out\"\n"
              "echo 'Warning: Found file html/ while scanning html/p1.htm, but couldn''t find it on disk'\n"
              "echo 'An unhandled exception occurred' >&2\nexit 217\n");
    fs::permissions(folder / "fake-chmcmd", fs::perms::owner_all);
    ::setenv("LEAFSMITH_CHMCMD", (folder / "fake-chmcmd").c_str(), 1);
    WriteProject(1);
    EXPECT_FALSE(fs::exists(folder / "demo.chm"));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "An unhandled exception occurred");
    EXPECT_EQ(log.back(), "The compile failed (chmcmd ended with status 217); no .chm file was written.");
    EXPECT_EQ(progress, std::vector<std::string>{"Writing CHM demo.chm"});
}

}  // namespace
}  // namespace leafsmith
