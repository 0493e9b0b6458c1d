#include "build/build_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/project_option.h"
#include "core/user_questions.h"
#include "test_support.h"
#include "text/all_text.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

class RecordingSink : public MakeSink, public UserQuestions {
public:
    void ClearLog() override { Log.clear(); }
    void OutOnInfo(TLfxObject*, const std::string& text) override { Log.push_back(text); }
    bool Ask(const std::string& text) override {
        Questions.push_back(text);
        return AnswerYes;
    }
    void Tell(const std::string& text) override { Told.push_back(text); }
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    Answer AskYesCancelRetry(const std::string&) override { return Answer::Cancel; }
    Answer AskAbortRetry(const std::string&) override { return Answer::Abort; }

    bool AnswerYes = true;
    std::vector<std::string> Log;
    std::vector<std::string> Questions;
    std::vector<std::string> Told;
    std::vector<std::string> Errors;
};

// A stand-in for the compiler: writes the file that the project copy (its last argument) names.
const std::string WriteToCompiledFile =
    "for last; do :; done\nprintf 'ITSF' > \"$(sed -n 's/^Compiled file=//p' \"$last\" | tr -d '\\r')\"\n";

class BuildCommand : public ::testing::Test {
protected:
    BuildCommand() {
        WriteFile(folder / "text.txt", "Only\nbody\n");
        WriteFile(folder / "group/templates.ini", "[Template1]\nContentTemplates=page.htm\nType=0\n");
        WriteFile(folder / "group/page.htm", "<html>($CONTENT$)</html>");
        WriteFile(folder / "setup/icons/cplus.gif", "+");
        options.SetupDir = folder / "setup";
        options.ProjectFolder = folder.Path();
        options.SplitOneTopicPerFile = true;
        options.FileList = {"text.txt"};
        options.FileExtension = ".htm";
        options.OutDir = "out";
        options.TempletChm = folder / "group";
        options.TempletNoChm = 1;
        options.CHMFileName = "help";
        environment.PauseMilliseconds = 0;
        environment.Questions = &sink;
        ::unsetenv("LEAFSMITH_CHMCMD");
    }
    ~BuildCommand() override { ::unsetenv("LEAFSMITH_CHMCMD"); }

    MakeResult Make() { return RunMake(options, sink, environment, session); }

    TempFolder folder;
    TProjectOption options;
    RecordingSink sink;
    BuildEnvironment environment;
    BuildSession session;
};

TEST_F(BuildCommand, TheStartQuestionListsTheFormats) {
    options.OutputChm = options.OutputFaq = true;
    EXPECT_EQ(StartQuestion(options),
              "You will create the following formats:\r\n* CHM\r\n* FAQ\r\n\r\nAre you sure to start the creation?");
    options.OutputChm = options.OutputFaq = false;
    EXPECT_EQ(StartQuestion(options),
              "You will create the following formats:\r\n\r\nAre you sure to start the creation?");
    options.OutputWebsite = options.OutputEbook = options.OutputSingleHtml = true;
    EXPECT_EQ(StartQuestion(options),
              "You will create the following formats:\r\n* Website\r\n* E-book\r\n* Single HTML\r\n\r\n"
              "Are you sure to start the creation?");
}

TEST_F(BuildCommand, WithoutFormatsTheTextIsStillReadAndTheBuildSucceeds) {
    sink.Log = {"left from before"};
    EXPECT_EQ(Make(), MakeResult::Completed);
    EXPECT_EQ(sink.Log, (std::vector<std::string>{"Reading the text files...", "\r\nDone."}));
    EXPECT_EQ(sink.Told, std::vector<std::string>{"The creation has been completed succussfully."});
    EXPECT_EQ(session.BrowseTarget, "out");
    EXPECT_EQ(options.ChmWindow.DefaultTopic, "0.htm");
}

TEST_F(BuildCommand, NoOutputFolderAndDeclining) {
    options.OutDir = "   ";
    EXPECT_EQ(Make(), MakeResult::NoOutputFolder);
    EXPECT_EQ(sink.Told, std::vector<std::string>{"You haven't selected output folder."});
    EXPECT_TRUE(sink.Questions.empty());
    EXPECT_TRUE(sink.Log.empty());

    options.OutDir = "out";
    sink.Told.clear();
    sink.AnswerYes = false;
    EXPECT_EQ(Make(), MakeResult::Declined);
    EXPECT_TRUE(sink.Log.empty());
    EXPECT_TRUE(sink.Told.empty());
    EXPECT_EQ(session.BrowseTarget, "");
}

TEST_F(BuildCommand, DerivedStringsGoIntoEveryHelpWindow) {
    options.ContentsFont = "Arial";
    options.ContentsFontSize = "10";
    options.CharacterSetIndex = 3;
    options.LanguageIndex = -1;
    Make();
    for (const TCHMProject* window :
         {&options.ChmWindow, &options.WebsiteWindow, &options.EbookWindow, &options.FaqWindow}) {
        EXPECT_EQ(window->Font, "Arial,10,77");
        EXPECT_EQ(window->Language, "");
    }
    options.ContentsFontSize = "";
    options.LanguageIndex = 34;
    Make();
    EXPECT_EQ(options.FaqWindow.Font, "Arial,,77");
    EXPECT_EQ(options.FaqWindow.Language, "0x0409 English (United States)");
}

TEST_F(BuildCommand, ErrorsLeaveTheBuildWithTheirOwnMessage) {
    options.FileList = {"missing.txt"};
    EXPECT_THROW(Make(), EFileError);
    EXPECT_EQ(sink.Log, std::vector<std::string>{"Reading the text files..."});
    EXPECT_TRUE(sink.Told.empty());
    WriteFile(folder / "empty.txt", "");
    options.FileList = {"empty.txt"};
    EXPECT_THROW(Make(), ENoTopics);
}

TEST_F(BuildCommand, CompileMessagesDropBlankAndRepeatedLines) {
    WriteFile(folder / "fake-chmcmd",
              "#!/bin/sh\necho 'Warning: one'\necho 'Warning: one'\necho '   '\necho 'Warning: two'\necho 'Writing CHM "
              "help.chm'\n" +
                  WriteToCompiledFile);
    fs::permissions(folder / "fake-chmcmd", fs::perms::owner_all);
    ::setenv("LEAFSMITH_CHMCMD", (folder / "fake-chmcmd").c_str(), 1);
    options.OutputChm = true;
    options.CompileChm = true;
    EXPECT_EQ(Make(), MakeResult::Completed);
    EXPECT_EQ(sink.Log, (std::vector<std::string>{"Reading the text files...", "\r\nMaking CHM format...", "0.htm",
                                                  "Copying files...", "Creating Chm Project...", "Warning: one",
                                                  "Warning: two", "Writing CHM help.chm", "\r\nDone."}));
    EXPECT_EQ(session.LastCompileMessage, "Writing CHM help.chm");

    // The last message of one build is not repeated at the start of the next.
    WriteFile(folder / "fake-chmcmd",
              "#!/bin/sh\necho 'Writing CHM help.chm'\necho 'Warning: three'\n" + WriteToCompiledFile);
    Make();
    EXPECT_EQ(sink.Log[5], "Warning: three");

    // A compile that fails does not stop the build, but the build says it ended with errors.
    WriteFile(folder / "fake-chmcmd", "#!/bin/sh\nexit 2\n");
    EXPECT_EQ(Make(), MakeResult::CompletedWithErrors);
    EXPECT_EQ(sink.Log.back(), "\r\nDone.");
    EXPECT_EQ(sink.Told.back(), "The creation has been completed with errors; see the log.");
}

}  // namespace
}  // namespace leafsmith
