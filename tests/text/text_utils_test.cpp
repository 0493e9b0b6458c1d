#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/errors.h"
#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(TextUtils, TextAlreadyInCrLfIsRecognisedExactlyWhenConvertingWouldNotChangeIt) {
    for (const char* text : {"", "a\r\n", "a\r\nb\r\n", "\r\n\r\n", "a", "a\n", "a\r", "a\r\nb", "a\n\r\n", "a\r\r\n",
                             "\n", "\r", "a\r\n\rb\r\n"}) {
        EXPECT_EQ(IsCrLfText(text), ToCrLfLines(text) == text) << ::testing::PrintToString(std::string(text));
    }
}

TEST(TextUtils, PosFromCountsFromOneAndGivesZeroWhenAbsent) {
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2u);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4u);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0u);  // start past the end
    EXPECT_EQ(PosFrom("x", "abcb", 1), 0u);
    EXPECT_EQ(PosFrom("B", "abcb", 1), 0u);  // case counts
}

TEST(TextUtils, SplitTrimKeepsEmptyPiecesAndTrims) {
    EXPECT_EQ(SplitTrim(" a | b |", "|"), (StringList{"a", "b", ""}));
    EXPECT_EQ(SplitTrim("", "|"), StringList{});
    EXPECT_EQ(SplitTrim("\tone\t", "|"), StringList{"one"});
    EXPECT_EQ(SplitTrim("||", "|"), (StringList{"", "", ""}));
}

TEST(TextUtils, JoinListPutsSeparatorsOnlyBetween) {
    EXPECT_EQ(JoinList({"a", "b", "c"}, ";"), "a;b;c");
    EXPECT_EQ(JoinList({}, ";"), "");
    EXPECT_EQ(JoinList({""}, ";"), "");
}

TEST(TextUtils, SplitNameValueTakesTheFirstTwoPieces) {
    NameValue both = SplitNameValue(" toc.htm : index.htm : extra");
    EXPECT_EQ(both.Name, "toc.htm");
    EXPECT_EQ(both.Value, "index.htm");
    NameValue nameOnly = SplitNameValue("style.css");
    EXPECT_EQ(nameOnly.Name, "style.css");
    EXPECT_EQ(nameOnly.Value, "");
    NameValue empty = SplitNameValue("");
    EXPECT_EQ(empty.Name, "");
    EXPECT_EQ(empty.Value, "");
}

TEST(TextUtils, RemoveMarkedRangesRemovesMarkersAndKeepsAnUnclosedStart) {
    EXPECT_EQ(RemoveMarkedRanges("a<s>x</s>b<s>y</s>c", "<s>", "</s>"), "abc");
    EXPECT_EQ(RemoveMarkedRanges("a<s>x</s>b<s>y", "<s>", "</s>"), "ab<s>y");
    EXPECT_EQ(RemoveMarkedRanges("a</s>b<s>c</s>", "<s>", "</s>"), "a</s>b");
    EXPECT_EQ(RemoveMarkedRanges("a<S>x</s>", "<s>", "</s>"), "a<S>x</s>");  // case counts
}

TEST(TextUtils, EncodeHtmlEncodesAmpersandFirst) {
    EXPECT_EQ(EncodeHtml("<a href=\"x&y\">&amp;</a>"), "&lt;a href=&quot;x&amp;y&quot;&gt;&amp;amp;&lt;/a&gt;");
    EXPECT_EQ(EncodeHtml("caf\xC3\xA9"), "caf\xC3\xA9");  // bytes above 127 pass unchanged
}

TEST(TextUtils, DropLeadingBlankLinesStopsAtTheFirstText) {
    StringList lines{"", "  ", "\t", "text", ""};
    DropLeadingBlankLines(lines);
    EXPECT_EQ(lines, (StringList{"text", ""}));
    StringList blank{" ", ""};
    DropLeadingBlankLines(blank);
    EXPECT_TRUE(blank.empty());
}

TEST(TextUtils, IsIntegerAcceptsWholeNumbersOnly) {
    EXPECT_TRUE(IsInteger("42"));
    EXPECT_TRUE(IsInteger(" -7"));
    EXPECT_TRUE(IsInteger("$1F"));
    EXPECT_TRUE(IsInteger("0x10"));
    EXPECT_FALSE(IsInteger("4 2"));
    EXPECT_FALSE(IsInteger("7 "));
    EXPECT_FALSE(IsInteger(""));
    EXPECT_FALSE(IsInteger("2147483648"));
    EXPECT_FALSE(IsInteger("1.5"));
}

TEST(TextFiles, ReadTextFileEndsEveryLineWithCrLf) {
    TempFolder folder;
    WriteFile(folder / "a.txt", "one\ntwo\r\nthree\rfour");
    EXPECT_EQ(ReadTextFile(folder / "a.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n");
    WriteFile(folder / "b.txt", "x\n\n");
    EXPECT_EQ(ReadTextFile(folder / "b.txt"), "x\r\n\r\n");
    WriteFile(folder / "empty.txt", "");
    EXPECT_EQ(ReadTextFile(folder / "empty.txt"), "");
}

TEST(TextFiles, ReadTextFileOfAMissingFileNamesIt) {
    TempFolder folder;
    try {
        ReadTextFile(folder / "missing.htm");
        FAIL() << "no error";
    } catch (const EFileError& error) {
        EXPECT_NE(std::string(error.what()).find("missing.htm"), std::string::npos);
    }
}

TEST(TextFiles, WriteTextFileWritesCrLfLinesAndCreatesNoFolder) {
    TempFolder folder;
    EXPECT_TRUE(WriteTextFile(folder / "out.htm", "a\nb\rc\r\nd"));
    EXPECT_EQ(ReadFile(folder / "out.htm"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_THROW(WriteTextFile(folder / "no/such/folder.htm", "x"), EFileError);
}

TEST(FolderTrees, DeleteFolderTreeRemovesEverythingButNeverTheRoot) {
    TempFolder folder;
    WriteFile(folder / "old/html/a.htm", "a");
    WriteFile(folder / "old/b.htm", "b");
    fs::create_symlink(folder / "keep", folder / "old/link");
    WriteFile(folder / "keep/c.htm", "c");
    EXPECT_TRUE(DeleteFolderTree(folder / "old"));
    EXPECT_FALSE(fs::exists(folder / "old"));
    EXPECT_TRUE(fs::exists(folder / "keep/c.htm"));  // a link is removed, not followed
    EXPECT_FALSE(DeleteFolderTree(""));
    EXPECT_FALSE(DeleteFolderTree("/"));
}

TEST(FolderTrees, StarDotStarCopiesEveryFileAndFolder) {
    TempFolder folder;
    WriteFile(folder / "res/a.gif", "A");
    WriteFile(folder / "res/README", "R");  // no dot in the name
    WriteFile(folder / "res/sub/b.png", "B");
    EXPECT_TRUE(CopyFolderTree(folder / "res/*.*", folder / "out/html/images"));
    EXPECT_EQ(ReadFile(folder / "out/html/images/a.gif"), "A");
    EXPECT_EQ(ReadFile(folder / "out/html/images/README"), "R");
    EXPECT_EQ(ReadFile(folder / "out/html/images/sub/b.png"), "B");
}

TEST(FolderTrees, PatternTakesOnlyMatchingNamesWithoutRegardToCase) {
    TempFolder folder;
    WriteFile(folder / "icons/cplus.gif", "+");
    WriteFile(folder / "icons/CMinus.gif", "-");
    WriteFile(folder / "icons/1.gif", "1");
    WriteFile(folder / "icons/c[1].gif", "bracket");
    EXPECT_TRUE(CopyFolderTree(folder / "icons/c*.*", folder / "out/icons/"));
    EXPECT_TRUE(fs::exists(folder / "out/icons/cplus.gif"));
    EXPECT_TRUE(fs::exists(folder / "out/icons/CMinus.gif"));
    EXPECT_TRUE(fs::exists(folder / "out/icons/c[1].gif"));
    EXPECT_FALSE(fs::exists(folder / "out/icons/1.gif"));
}

TEST(FolderTrees, FilesGoIntoFoldersOrBecomeTheTarget) {
    TempFolder folder;
    WriteFile(folder / "group/style.css", "css");
    WriteFile(folder / "group/images/logo.gif", "logo");
    WriteFile(folder / "old.css", "old");
    // Into a folder named with a trailing slash, created when missing.
    EXPECT_TRUE(CopyFolderTree(folder / "group/style.css", folder / "out/css/"));
    EXPECT_EQ(ReadFile(folder / "out/css/style.css"), "css");
    // As the target name, replacing an existing file.
    WriteFile(folder / "out/main.css", "old");
    EXPECT_TRUE(CopyFolderTree(folder / "group/style.css", folder / "out/main.css"));
    EXPECT_EQ(ReadFile(folder / "out/main.css"), "css");
    // A folder becomes a missing target, and goes into an existing one.
    EXPECT_TRUE(CopyFolderTree(folder / "group/images", folder / "out/pictures"));
    EXPECT_EQ(ReadFile(folder / "out/pictures/logo.gif"), "logo");
    EXPECT_TRUE(CopyFolderTree(folder / "group/images", folder / "out/css"));
    EXPECT_EQ(ReadFile(folder / "out/css/images/logo.gif"), "logo");
    EXPECT_FALSE(CopyFolderTree(folder / "group/missing.gif", folder / "out/"));
}

TEST(FolderTrees, CopyingIntoASubfolderOfTheSourceDoesNotRecurseIntoTheCopy) {
    TempFolder folder;
    WriteFile(folder / "res/a.gif", "A");
    WriteFile(folder / "res/out/old.htm", "an earlier build");
    EXPECT_TRUE(CopyFolderTree(folder / "res/*.*", folder / "res/out/images"));
    EXPECT_EQ(ReadFile(folder / "res/out/images/a.gif"), "A");
    EXPECT_FALSE(fs::exists(folder / "res/out/images/out"));
    EXPECT_TRUE(CopyFolderTree(folder / "res", folder / "res/copy"));
    EXPECT_EQ(ReadFile(folder / "res/copy/a.gif"), "A");
    EXPECT_FALSE(fs::exists(folder / "res/copy/copy"));
}

TEST(FolderTrees, IsInsideFolderResolvesDotDot) {
    EXPECT_TRUE(IsInsideFolder("/out/CHM/html/1.htm", "/out/"));
    EXPECT_TRUE(IsInsideFolder("/out/CHM/../WEB/x.htm", "/out"));
    EXPECT_TRUE(IsInsideFolder("/out", "/out/"));
    EXPECT_FALSE(IsInsideFolder("/out/../etc/passwd", "/out"));
    EXPECT_FALSE(IsInsideFolder("/output/x", "/out"));
    EXPECT_FALSE(IsInsideFolder("/", "/out"));
}

TEST(Waiting, WaitProcessingCallsTheHookUntilTheTimeHasPassed) {
    int calls = 0;
    auto start = std::chrono::steady_clock::now();
    WaitProcessing(30, [&] { ++calls; });
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_GE(calls, 2);
    calls = 0;
    WaitProcessing(0, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace leafsmith
