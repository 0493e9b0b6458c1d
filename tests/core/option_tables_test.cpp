#include "core/option_tables.h"

#include <gtest/gtest.h>

namespace leafsmith {
namespace {

TEST(OptionTables, RowsAtTheirStoredPositions) {
    EXPECT_EQ(EncodingItems[0], "Arabic; Windows-1256");
    EXPECT_EQ(EncodingItems[23], "Unicode UTF-8; UTF-8");
    EXPECT_EQ(EncodingItems[27], "<None>; ");
    EXPECT_EQ(CharacterSetItems[7], "134 GB2312 - (PRC) Chinese (Simplified)");
    EXPECT_EQ(CharacterSetItems[22], "255 OEM");
    EXPECT_EQ(LanguageItems[0], "0x0436 Afrikaans");
    EXPECT_EQ(LanguageItems[DefaultLanguageIndex], "0x0409 English (United States)");
    EXPECT_EQ(LanguageItems[121], "0x0435 Zulu");
}

TEST(OptionTables, CharsetNameIsTheTrimmedTextAfterTheSemicolon) {
    EXPECT_EQ(CharsetName(26), "Windows-1252");
    EXPECT_EQ(CharsetName(1), "iso-8869-4");
    EXPECT_EQ(CharsetName(5), "iso_8859-5");
    EXPECT_EQ(CharsetName(27), "");
    EXPECT_EQ(CharsetName(-1), "");
    EXPECT_EQ(CharsetName(28), "");
}

TEST(OptionTables, LanguageAndFontStrings) {
    EXPECT_EQ(LanguageString(34), "0x0409 English (United States)");
    EXPECT_EQ(LanguageString(-1), "");
    EXPECT_EQ(CharacterSetNumber(3), "77");
    EXPECT_EQ(CharacterSetNumber(4), "128");
    EXPECT_EQ(FontString("Tahoma", "8", 0), "Tahoma,8,0");
    EXPECT_EQ(FontString("Arial", "10", 3), "Arial,10,77");
    EXPECT_EQ(FontString("Arial", "", 3), "Arial,,77");
    EXPECT_EQ(FontString("Arial", "10", 99), "Arial,10,");
}

}  // namespace
}  // namespace leafsmith
