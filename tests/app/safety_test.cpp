// Builds that meet odd file names, links, full disks, other builds and special files: nothing
// outside the output is harmed, and no failure ends as a success.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "build_fixture.h"
#include "core/folder_lock.h"
#include "core/strings.h"

namespace leafsmith {
namespace {

using testing::CommandResult;
using testing::LockedFile;
using testing::Quote;
using testing::ReadFile;
using testing::RunCommand;
using testing::WriteFile;
namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Safety : public testing::Building {
protected:
    Safety() { ::unsetenv("LEAFSMITH_CHMCMD"); }
    ~Safety() override { ::unsetenv("LEAFSMITH_CHMCMD"); }

    // Compiles with a script of the test's instead of chmcmd.
    void UseCompiler(const std::string& script) {
        WriteFile(folder / "fake-chmcmd", "#!/bin/sh\n" + script);
        fs::permissions(folder / "fake-chmcmd", fs::perms::owner_all);
        ::setenv("LEAFSMITH_CHMCMD", (folder / "fake-chmcmd").c_str(), 1);
    }
    std::string Project(const std::string& name) { return folder / ("project/" + name); }
    // The build went on after a failed compile, and ended saying so.
    static void ExpectCompileFailed(const CommandResult& result, const std::string& why) {
        EXPECT_EQ(result.Status, 1);
        EXPECT_TRUE(Contains(
            result.Output,
            "The compile failed (" + why + ".\n\nDone.\nThe creation has been completed with errors; see the log.\n"))
            << result.Output;
    }
};

// --- Names in the help project -------------------------------------------------------------------

TEST_F(Safety, NamesWithControlCharactersStayOutOfTheHelpProject) {
    WriteFile(Project("important.txt"), "keep me");
    WriteFile(folder / "secret.txt", "secret");
    options.SourcePath = folder / "res";
    WriteFile(folder / "res/a\n[OPTIONS]\nCompiled file=..\\..\\important.txt\n[FILES]\nb.gif", "x");
    WriteFile(folder / "res/a\n..\\..\\..\\secret.txt", "y");
    options.CompileChm = true;
    CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors << result.Output;
    EXPECT_EQ(ReadFile(Project("important.txt")), "keep me");
    EXPECT_TRUE(
        Contains(result.Output,
                 "Warning: html\\a\\x0A..\\..\\..\\secret.txt was left out of the help project: its name holds a "
                 "control character.\n"))
        << result.Output;
    const std::string hhp = ReadFile(Project("out/CHM/demo.hhp"));
    EXPECT_EQ(hhp.find("[OPTIONS]", 1), std::string::npos) << hhp;
    EXPECT_FALSE(Contains(hhp, "secret"));
    EXPECT_FALSE(Contains(RunCommand("enum_chmLib " + Quote(Project("out/CHM/demo.chm"))).Output, "secret"));
}

TEST(CompileCommand, NeverReplacesAFileOutsideTheProjectOrOneThatIsNoHelpFile) {
    testing::TempFolder folder;
    WriteFile(folder / "important.txt", "keep me");
    WriteFile(folder / "p/notes.txt", "my notes");
    WriteFile(folder / "p/html/a.htm", "<html><body>a</body></html>");
    auto compile = [&](const std::string& compiledFile) {
        WriteFile(folder / "p/x.hhp",
                  "[OPTIONS]\r\nCompiled file=" + compiledFile + "\r\n\r\n[FILES]\r\nhtml\\a.htm\r\n");
        return testing::RunLeafsmithBuild("--compile " + Quote(folder / "p/x.hhp"));
    };
    CommandResult outside = compile("..\\important.txt");
    EXPECT_EQ(outside.Status, 1);
    EXPECT_EQ(outside.Errors,
              "leafsmith-build: the compiled file ../important.txt lies outside the project's folder; nothing "
              "was compiled.\n");
    CommandResult notHelp = compile("notes.txt");
    EXPECT_EQ(notHelp.Status, 1);
    EXPECT_TRUE(Contains(notHelp.Errors, "is a file that is not a compiled help file; it was left as it is"))
        << notHelp.Errors;
    EXPECT_EQ(ReadFile(folder / "important.txt"), "keep me");
    EXPECT_EQ(ReadFile(folder / "p/notes.txt"), "my notes");
    EXPECT_EQ(compile("x.chm").Status, 0);
}

// --- Output confinement --------------------------------------------------------------------------

TEST_F(Safety, AnAbsoluteHelpFileNameReplacesOnlyAHelpFileAndOnlyWithACompleteOne) {
    options.CompileChm = true;
    options.CHMFileName = folder / "elsewhere/important";
    WriteFile(folder / "elsewhere/important.chm", "not a help file");
    CommandResult refused = Build();
    EXPECT_EQ(refused.Status, 1);
    EXPECT_TRUE(Contains(refused.Errors, "is a file that is not a compiled help file; it is left as it is"))
        << refused.Errors;
    EXPECT_EQ(ReadFile(folder / "elsewhere/important.chm"), "not a help file");
    EXPECT_FALSE(fs::exists(Project("out/CHM")));  // refused before anything was written

    WriteFile(folder / "elsewhere/important.chm", "ITSF an older help file");
    UseCompiler("echo 'Error: the disk is full'\nexit 1\n");
    ExpectCompileFailed(Build(), "chmcmd ended with status 1); the old .chm file was kept");
    EXPECT_EQ(ReadFile(folder / "elsewhere/important.chm"), "ITSF an older help file");

    ::unsetenv("LEAFSMITH_CHMCMD");
    ASSERT_EQ(Build().Status, 0);
    EXPECT_NE(ReadFile(folder / "elsewhere/important.chm"), "ITSF an older help file");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "elsewhere"), fs::directory_iterator()), 1);
}

TEST_F(Safety, PagesAreNeverWrittenThroughLinksInOldOutput) {
    WriteFile(folder / "victim.txt", "victim");
    fs::create_directories(Project("out/CHM/html"));
    fs::create_symlink(folder / "victim.txt", Project("out/CHM/html/p1.htm"));
    // The folder cannot lose its entries, so the old output cannot be removed and the link stays.
    LockedFile locked(Project("out/CHM/html"), true);
    if (!locked.Locked())
        GTEST_SKIP() << "chattr +i is not available here, so no old output can be kept from removal";
    CommandResult result = Build("--yes");
    EXPECT_EQ(result.Status, 1);
    EXPECT_TRUE(Contains(result.Errors,
                         "leafsmith-build: warning: Cannot deleted the old files when created CHM format. The old "
                         "files might be used, continue? (answered Yes: --yes)\n"))
        << result.Errors;
    EXPECT_TRUE(Contains(result.Errors, "Cannot remove the link \"" + Project("out/CHM/html/p1.htm") + "\""))
        << result.Errors;
    EXPECT_EQ(ReadFile(folder / "victim.txt"), "victim");
}

TEST_F(Safety, ControlCharactersInSettingsAreRefused) {
    options.SaveToFile(Project("demo.lfx"));
    std::string project = ReadFile(Project("demo.lfx"));
    project.replace(project.find("edtHead=p"), 9, std::string("edtHead=../../../x\0/../out/CHM/html/p", 37));
    WriteFile(Project("demo.lfx"), project);
    CommandResult result = RunCommand(Quote(testing::ProgramFolder() + "/leafsmith-build") + " --yes --no-pause " +
                                      "--setup-dir " + Quote(folder / "setup") + " " + Quote(Project("demo.lfx")));
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Errors,
              "leafsmith-build: The setting edtHead of the project (\"../../../x\\x00/../out/CHM/html/p\") "
              "holds a control character, which no file or folder name may hold.\n");
    EXPECT_FALSE(fs::exists(Project("x")));
    EXPECT_FALSE(fs::exists(folder / "x"));

    WriteFile(folder / "group/templates.ini",
              std::string("[Template1]\nContentTemplates=page.htm\nOtherTemplates=extra.txt:x\x01.txt\nType=0\n"));
    CommandResult group = Build();
    EXPECT_EQ(group.Status, 1);
    EXPECT_TRUE(Contains(group.Errors, "\"x\\x01.txt\" holds a control character")) << group.Errors;
    WriteFile(folder / "group/templates.ini",
              std::string("[Template1]\nContentTemplates=page.htm\nDefault=a\x02.htm\nType=0\n"));
    EXPECT_TRUE(Contains(Build().Errors, "The default page \"a\\x02.htm\""));
}

TEST_F(Safety, InputsInsideAFolderTheBuildRemovesAreRefusedFirst) {
    auto expectRefused = [&](const std::string& kept, const std::string& what) {
        CommandResult result = Build();
        EXPECT_EQ(result.Status, 1) << what;
        EXPECT_TRUE(Contains(result.Errors, what + " \"")) << result.Errors;
        EXPECT_TRUE(Contains(result.Errors, "which the build removes before it writes the CHM format"))
            << result.Errors;
        EXPECT_TRUE(fs::exists(kept)) << what;
    };
    WriteFile(Project("out/CHM/res/picture.gif"), "picture");
    options.SourcePath = "out/CHM/res";
    expectRefused(Project("out/CHM/res/picture.gif"), "The resource folder");
    options.SourcePath = "";
    fs::copy(folder / "group", Project("out/CHM/group"), fs::copy_options::recursive);
    options.TempletChm = Project("out/CHM/group");
    expectRefused(Project("out/CHM/group/page.htm"), "The template group");
    options.TempletChm = folder / "group";
    fs::copy_file(Project("text/example.txt"), Project("out/CHM/example.txt"));
    options.FileList = {"out/CHM/example.txt"};
    expectRefused(Project("out/CHM/example.txt"), "The text file");
}

TEST_F(Safety, TemplateGroupsReadOnlyTheirOwnFiles) {
    WriteFile(folder / "secret.txt", "secret");
    auto expectRefused = [&](const std::string& lists, const std::string& what) {
        WriteFile(folder / "group/templates.ini", "[Template1]\nContentTemplates=page.htm\n" + lists + "\nType=0\n");
        CommandResult result = Build();
        EXPECT_EQ(result.Status, 1) << lists;
        EXPECT_TRUE(Contains(result.Errors, what)) << lists << ": " << result.Errors;
        EXPECT_FALSE(fs::exists(Project("out/CHM/html/stolen.txt"))) << lists;
    };
    expectRefused("CopyFiles=../secret.txt:stolen.txt", "leads outside the group's folder");
    expectRefused("OtherTemplates=../../../../../../../../../.." + folder / "secret.txt" + ":stolen.txt",
                  "leads outside the group's folder");
    fs::create_symlink(folder / "secret.txt", folder / "group/link.txt");
    expectRefused("OtherTemplates=link.txt:stolen.txt", "leads outside the group's folder");
    fs::create_symlink(folder / "secret.txt", folder / "group/img/stolen.txt");
    expectRefused("CopyFiles=img/*.*", "lies outside the folder");
}

TEST_F(Safety, ConfinedIncludesReadOnlyTheIncludeFolder) {
    WriteFile(folder / "secret.txt", "SECRET");
    WriteFile(Project("include/ok.txt"), "INCLUDED");
    WriteFile(Project("text/example.txt"), "Intro\n[INC]ok.txt[/INC] [INC]../../secret.txt[/INC]\n");
    options.IncludePath = "include";
    options.EnableTextAnalysis = true;
    ASSERT_EQ(Build().Status, 0);
    EXPECT_TRUE(Contains(ReadFile(Project("out/CHM/html/p1.htm")), "SECRET"));  // the design allows it

    CommandResult confined = Build("--yes --confine-includes");
    EXPECT_EQ(confined.Status, 0);
    const std::string page = ReadFile(Project("out/CHM/html/p1.htm"));
    EXPECT_TRUE(Contains(page, "INCLUDED"));
    EXPECT_FALSE(Contains(page, "SECRET"));
    EXPECT_TRUE(Contains(confined.Errors,
                         "Exception Occur :Cannot read the included file \"include/../../secret.txt\": "
                         "it lies outside the include folder"))
        << confined.Errors;
}

// --- Failures are failures -----------------------------------------------------------------------

TEST_F(Safety, AFailedCopyOrCompileFailsTheBuild) {
    options.SourcePath = folder / "res";
    WriteFile(folder / "res/big.gif", std::string(1 << 20, 'g'));
    // Files may grow to 100 KB at most, as on a full disk; the signal is ignored so that the write fails.
    CommandResult full = BuildAfter("trap '' XFSZ; ulimit -f 200; ");
    EXPECT_EQ(full.Status, 1);
    EXPECT_EQ(full.Errors,
              "leafsmith-build: Cannot write \"" + Project("out/CHM/html/big.gif") + "\": File too large\n");
    EXPECT_FALSE(fs::exists(Project("out/CHM/html/big.gif")));  // never half a file under its name
    fs::remove(folder / "res/big.gif");

    options.CompileChm = true;
    UseCompiler("exit 3\n");
    ExpectCompileFailed(Build(), "chmcmd ended with status 3); no .chm file was written");

    ::unsetenv("LEAFSMITH_CHMCMD");
    options.CHMFileName = "missing/demo";
    CommandResult missingFolder = Build();
    EXPECT_EQ(missingFolder.Status, 1);
    EXPECT_TRUE(Contains(missingFolder.Output, "The compile failed (Cannot write \"" +
                                                   Project("out/CHM/missing/demo.chm") +
                                                   "\": No such file or directory); no .chm file was written."))
        << missingFolder.Output;
}

TEST_F(Safety, RunningOutOfMemoryStopsWithAClearMessage) {
    std::string text;
    for (int topic = 0; topic < 200000; ++topic)
        text += "Topic " + std::to_string(topic) +
                "\nA paragraph of body text, long enough to look like writing.\n{Para}\n";
    WriteFile(Project("text/example.txt"), text);
    CommandResult result = BuildAfter("ulimit -v 100000; ");
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Errors,
              "leafsmith-build: There is not enough memory to read and split the text files; the build "
              "was stopped before it wrote anything.\n");
}

// --- Two builds, one output folder ---------------------------------------------------------------

TEST_F(Safety, ASecondBuildIntoTheSameFolderFailsFastAndNamesTheFirst) {
    fs::create_directories(Project("out"));
    FolderLock first(Project("out/"));
    CommandResult second = Build();
    EXPECT_EQ(second.Status, 1);
    EXPECT_EQ(second.Errors, "leafsmith-build: Another build (process " + std::to_string(::getpid()) + ", " +
                                 Trim(ReadFile("/proc/self/comm")) + ") is writing into the output folder \"" +
                                 Project("out/") + "\"; wait until it has ended, or choose another output folder.\n");
    EXPECT_EQ(second.Output, "");
    EXPECT_FALSE(fs::exists(Project("out/CHM")));
}

// --- Special files -------------------------------------------------------------------------------

TEST_F(Safety, OnlyRegularFilesAreRead) {
    ASSERT_EQ(::mkfifo(Project("text/pipe.txt").c_str(), 0600), 0);
    auto expectError = [&](const std::string& message) {
        CommandResult result = BuildAfter("timeout 20 ");
        EXPECT_EQ(result.Status, 1);
        EXPECT_EQ(result.Errors, "leafsmith-build: " + message + "\n");
    };
    options.FileList = {"text/pipe.txt"};
    expectError("Cannot read the text file \"text/pipe.txt\": it is a named pipe, not a regular file");
    options.FileList = {"/dev/zero"};
    expectError("Cannot read the text file \"/dev/zero\": it is a device, not a regular file");
    options.FileList = {"text/example.txt"};
    options.SourcePath = "text";
    expectError("Cannot copy \"" + Project("text/pipe.txt") + "\": it is a named pipe, not a regular file");

    CommandResult project = testing::RunLeafsmithBuild("--yes " + Quote(Project("text/pipe.txt")));
    EXPECT_EQ(project.Status, 1);
    EXPECT_EQ(project.Errors, "leafsmith-build: Cannot open the project file \"" + Project("text/pipe.txt") +
                                  "\": it is a named pipe, not a regular file\n");
}

}  // namespace
}  // namespace leafsmith
