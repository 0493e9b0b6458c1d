#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(IniReading, TrimsSkipsCommentsAndMatchesNamesWithoutCase) {
    IniFile ini = IniFile::Parse(
        "ignored=before any section\r\n"
        "  [ General ]  \r\n"
        "; a comment=1\n"
        "\n"
        "  Title =  My help  \r\n"
        "NoEqualsSign\r\n"
        "Path=a=b\r\n"
        "[Other]\r"
        "Title=second\r");
    EXPECT_EQ(ini.ReadString("GENERAL", "title"), "My help");
    EXPECT_EQ(ini.ReadString("general", "PATH"), "a=b");
    EXPECT_FALSE(ini.KeyExists("general", "; a comment"));
    EXPECT_FALSE(ini.KeyExists("general", "ignored"));
    EXPECT_FALSE(ini.KeyExists("general", "NoEqualsSign"));
    EXPECT_EQ(ini.ReadString("OTHER", "Title"), "second");
    EXPECT_EQ(ini.ReadString("Missing", "Title", "fallback"), "fallback");
}

TEST(IniReading, FirstOccurrenceOfAKeyWinsAndRepeatedSectionsMerge) {
    IniFile ini = IniFile::Parse("[A]\nk=1\nK=2\n[B]\nx=9\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini.ReadString("A", "k"), "1");
    EXPECT_EQ(ini.ReadString("A", "j"), "4");
}

TEST(IniReading, IntegersAreDecimalOrHexadecimal) {
    IniFile ini = IniFile::Parse(
        "[S]\ndec=-12\nhex=0x10\nHEX=0X1f\ndollar=$FF\nshort=0x\nbad=abc\nhuge=2147483648\nwrap=0xFFFFFFFF\n"
        "space=1 2\nplus=+5\nsignedhex=-0x3\nsigneddollar=-$3\nplushex=+0x3\n");
    EXPECT_EQ(ini.ReadInteger("S", "dec", 7), -12);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 7), 16);
    EXPECT_EQ(ini.ReadInteger("S", "dollar", 7), 255);
    EXPECT_EQ(ini.ReadInteger("S", "short", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "huge", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "wrap", 7), -1);
    EXPECT_EQ(ini.ReadInteger("S", "space", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "plus", 7), 5);
    EXPECT_EQ(ini.ReadInteger("S", "signedhex", 7), 7);  // only decimal numbers take a sign
    EXPECT_EQ(ini.ReadInteger("S", "signeddollar", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "plushex", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "absent", 7), 7);
}

TEST(IniReading, BooleansAreNonzeroIntegers) {
    IniFile ini = IniFile::Parse("[S]\nfive=5\nzero=0\nyes=yes\nhexzero=0x0\n");
    EXPECT_TRUE(ini.ReadBool("S", "five", false));
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_FALSE(ini.ReadBool("S", "yes", false));
    EXPECT_TRUE(ini.ReadBool("S", "yes", true));  // unreadable gives the missing value
    EXPECT_FALSE(ini.ReadBool("S", "hexzero", true));
}

TEST(IniReading, AByteOrderMarkDoesNotHideTheFirstSection) {
    IniFile ini = IniFile::Parse("\xEF\xBB\xBF[GENERAL]\r\nk=v\r\n");
    EXPECT_EQ(ini.ReadString("GENERAL", "k"), "v");
}

TEST(IniReading, GarbageNeverFails) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    garbage += "\n[\n]\n[]\n=\n==\n[x\nx]\n";
    IniFile ini = IniFile::Parse(garbage);
    EXPECT_EQ(ini.ReadString("nothing", "here"), "");
    EXPECT_TRUE(ini.SectionExists(""));
}

TEST(IniWriting, KeepsOrderReplacesInPlaceAndEndsEverySectionWithAnEmptyLine) {
    IniFile ini;
    ini.WriteString("First", "b", "2");
    ini.WriteString("First", "a", "1");
    ini.WriteInteger("Second", "n", -3);
    ini.WriteBool("Second", "f", true);
    ini.WriteString("FIRST", "B", "two");
    EXPECT_EQ(ini.Serialize(), "[First]\r\nb=two\r\na=1\r\n\r\n[Second]\r\nn=-3\r\nf=1\r\n\r\n");
}

TEST(IniWriting, RefusesLineBreaksInValues) {
    IniFile ini;
    ini.WriteString("S", "title", "one\ntwo");
    try {
        ini.Serialize();
        FAIL() << "no error";
    } catch (const ESettingError& error) {
        EXPECT_NE(std::string(error.what()).find("title in [S]"), std::string::npos);
    }
}

TEST(IniWriting, AFailedSaveLeavesTheOldFile) {
    TempFolder folder;
    WriteFile(folder / "p.lfx", "old");
    IniFile bad;
    bad.WriteString("S", "k", "line\rbreak");
    EXPECT_THROW(bad.SaveAtomically(folder / "p.lfx"), ESettingError);
    EXPECT_EQ(ReadFile(folder / "p.lfx"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);  // no temporary left

    IniFile good;
    good.WriteString("S", "k", "v");
    good.SaveAtomically(folder / "p.lfx");
    EXPECT_EQ(ReadFile(folder / "p.lfx"), "[S]\r\nk=v\r\n\r\n");
    EXPECT_THROW(good.SaveAtomically(folder / "missing/p.lfx"), EFileError);
}

}  // namespace
}  // namespace leafsmith
