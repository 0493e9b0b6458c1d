// Reading the title, words, links and anchors of HTML pages for the search index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chm/page_words.h"

namespace leafsmith::chm {
namespace {

using Words = std::vector<std::string>;

TEST(PageWords, DecodesReferencesAndLowerCasesWordsOfTitleAndBody) {
    PageWords page = ReadPageWords(
        "<html><head><title>  Caf&eacute; &amp;\n Stra&szlig;e </title></head>"
        "<body class=\"main\" onload=\"init('<p>')\"><h1>Über ÄRGER</h1>"
        "<p>na&iuml;ve <b>bo</b>l<span class=\"x\">d</span><br>split&nbsp;x&#x4E2D;&#25991; r&eacute;sum&eacute"
        " &copy2024 &#138;koda &apos;q&apos; co&shy;operate &unknown; &#0;</p></body></html>",
        "CP1252");
    EXPECT_EQ(page.Title, "Café & Straße");
    EXPECT_EQ(page.TitleWords.ToVector(), (Words{"café", "straße"}));
    EXPECT_EQ(page.BodyWords.ToVector(), (Words{"über", "ärger", "naïve", "bold", "split", "x", "中", "文", "résumé",
                                                "2024", "škoda", "q", "cooperate", "unknown"}));

    PageWords unended = ReadPageWords("<title>No end<p id=a>Text", "CP1252");
    EXPECT_EQ(unended.Title, "No end");
    EXPECT_EQ(unended.BodyWords.ToVector(), (Words{"text"}));
    EXPECT_EQ(unended.Anchors, (Words{"a"}));
}

TEST(PageWords, SkipsScriptStyleAndCommentsAndReadsPagesWithoutTags) {
    PageWords page = ReadPageWords(
        "Al<!-- hidden -->pha <script>var gamma = '<p>delta</p>';</script><STYLE type=\"text/css\">p { x: y }</STYLE >"
        "epsilon<![CDATA[zeta]]><!DOCTYPE eta><? theta ?><SCRIPT src=\"a.js\"/>iota <!---->kappa 1 < 2",
        "CP1252");
    EXPECT_TRUE(page.Title.empty());
    EXPECT_TRUE(page.TitleWords.empty());
    EXPECT_EQ(page.BodyWords.ToVector(), (Words{"alpha", "epsilon", "zeta", "iota", "kappa", "1", "2"}));
    EXPECT_EQ(page.Links, (Words{"a.js"}));
}

TEST(PageWords, SplitsChineseAndJapaneseIntoCharactersAndKeepsOtherScriptsWhole) {
    PageWords page =
        ReadPageWords("<title>中文</title>ABC漢字def ひらカタ 한국어 МИР Ελλάδα e\u0301té \u0301x", "CP1252");
    EXPECT_EQ(page.TitleWords.ToVector(), (Words{"中", "文"}));
    EXPECT_EQ(page.BodyWords.ToVector(),
              (Words{"abc", "漢", "字", "def", "ひ", "ら", "カ", "タ", "한국어", "мир", "ελλάδα", "e\u0301té", "x"}));
}

TEST(PageWords, ReadsTheDeclaredCharsetOrFallsBack) {
    // Привет мир in Windows-1251
    const std::string russian = "<title>\xCF\xF0\xE8\xE2\xE5\xF2</title><p>\xEC\xE8\xF0</p>";
    PageWords declared = ReadPageWords(
        "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">" + russian, "CP1252");
    EXPECT_EQ(declared.Title, "Привет");
    EXPECT_EQ(declared.BodyWords.ToVector(), (Words{"мир"}));
    EXPECT_EQ(ReadPageWords("<meta charset='WINDOWS-1251'/>" + russian, "CP1252").BodyWords.ToVector(), (Words{"мир"}));

    // No declaration: UTF-8 when the bytes are UTF-8, else the fallback; an unknown charset is no declaration.
    EXPECT_EQ(ReadPageWords("caf\xC3\xA9", "CP1251").BodyWords.ToVector(), (Words{"café"}));
    EXPECT_EQ(ReadPageWords("caf\xE9", "CP1252").BodyWords.ToVector(), (Words{"café"}));
    EXPECT_EQ(ReadPageWords("<meta charset=\"x-nonsense\">caf\xE9", "CP1252").BodyWords.ToVector(), (Words{"café"}));
    EXPECT_EQ(ReadPageWords("<meta charset=\"iso-8859-1\">\x93quoted\x94 caf\xE9", "CP1251").BodyWords.ToVector(),
              (Words{"quoted", "café"}));
    EXPECT_EQ(ReadPageWords("\xEF\xBB\xBF<meta charset=\"windows-1251\">caf\xC3\xA9", "CP1252").BodyWords.ToVector(),
              (Words{"café"}));
    EXPECT_EQ(ReadPageWords("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><p>\x93\xFA\x96\x7B</p>", "CP1252")
                  .BodyWords.ToVector(),
              (Words{"日", "本"}));
}

TEST(PageWords, CollectsLinksAndAnchors) {
    PageWords page = ReadPageWords(
        "<link rel=stylesheet href=\" style.css \"><a href=\"a.htm#x&amp;y\" name=\"top\">go</a>"
        "<IMG SRC='pic.gif' alt=\"href=no.htm\"><div id=sec1 class=\"x\">t</div><p name=\"not\">x</p>"
        "<a href=\"\">self</a><frame src=b.htm><h2 id=\"caf&eacute;\">",
        "CP1252");
    EXPECT_EQ(page.Links, (Words{"style.css", "a.htm#x&y", "pic.gif", "b.htm"}));
    EXPECT_EQ(page.Anchors, (Words{"top", "sec1", "café"}));
    EXPECT_EQ(page.BodyWords.ToVector(), (Words{"go", "t", "x", "self"}));
}

}  // namespace
}  // namespace leafsmith::chm
