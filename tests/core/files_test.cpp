// The file layer under a build: what it reads, how it writes, the folder lock.
#include "core/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "core/folder_lock.h"
#include "core/strings.h"
#include "test_support.h"
#include "text/text_utils.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ELeafsmithError& error) {
        return error.what();
    }
    return "no error";
}

TEST(OutputFiles, ReplaceLinksAndSharedFilesInsteadOfWritingThroughThem) {
    TempFolder folder;
    WriteFile(folder / "elsewhere.txt", "elsewhere");
    WriteFile(folder / "shared.txt", "shared");
    fs::create_directories(folder / "out");
    fs::create_symlink(folder / "elsewhere.txt", folder / "out/link.htm");
    fs::create_hard_link(folder / "shared.txt", folder / "out/hard.htm");
    WriteFileBytes(folder / "out/link.htm", "page");
    CopyFileBytes(folder / "out/link.htm", folder / "out/hard.htm");
    EXPECT_FALSE(fs::is_symlink(folder / "out/link.htm"));
    EXPECT_EQ(ReadFile(folder / "out/link.htm"), "page");
    EXPECT_EQ(ReadFile(folder / "out/hard.htm"), "page");
    EXPECT_EQ(ReadFile(folder / "elsewhere.txt"), "elsewhere");
    EXPECT_EQ(ReadFile(folder / "shared.txt"), "shared");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 2);  // no temporaries
    EXPECT_EQ(ErrorOf([&] { WriteFileBytes(folder / "out", "x"); }),
              "Cannot write \"" + folder / "out" + "\": Is a directory");
}

TEST(OutputFiles, LinksInAnOldTreeAreRemovedAndTheirTargetsKept) {
    TempFolder folder;
    WriteFile(folder / "elsewhere/file.txt", "file");
    WriteFile(folder / "old/html/page.htm", "page");
    fs::create_symlink(folder / "elsewhere/file.txt", folder / "old/html/1.htm");
    fs::create_symlink(folder / "elsewhere", folder / "old/html/pictures");
    RemoveLinksInTree(folder / "old");
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "old/html/1.htm")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "old/html/pictures")));
    EXPECT_TRUE(fs::exists(folder / "old/html/page.htm"));
    EXPECT_EQ(ReadFile(folder / "elsewhere/file.txt"), "file");
    fs::create_symlink(folder / "elsewhere", folder / "linked-old");
    RemoveLinksInTree(folder / "linked-old");
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "linked-old")));
    EXPECT_TRUE(fs::exists(folder / "elsewhere/file.txt"));
}

TEST(InputFiles, OnlyRegularFilesAreReadAndNoPathWithANulByte) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(folder / "pipe"); }),
              "Cannot open \"" + folder / "pipe" + "\": it is a named pipe, not a regular file");
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes("/dev/zero"); }),
              "Cannot open \"/dev/zero\": it is a device, not a regular file");
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(folder.Path()); }),
              "Cannot open \"" + folder.Path() + "\": it is a folder, not a regular file");
    WriteFile(folder / "a", "a");
    const std::string cut = folder / std::string("a\0/../b", 7);
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(cut); }),
              "Cannot use \"" + folder / "a\\x00/../b" + "\": the path holds a NUL byte");
    EXPECT_EQ(ErrorOf([&] { WriteFileBytes(cut, "x"); }),
              "Cannot use \"" + folder / "a\\x00/../b" + "\": the path holds a NUL byte");
    EXPECT_FALSE(DeleteFolderTree(cut));
    EXPECT_EQ(ReadFile(folder / "a"), "a");
}

TEST(InputFiles, ACopyConfinedToAFolderRefusesLinksLeadingOut) {
    TempFolder folder;
    WriteFile(folder / "secret.txt", "secret");
    WriteFile(folder / "group/img/a.gif", "a");
    fs::create_symlink(folder / "secret.txt", folder / "group/img/b.gif");
    EXPECT_EQ(
        ErrorOf([&] { CopyFolderTreeOrRaise(folder / "group/img/*.*", folder / "out", folder / "group/"); }),
        "Cannot copy \"" + folder / "group/img/b.gif" + "\": it lies outside the folder \"" + folder / "group/" + "\"");
    EXPECT_FALSE(fs::exists(folder / "out/b.gif"));
    CopyFolderTreeOrRaise(folder / "group/img/*.*", folder / "out");  // the user's own resources may link out
    EXPECT_EQ(ReadFile(folder / "out/b.gif"), "secret");
}

TEST(FolderLocks, ASecondLockFailsAndNamesTheHolderUntilTheFirstEnds) {
    TempFolder folder;
    {
        FolderLock first(folder.Path());
        EXPECT_EQ(ErrorOf([&] { FolderLock second(folder.Path()); }),
                  "Another build (process " + std::to_string(::getpid()) + ", " + Trim(ReadFile("/proc/self/comm")) +
                      ") is writing into the output folder \"" + folder.Path() +
                      "\"; wait until it has ended, or choose another output folder.");
    }
    FolderLock again(folder.Path());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 0);  // no lock file
}

}  // namespace
}  // namespace leafsmith
