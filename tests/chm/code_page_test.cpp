// The code page of a help file's language, and text converted into it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "chm/code_page.h"

namespace leafsmith::chm {
namespace {

TEST(CodePage, OfLanguage) {
    EXPECT_EQ(AnsiCodePageOfLanguage(0x409), 1252u);  // English
    EXPECT_EQ(AnsiCodePageOfLanguage(0x407), 1252u);  // German
    EXPECT_EQ(AnsiCodePageOfLanguage(0x415), 1250u);  // Polish
    EXPECT_EQ(AnsiCodePageOfLanguage(0x419), 1251u);  // Russian
    EXPECT_EQ(AnsiCodePageOfLanguage(0x408), 1253u);  // Greek
    EXPECT_EQ(AnsiCodePageOfLanguage(0x41F), 1254u);  // Turkish
    EXPECT_EQ(AnsiCodePageOfLanguage(0x41E), 874u);   // Thai
    EXPECT_EQ(AnsiCodePageOfLanguage(0x411), 932u);   // Japanese
    EXPECT_EQ(AnsiCodePageOfLanguage(0x412), 949u);   // Korean
    EXPECT_EQ(AnsiCodePageOfLanguage(0x804), 936u);   // Chinese PRC
    EXPECT_EQ(AnsiCodePageOfLanguage(0x1004), 936u);  // Chinese Singapore
    EXPECT_EQ(AnsiCodePageOfLanguage(0x404), 950u);   // Chinese Taiwan
    EXPECT_EQ(AnsiCodePageOfLanguage(0xC04), 950u);   // Chinese Hong Kong
    EXPECT_EQ(AnsiCodePageOfLanguage(0x41A), 1250u);  // Croatian
    EXPECT_EQ(AnsiCodePageOfLanguage(0x81A), 1250u);  // Serbian Latin
    EXPECT_EQ(AnsiCodePageOfLanguage(0xC1A), 1251u);  // Serbian Cyrillic
    EXPECT_EQ(AnsiCodePageOfLanguage(0x42C), 1254u);  // Azeri Latin
    EXPECT_EQ(AnsiCodePageOfLanguage(0x82C), 1251u);  // Azeri Cyrillic
    EXPECT_EQ(AnsiCodePageOfLanguage(0x443), 1254u);  // Uzbek Latin
    EXPECT_EQ(AnsiCodePageOfLanguage(0x843), 1251u);  // Uzbek Cyrillic
    EXPECT_EQ(AnsiCodePageOfLanguage(0x80A), 1252u);  // Spanish, Mexico: by primary language
    EXPECT_EQ(AnsiCodePageOfLanguage(0x439), 0u);     // Hindi
    EXPECT_EQ(AnsiCodePageOfLanguage(0x42B), 0u);     // Armenian
}

TEST(CodePage, EveryCodePageOfTheTableCanBeConvertedInto) {
    std::set<unsigned> codePages;
    for (std::uint32_t lcid = 0; lcid <= 0xFFFF; ++lcid)
        codePages.insert(AnsiCodePageOfLanguage(lcid));
    EXPECT_EQ(codePages,
              (std::set<unsigned>{0, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));
    for (unsigned codePage : codePages) {
        CodePageConverter converter(codePage);
        EXPECT_EQ(converter.CodePage(), codePage == 0 ? 1252u : codePage);
        EXPECT_EQ(converter.Convert("abc 123"), "abc 123") << codePage;
    }
}

TEST(CodePage, ConvertsAndRefusesWhatTheCodePageLacks) {
    struct Case {
        unsigned CodePage;
        std::string Utf8;
        std::string Bytes;
    };
    const Case cases[] = {
        {1252, "Ä € Straß", "\xC4 \x80 Stra\xDF"},
        {1250, "Zażółć", "Za\xBF\xF3\xB3\xE6"},
        {1251, "Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {1253, "Ελλάδα", "\xC5\xEB\xEB\xDC\xE4\xE1"},
        {936, "中文", "\xD6\xD0\xCE\xC4"},
        {950, "中文", "\xA4\xA4\xA4\xE5"},
        {932, "日本カナ", "\x93\xFA\x96\x7B\x83\x4A\x83\x69"},
        {949, "한국", "\xC7\xD1\xB1\xB9"},
    };
    for (const Case& c : cases) {
        CodePageConverter converter(c.CodePage);
        std::string out;
        EXPECT_TRUE(converter.TryConvert(c.Utf8, out)) << c.CodePage;
        EXPECT_EQ(out, c.Bytes) << c.CodePage;
        EXPECT_EQ(converter.Convert(c.Utf8), c.Bytes) << c.CodePage;
    }

    CodePageConverter western(1252);
    std::string out;
    EXPECT_FALSE(western.TryConvert("café П", out));
    EXPECT_FALSE(western.TryConvert("bad \xC3", out));
    EXPECT_EQ(western.Convert("aПиb 中€"), "a??b ?\x80");
    EXPECT_EQ(western.Convert("x\xFFy\xC3"), "x?y?");
    EXPECT_TRUE(western.TryConvert("", out));
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace leafsmith::chm
