#include "core/project_option.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "core/ini_file.h"
#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::SourceFolder;
using testing::TempFolder;
using testing::WriteFile;

const std::string SetupDir = "/opt/leafsmith";

std::string Golden(const std::string& name) {
    return ReadFile(SourceFolder() + "/core/golden/" + name);
}

TProjectOption FilledProject() {
    TProjectOption p(SetupDir);
    p.ProjectTitle = "Caf\xC3\xA9 Manual";
    p.SourcePath = SetupDir + "/Examples/res";
    p.DestFolder = "images";
    p.IncludePath = "/srv/include";
    p.OneOrMorePerFile = true;
    p.SplitByTitleTags = true;
    p.AtLeastBlankLines = 2;
    p.LineSign = "{Para}";
    p.HeadSign = "@";
    p.UseLevelSigns = true;
    p.NumOfSigns = true;
    p.AddOneSign = "{>}";
    p.MinusOneSign = "{<}";
    p.BackToRootSign = "{|<}";
    p.FileList = {SetupDir + "/Examples/a.txt", "chapters/b.txt", "/other" + SetupDir + "x/c.txt"};
    p.EnableTextAnalysis = true;
    p.HtmlEncode = true;
    p.NotSubheadingEnds = {".", ":"};
    p.SubheadingMaxLen = 40;
    p.IllustrativeEnds = {":"};
    p.IllustrativeTitleMaxLen = 80;
    p.ExpandableBlocks = true;
    p.Bullets = true;
    p.ArrowSign = "+";
    p.BulletSign = "*";
    p.NumberingSign = "#";
    p.JoinLinesSign = "-";
    p.ReminderStarts = {"Note:", "Tip:"};
    p.EncodingIndex = 23;
    p.FileExtension = ".htm";
    p.CounterStart = -1;
    p.CounterLength = 3;
    p.LanguageIndex = 34;
    p.ContentsFont = "Tahoma";
    p.ContentsFontSize = "8";
    p.OutputChm = true;
    p.OutputFaq = true;
    p.OutDir = "/tmp/out";
    p.TempletChm = SetupDir + "/templates/classic";
    p.TempletNoChm = 2;
    p.CHMFileName = "manual";
    p.CompileChm = true;
    p.AutoCollapse = true;
    p.TitleListStyle_Ebook = 2;
    p.TitleListStyle_Faq = 1;
    p.SingleHtmlFileName = "all.htm";
    p.MinusIsDefault = true;
    p.ChmWindow.Top = -5;
    p.ChmWindow.Title = "Help";
    p.ChmWindow.Maximize = true;
    p.ChmWindow.Hide = false;
    p.EbookWindow.DefaultTab = 2;
    p.FaqWindow.SavePosition = true;
    p.FaqWindow.Font = "Arial,10,0";
    return p;
}

TEST(ProjectFile, NewProjectSavesExactlyAsTheGoldenFile) {
    TempFolder folder;
    TProjectOption(SetupDir).SaveToFile(folder / "new.lfx");
    EXPECT_EQ(ReadFile(folder / "new.lfx"), Golden("new_project.lfx"));
}

TEST(ProjectFile, FilledProjectSavesExactlyAsTheGoldenFile) {
    TempFolder folder;
    FilledProject().SaveToFile(folder / "filled.lfx");
    EXPECT_EQ(ReadFile(folder / "filled.lfx"), Golden("filled_project.lfx"));
}

TEST(ProjectFile, SaveThenLoadGivesEqualOptions) {
    TempFolder folder;
    for (const TProjectOption& original : {TProjectOption(SetupDir), FilledProject()}) {
        original.SaveToFile(folder / "p.lfx");
        TProjectOption loaded(SetupDir);
        loaded.LoadFromFile(folder / "p.lfx");
        EXPECT_TRUE(loaded.SameStoredValues(original));
        EXPECT_EQ(loaded.ProjectFolder, folder.Path());
    }
}

TEST(ProjectFile, GoldenFileLoadsIntoTheFilledProject) {
    TProjectOption loaded(SetupDir);
    loaded.LoadFromIni(IniFile::Parse(Golden("filled_project.lfx")));
    EXPECT_TRUE(loaded.SameStoredValues(FilledProject()));
    EXPECT_EQ(loaded.FileList[0], "/opt/leafsmith/Examples/a.txt");
    EXPECT_EQ(loaded.FaqWindow.Font, "Arial,10,0");
}

TEST(ProjectFile, MissingFileLoadsMissingValues) {
    TProjectOption p = FilledProject();
    p.LoadFromFile("/nonexistent/folder/project.lfx");
    EXPECT_EQ(p.AtLeastBlankLines, 1);
    EXPECT_EQ(p.CounterLength, 0);
    EXPECT_EQ(p.TempletNoChm, 0);
    EXPECT_FALSE(p.OutputChm);
    EXPECT_EQ(p.ProjectTitle, "");
    EXPECT_TRUE(p.FileList.empty());
    EXPECT_TRUE(p.ReminderStarts.empty());
    for (const TCHMProject* window : {&p.ChmWindow, &p.WebsiteWindow, &p.EbookWindow, &p.FaqWindow}) {
        EXPECT_EQ(window->Top, 0);
        EXPECT_EQ(window->Left, 0);
        EXPECT_EQ(window->Width, 0);
        EXPECT_EQ(window->Height, 0);
        EXPECT_FALSE(window->Content);
        EXPECT_FALSE(window->ShowPane);
        EXPECT_EQ(window->Title, "");
    }
}

TEST(ProjectFile, ValuesThatDoNotParseTakeTheirMissingValue) {
    TProjectOption p(SetupDir);
    p.LoadFromIni(IniFile::Parse("[GENERAL]\ncbChm=5\ncbFAQ=yes\nedtAtLeast=0x10\nseStart=abc\n"));
    EXPECT_TRUE(p.OutputChm);
    EXPECT_FALSE(p.OutputFaq);
    EXPECT_EQ(p.AtLeastBlankLines, 16);
    EXPECT_EQ(p.CounterStart, 0);
    p.LoadFromIni(IniFile::Parse("[GENERAL]\nedtAtLeast=abc\n"));
    EXPECT_EQ(p.AtLeastBlankLines, 1);
}

TEST(ProjectFile, ListsLoadTheirCountWithEmptyItemsForMissingKeys) {
    TProjectOption p(SetupDir);
    p.LoadFromIni(
        IniFile::Parse("[GENERAL]\nlbFileList=3\nlbFileList.0=a.txt\nlbReminders=-2\nlbTermsEnds=2000000000\n"));
    EXPECT_EQ(p.FileList, (StringList{"a.txt", "", ""}));
    EXPECT_TRUE(p.ReminderStarts.empty());
    EXPECT_TRUE(p.TermsEnds.empty());  // an absurd count reads as missing instead of exhausting memory
}

TEST(ProjectFile, TrailingBlanksOfTextValuesDoNotSurvive) {
    TempFolder folder;
    TProjectOption p(SetupDir);
    p.JoinLinesSign = "- ";
    p.SaveToFile(folder / "p.lfx");
    TProjectOption loaded(SetupDir);
    loaded.LoadFromFile(folder / "p.lfx");
    EXPECT_EQ(loaded.JoinLinesSign, "-");
}

TEST(ProjectFile, SetupDirMacroMatchesCaseAndOnlyForMacroFields) {
    TProjectOption p("/Tools/Conv");
    EXPECT_EQ(p.EncodePath("/Tools/Conv/Samples/a.txt"), "{SetupDir}/Samples/a.txt");
    EXPECT_EQ(p.EncodePath("/tools/conv/x.txt"), "/tools/conv/x.txt");
    EXPECT_EQ(p.DecodePath("{SetupDir}/a:{SetupDir}/b"), "/Tools/Conv/a:/Tools/Conv/b");
    p.OutDir = "/Tools/Conv/out";
    p.SourcePath = "/Tools/Conv/res";
    IniFile ini = IniFile::Parse(p.ToIniText());
    EXPECT_EQ(ini.ReadString("GENERAL", "edtOutDir"), "/Tools/Conv/out");
    EXPECT_EQ(ini.ReadString("GENERAL", "edtSourcePath"), "{SetupDir}/res");
    EXPECT_EQ(TProjectOption("").EncodePath("/a"), "/a");  // no program folder, nothing to replace
}

TEST(ProjectFile, SavingOverAFileDropsItsOtherSectionsAndKeys) {
    TempFolder folder;
    WriteFile(folder / "p.lfx", "[GENERAL]\nextra=1\n[Other]\nkey=value\n");
    TProjectOption(SetupDir).SaveToFile(folder / "p.lfx");
    EXPECT_EQ(ReadFile(folder / "p.lfx"), Golden("new_project.lfx"));
}

TEST(ProjectFile, AFailedSaveKeepsTheOldFile) {
    TempFolder folder;
    WriteFile(folder / "p.lfx", "old project");
    TProjectOption p(SetupDir);
    p.ProjectTitle = "broken\r\ntitle";
    EXPECT_THROW(p.SaveToFile(folder / "p.lfx"), ESettingError);
    EXPECT_EQ(ReadFile(folder / "p.lfx"), "old project");
}

TEST(ProjectFile, SavingThroughALinkReplacesTheLinkedFile) {
    TempFolder folder;
    WriteFile(folder / "real.lfx", "old");
    std::filesystem::create_symlink(folder / "real.lfx", folder / "link.lfx");
    TProjectOption(SetupDir).SaveToFile(folder / "link.lfx");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.lfx"));
    EXPECT_EQ(ReadFile(folder / "real.lfx"), Golden("new_project.lfx"));
}

TEST(ProjectFile, AnUnreadableFileRaisesAndChangesNothing) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.lfx");
    TProjectOption p = FilledProject();
    EXPECT_THROW(p.LoadFromFile(folder / "folder.lfx"), EFileError);
    EXPECT_TRUE(p.SameStoredValues(FilledProject()));
}

TEST(ProjectFile, RelativePathsAreTakenFromTheProjectFolder) {
    TempFolder folder;
    TProjectOption(SetupDir).SaveToFile(folder / "p.lfx");
    TProjectOption p(SetupDir);
    p.LoadFromFile(folder / "p.lfx");
    EXPECT_EQ(p.ResolvePath("text/a.txt"), folder / "text/a.txt");
    EXPECT_EQ(p.ResolvePath("/abs/a.txt"), "/abs/a.txt");
}

TEST(ProjectFile, GarbageLoadsAsMissingValues) {
    TempFolder folder;
    std::string garbage;
    uint32_t state = 99;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1664525u + 1013904223u;
        garbage += static_cast<char>(state >> 24);
    }
    WriteFile(folder / "garbage.lfx", garbage + "\n[GENERAL]\nlbFileList=99999999\ncbChm=\xff\n");
    TProjectOption p(SetupDir);
    p.LoadFromFile(folder / "garbage.lfx");
    EXPECT_TRUE(p.FileList.empty());
    EXPECT_FALSE(p.OutputChm);
    EXPECT_EQ(p.AtLeastBlankLines, 1);
}

TEST(HelpWindowOptions, ConstructorDefaults) {
    TCHMProject w;
    EXPECT_EQ(w.Left, 100);
    EXPECT_EQ(w.Top, 70);
    EXPECT_EQ(w.Width, 600);
    EXPECT_EQ(w.Height, 420);
    EXPECT_EQ(w.PaneWidth, 200);
    EXPECT_EQ(w.DefaultTab, 0);
    EXPECT_TRUE(w.Content && w.Index && w.Search && w.Favorite);
    EXPECT_TRUE(w.Hide && w.Locate && w.Back && w.bForward && w.Stop && w.Refresh && w.Home && w.Print && w.Option);
    EXPECT_FALSE(w.Jump1 || w.Jump2);
    EXPECT_EQ(w.TocFont, ",8,0");
}

}  // namespace
}  // namespace leafsmith
