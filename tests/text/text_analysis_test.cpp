#include "text/text_analysis.h"

#include <gtest/gtest.h>

#include "core/project_option.h"
#include "core/user_questions.h"
#include "test_support.h"
#include "text/all_text.h"

namespace leafsmith {
namespace {

using testing::TempFolder;
using testing::WriteFile;

class RecordingQuestions : public UserQuestions {
public:
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    Answer AskYesCancelRetry(const std::string&) override { return Answer::Cancel; }
    Answer AskAbortRetry(const std::string&) override { return Answer::Abort; }
    StringList Errors;
};

class Converting : public ::testing::Test {
protected:
    Converting() {
        options.EnableTextAnalysis = true;
        options.ArrowSign = "+";
        options.BulletSign = "*";
        options.NumberingSign = "#";
        options.JoinLinesSign = "-";
        options.DestFolder = "images";
        converter.Options = &options;
        converter.Questions = &questions;
    }

    std::string Convert(StringList lines, int32_t kind = KindChm) {
        converter.LoadSigns();
        converter.OutputKind = kind;
        converter.InputLines = std::move(lines);
        return converter.Convert();
    }

    void AllRulesOn() {
        options.HorizontalLines = options.Subheadings = options.IllustrativeTitles = options.Terms = true;
        options.Reminders = options.ExpandableBlocks = options.Bullets = options.Numbering = true;
        options.SubheadingMaxLen = 15;
        options.IllustrativeTitleMaxLen = 60;
        options.TermsMaxLen = 20;
        options.NotSubheadingEnds = {".", ":"};
        options.IllustrativeEnds = {":"};
        options.ReminderStarts = {"Tip[bs]"};
        options.TermsEnds = {"[BS]-[BS]"};
    }

    TProjectOption options;
    RecordingQuestions questions;
    TLFXText converter;
};

TEST_F(Converting, WithoutAnalysisLinesAreJoinedByBr) {
    options.EnableTextAnalysis = false;
    EXPECT_EQ(Convert({"", "  ", "first", "[B]second[/B] & <x>"}), "first<BR>[B]second[/B] & <x><BR>\r\n");
    options.HtmlEncode = true;
    EXPECT_EQ(Convert({"a & <b>"}), "a &amp; &lt;b&gt;<BR>\r\n");
    EXPECT_EQ(Convert({}), "\r\n");
}

TEST_F(Converting, TheWorkedExample) {
    AllRulesOn();
    options.ReminderStarts = {};
    options.TermsEnds = {"=>"};
    EXPECT_EQ(Convert({"Setup:", "*Copy the files", "-see the notes", "*Run it"}),
              "<span class=\"IllustrativeTitle\">Setup:</span>\r\n"
              "<ul><li>Copy the files<br>see the notes\r\n</li>\r\n<li>Run it</li>\r\n</ul>");
}

TEST_F(Converting, TextLinesAndBlankLines) {
    EXPECT_EQ(Convert({"one", "", "two"}), "one\r\n<br><br>two\r\n");
    EXPECT_EQ(Convert({"one", "", "", "two"}), "one\r\n<br><br><br>two\r\n");
    EXPECT_EQ(Convert({"", "", "one"}), "one\r\n");
    EXPECT_EQ(Convert({}), "");
}

TEST_F(Converting, TextAfterAListAndAfterABlankLine) {
    options.Bullets = true;
    EXPECT_EQ(Convert({"*a", "b"}), "<ul><li>a</li>\r\n</ul>b\r\n");
    EXPECT_EQ(Convert({"*a", "", "b"}), "<ul><li>a</li>\r\n</ul><br>b\r\n");
    EXPECT_EQ(Convert({"*a", "", "*b"}), "<ul><li>a</li>\r\n<li>b</li>\r\n</ul>");
    EXPECT_EQ(Convert({"text", "*a"}), "text\r\n<ul><li>a</li>\r\n</ul>");
}

TEST_F(Converting, RulesComeBeforeLists) {
    options.Bullets = true;
    EXPECT_EQ(Convert({"---"}), "---\r\n");
    options.HorizontalLines = true;
    EXPECT_EQ(Convert({"***", "--", "text"}), "<hr>\r\n<br>--\r\n<br>text\r\n");
}

TEST_F(Converting, GraveAccentMakesAPlainLine) {
    AllRulesOn();
    EXPECT_EQ(Convert({"`*not a list", "`Heading"}), "*not a list\r\n<br>Heading\r\n");
}

TEST_F(Converting, AWholeTagLineSkipsTheDetectors) {
    AllRulesOn();
    EXPECT_EQ(Convert({"[IMG]a.gif[/IMG]"}), "<img src=\"images/a.gif\">\r\n");
    EXPECT_EQ(Convert({"Installation"}), "<span class=\"subheading\">Installation</span>\r\n");
}

TEST_F(Converting, DetectorsInTheirOrder) {
    AllRulesOn();
    EXPECT_EQ(Convert({"tip read this first"}), "<span class=\"reminder\">tip </span>read this first\r\n");
    EXPECT_EQ(Convert({"Term - the meaning"}), "<span class=\"terms\">Term</span> - the meaning\r\n");
    EXPECT_EQ(Convert({"Before you start:"}), "<span class=\"IllustrativeTitle\">Before you start:</span>\r\n");
    EXPECT_EQ(Convert({"Far away term is here - no"}), "Far away term is here - no\r\n");  // past TermsMaxLen
    EXPECT_EQ(Convert({"lower case line"}), "lower case line\r\n");
    EXPECT_EQ(Convert({"A/B"}), "A/B\r\n");
    EXPECT_EQ(Convert({"*Term - in a list", "*`Term - plain"}),
              "<ul><li><span class=\"terms\">Term</span> - in a list</li>\r\n<li>Term - plain</li>\r\n</ul>");
}

TEST_F(Converting, SpecialBlocksOnTheirOwnLineAndInsideALine) {
    EXPECT_EQ(Convert({"a", "[HTML]<b>x</b>[/HTML]", "b"}), "a\r\n<br><b>x</b>b\r\n");
    EXPECT_EQ(Convert({"before [HTML]<i>y</i>[/HTML] after"}), "before <i>y</i> after\r\n");
    EXPECT_EQ(Convert({"[HTML]", "<table>", "</table>", "[/HTML]"}), "\r\n<table>\r\n</table>\r\n\r\n");
}

TEST_F(Converting, TextBlocksKeepTheirInnerLines) {
    EXPECT_EQ(Convert({"[TEXT]", "line1", "  line2 <x>", "[/TEXT]"}), "<PRE>line1\r\n  line2 <x></PRE>\r\n");
}

TEST_F(Converting, SimpleTables) {
    StringList table{"[TABLE]", "Name | Value", "a|1|extra", "b", "[/TABLE]"};
    const std::string rows =
        "<tr class=simpleTable><th class=simpleTable>Name</th><th class=simpleTable>Value</th></tr>"
        "<tr class=simpleTable><td class=simpleTable>a</td><td class=simpleTable>1</td></tr>"
        "<tr class=simpleTable><td class=simpleTable>b</td><td class=simpleTable>&nbsp;</td></tr></table>\r\n";
    EXPECT_EQ(Convert(table), "<table cellspacing=\"1\" class=simpleTable>" + rows);
    EXPECT_EQ(Convert(table, KindSingleHtml),
              "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" class=simpleTable>" + rows);
    EXPECT_EQ(Convert({"[TABLE]only the tag line[/TABLE]"}), "<table cellspacing=\"1\" class=simpleTable></table>\r\n");
}

TEST_F(Converting, BackBlocksAreWrapped) {
    EXPECT_EQ(Convert({"[BACK]", "inside", "[/BACK]"}), "<div class=\"BackBlock\">inside\r\n</div>\r\n");
    EXPECT_EQ(Convert({"[BACK][/BACK]"}), "<div class=\"BackBlock\"></div>\r\n");
}

TEST_F(Converting, NestedBlocksConvertTheirContentOnItsOwn) {
    options.Bullets = true;
    EXPECT_EQ(Convert({"[BLOCK]", "*one", "[BLOCK]", "two", "[/BLOCK]", "[/BLOCK]"}),
              "<ul><li>one</li>\r\n</ul>two\r\n\r\n\r\n");
    EXPECT_EQ(Convert({"[BLOCK][/BLOCK]"}), "\r\n");
}

TEST_F(Converting, UnclosedBlocksStayAsText) {
    EXPECT_EQ(Convert({"[BLOCK]", "a", "[BLOCK]", "b", "[/BLOCK]"}),
              "[BLOCK]\r\n<br>a\r\n<br>[BLOCK]\r\n<br>b\r\n<br>[/BLOCK]\r\n");
    EXPECT_EQ(Convert({"[HTML]never closed", "[B]x"}), "[HTML]never closed\r\n<br>[B]x\r\n");
}

TEST_F(Converting, EscapesInsideStoredBlocksBecomeLiveTags) {
    EXPECT_EQ(Convert({"[^B^]x[^/B^]"}), "[B]x[/B]\r\n");
    EXPECT_EQ(Convert({"[BLOCK]", "[^B^]x[^/B^]", "[/BLOCK]"}), "<b>x</b>\r\n\r\n");
}

TEST_F(Converting, HtmlInsideABlockKeepsItsOwnPlace) {
    EXPECT_EQ(Convert({"[BLOCK]", "[HTML]<hr class=x>[/HTML]", "[TABLE]", "h", "[/TABLE]", "[/BLOCK]"}),
              "<hr class=x><table cellspacing=\"1\" class=simpleTable><tr class=simpleTable><th "
              "class=simpleTable>h</th></tr></table>\r\n\r\n");
}

TEST_F(Converting, ExpandableBlocks) {
    options.ExpandableBlocks = true;
    const std::string head =
        "<div class=\"ExpandableBlock\"><p><a class=\"ExpandableBlockLink\" href=\"#\" onclick=\"return "
        "ExpandCollapsibleBlockClick(this);\"><img src=\"icons/";
    EXPECT_EQ(Convert({"+More <b>", "first content", "-continued", "after"}),
              head +
                  "cplus.gif\" border=\"0\" align=\"absmiddle\"><b>More <b></b></a></p><div style=\"display:none\">"
                  "first content<br>continued\r\n</div></div>after\r\n");
    options.MinusIsDefault = true;
    EXPECT_EQ(Convert({"+Open", "body"}, KindSingleHtml),
              head +
                  "cminus.gif\" border=\"0\" align=\"absmiddle\"><b>Open</b></a></p><div style=\"display:block\">"
                  "body</div></div>");
    EXPECT_EQ(Convert({"+Closed", "body"}, KindWebsite),
              head +
                  "cplus.gif\" border=\"0\" align=\"absmiddle\"><b>Closed</b></a></p><div style=\"display:none\">"
                  "body</div></div>");
    EXPECT_EQ(Convert({"+Title", "*item ends the block"}),
              head +
                  "cplus.gif\" border=\"0\" align=\"absmiddle\"><b>Title</b></a></p><div style=\"display:none\">"
                  "</div></div>*item ends the block\r\n");
}

TEST_F(Converting, NumberedListsWithNestedBulletLists) {
    options.Bullets = options.Numbering = true;
    EXPECT_EQ(Convert({"#one", "-*inner a", "-", "-*inner b", "#two"}),
              "<ol><li>one<br><ul><li>inner a</li>\r\n<li>inner b</li>\r\n</ul></li>\r\n<li>two</li>\r\n</ol>");
}

TEST_F(Converting, AnEmptySignMatchesEveryLine) {
    options.Bullets = true;
    options.BulletSign = "";
    options.JoinLinesSign = "";
    EXPECT_EQ(Convert({"a", "b"}), "<ul><li>a</li>\r\n<li>b</li>\r\n</ul>");
}

TEST_F(Converting, ResourcePrefixFromTheResourceFolder) {
    EXPECT_EQ(Convert({"[IMG]a.gif[/IMG]"}), "<img src=\"images/a.gif\">\r\n");
    options.DestFolder = "img\\sub";
    EXPECT_EQ(Convert({"[IMG]a.gif[/IMG]"}), "<img src=\"img/sub/a.gif\">\r\n");
    EXPECT_EQ(converter.ResourcePrefix, "img/sub/");
    options.DestFolder = "";
    EXPECT_EQ(Convert({"[IMG]a.gif[/IMG]"}), "<img src=\"a.gif\">\r\n");
}

TEST_F(Converting, NestingDeeperThanTheLimitIsAClearError) {
    StringList lines;
    for (int i = 0; i < 10000; ++i)
        lines.push_back("[BLOCK]");
    lines.push_back("deep");
    for (int i = 0; i < 10000; ++i)
        lines.push_back("[/BLOCK]");
    try {
        Convert(lines);
        FAIL();
    } catch (const EMarkupError& error) {
        EXPECT_STREQ(error.what(), "\"[BLOCK]\" pairs are nested more than 32 deep; nest them less deeply.");
    }
    lines.clear();
    for (int i = 0; i < 30; ++i)
        lines.push_back("[BLOCK]");
    lines.push_back("deep");
    for (int i = 0; i < 30; ++i)
        lines.push_back("[/BLOCK]");
    EXPECT_EQ(Convert(lines).substr(0, 6), "deep\r\n");
}

TEST_F(Converting, TenThousandNestedListLevels) {
    options.Bullets = true;
    StringList lines;
    for (int depth = 0; depth < 10000; ++depth)
        lines.push_back(std::string(static_cast<size_t>(depth), '-') + "*item");
    std::string html = Convert(lines);
    size_t opened = 0;
    for (size_t pos = html.find("<ul>"); pos != std::string::npos; pos = html.find("<ul>", pos + 1))
        ++opened;
    EXPECT_EQ(opened, 10000u);
    EXPECT_EQ(html.substr(0, 26), "<ul><li>item<br><ul><li>it");
    // The deepest item closes every list around it.
    std::string closing = "<li>item</li>\r\n</ul>";
    for (int depth = 1; depth < 10000; ++depth)
        closing += "</li>\r\n</ul>";
    EXPECT_EQ(html.substr(html.size() - closing.size()), closing);
}

TEST_F(Converting, ABodyOfTenMegabytes) {
    AllRulesOn();
    StringList lines;
    size_t size = 0;
    for (int i = 0; size < 10 * 1024 * 1024; ++i) {
        lines.push_back(i % 7 == 0 ? "*item [B]" + std::to_string(i) + "[/B]"
                                   : "Some text line number " + std::to_string(i) + ".");
        size += lines.back().size() + 2;
    }
    std::string html = Convert(lines);
    EXPECT_GT(html.size(), size);
    EXPECT_EQ(html.substr(0, 24), "<ul><li>item <b>0</b></l");
}

class InlineTagsTest : public Converting {
protected:
    std::string Tags(const std::string& text) {
        converter.ResourcePrefix = "images/";
        return converter.InlineTags(text, true);
    }
};

TEST_F(InlineTagsTest, TextTags) {
    EXPECT_EQ(Tags("[B]bold | dropped[/B], [I]it[/I], [U]under[/U]"), "<b>bold</b>, <i>it</i>, <u>under</u>");
    EXPECT_EQ(Tags("[B][/B]x"), "x");
    EXPECT_EQ(Tags("[B]unclosed"), "[B]unclosed");
    EXPECT_EQ(Tags("[B]a[/B][B]b[/B]"), "<b>a</b><b>b</b>");
    EXPECT_EQ(Tags("[CENTER]c[/CENTER][BR][BS][FONT=Arial|#ff0000|12pt]f[/FONT]"),
              "<div align=\"center\">c</div><br>&nbsp;<span "
              "style=\"font-family:Arial;color:#ff0000;font-size:12pt;\">f</span>");
    EXPECT_EQ(Tags("[FONT=#00f|Verdana|3|Tahoma]x[/FONT]"),
              "<span style=\"font-family:Tahoma;color:#00f;font-size:3;\">x</span>");
    EXPECT_EQ(Tags("[^B^]literal[^/B^]"), "[B]literal[/B]");
}

TEST_F(InlineTagsTest, Images) {
    EXPECT_EQ(Tags("[IMG]a.gif[/IMG]"), "<img src=\"images/a.gif\">");
    EXPECT_EQ(Tags("[IMG]a.gif|center[/IMG]"), "<div align=\"center\"><img src=\"images/a.gif\"></div>");
    EXPECT_EQ(Tags("[IMG]a.gif|DRight[/IMG]"), "<div align=\"right\"><img src=\"images/a.gif\"></div>");
    EXPECT_EQ(Tags("[IMG]a.gif|dleft[/IMG]"), "<div align=\"left\"><img src=\"images/a.gif\"></div>");
    EXPECT_EQ(Tags("[IMG]a.gif|middle[/IMG]"), "<img src=\"images/a.gif\" align=\"middle\">");
    EXPECT_EQ(Tags("[IMG]a.gif|10|20[/IMG]"), "<img src=\"images/a.gif\" width=\"10\" height=\"20\">");
    EXPECT_EQ(Tags("[IMG]a.gif|CENTER|10|20[/IMG]"),
              "<div align=\"center\"><img src=\"images/a.gif\" width=\"10\" height=\"20\"></div>");
    EXPECT_EQ(Tags("[IMG]a.gif|left|10|20|x[/IMG]"),
              "<img src=\"images/a.gif\" align=\"left\" width=\"10\" height=\"20\">");
    EXPECT_EQ(Tags("[SIMG]s.gif[/SIMG][SIMG]s.gif|top[/SIMG]"),
              "<img src=\"images/s.gif\" align=\"absbottom\"><img src=\"images/s.gif\" align=\"top\">");
    EXPECT_EQ(
        Tags("[TIMG]t.gif|Caption[/TIMG]"),
        "<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\"images/t.gif\"></td></tr><tr><td "
        "height=\"19\" align=\"center\"><strong>Caption</strong></td></tr></table>");
    EXPECT_EQ(Tags("[TIMG]t.gif|a|b[/TIMG]"), "<img src=\"images/t.gif\">");
}

TEST_F(InlineTagsTest, LinksAndAnchors) {
    EXPECT_EQ(Tags("[LINK]https://x.org[/LINK]"), "<a href=\"https://x.org\">https://x.org</a>");
    EXPECT_EQ(Tags("[LINK]https://x.org | X[/LINK]"), "<a href=\"https://x.org\">X</a>");
    EXPECT_EQ(Tags("[LINKN]u|New[/LINKN]"), "<a href=\"u\" target=\"_blank\">New</a>");
    EXPECT_EQ(Tags("[EMAIL]a@b.org[/EMAIL][EMAIL]a@b.org|Mail[/EMAIL]"),
              "<a href=\"mailto:a@b.org\">a@b.org</a><a href=\"mailto:a@b.org\">Mail</a>");
    EXPECT_EQ(Tags("[ANCHOR]top[/ANCHOR]"), "<a name=\"top\"></a>");
    options.HtmlEncode = true;
    EXPECT_EQ(Tags("[LINK]a?x=1&y=2[/LINK]"), "<a href=\"a?x=1&amp;y=2\">a?x=1&amp;y=2</a>");
}

TEST_F(InlineTagsTest, FlashMovies) {
    const std::string object =
        "<object classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" "
        "codebase=\"https://fpdownload.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,29,0\"";
    const std::string tail =
        "><param name=\"movie\" value=\"images/m.swf\"><param name=\"quality\" value=\"high\"><embed "
        "src=\"images/m.swf\" quality=\"high\" pluginspage=\"https://get.adobe.com/flashplayer/\" "
        "type=\"application/x-shockwave-flash\"";
    EXPECT_EQ(Tags("[FLASH]m.swf[/FLASH]"), object + tail + "></embed></object>");
    EXPECT_EQ(Tags("[FLASH]m.swf|300[/FLASH]"), object + " width=\"300\"" + tail + " width=\"300\"></embed></object>");
    EXPECT_EQ(Tags("[FLASH]m.swf|300|200|9[/FLASH]"),
              object + " width=\"300\" height=\"200\"" + tail + " width=\"300\" height=\"200\"></embed></object>");
}

TEST_F(InlineTagsTest, TopicLinks) {
    TProjectOption pageOptions;
    pageOptions.FileExtension = ".htm";
    pageOptions.CounterStart = 1;
    TAllText text;
    text.Options = &pageOptions;
    text.SeparateMode = 3;
    text.LoadTexts({{"a.txt", "Intro\nx\n{Para}\nA & B\ny\n{Para}\nIntro\nsecond intro\n"}});
    text.BuildStructure();
    converter.AllText = &text;
    EXPECT_EQ(Tags("[TOPIC]Intro[/TOPIC]"), "<a href=\"1.htm\">Intro</a>");
    EXPECT_EQ(Tags("[TOPIC]Intro|the start[/TOPIC]"), "<a href=\"1.htm\">the start</a>");
    EXPECT_EQ(Tags("[TOPIC]Intro|the start|sec[/TOPIC]"), "<a href=\"1.htm#sec\">Intro</a>");
    EXPECT_EQ(Tags("[TOPIC]Intro|t|sec|x[/TOPIC]"), "<a href=\"1.htm\">Intro</a>");
    EXPECT_EQ(Tags("[TOPIC]Missing[/TOPIC] [TOPIC]Missing|shown[/TOPIC]"), "Missing shown");
    EXPECT_EQ(Tags("[TOPIC]A & B[/TOPIC]"), "<a href=\"2.htm\">A & B</a>");
    converter.OutputKind = KindFaq;
    EXPECT_EQ(Tags("[TOPIC]A & B[/TOPIC]"), "<a href=\"#a1\">A & B</a>");
    converter.OutputKind = KindSingleHtml;
    EXPECT_EQ(Tags("[TOPIC]A & B|and|part[/TOPIC]"), "<a href=\"#part\">A & B</a>");
    options.HtmlEncode = true;
    EXPECT_EQ(Tags("[TOPIC]A & B[/TOPIC]"), "A &amp; B");  // encoded, the title no longer matches
}

TEST_F(InlineTagsTest, ALinkToAHeadingWithoutAPageGoesToItsFirstPage) {
    TProjectOption pageOptions;
    pageOptions.FileExtension = ".htm";
    pageOptions.CounterStart = 1;
    TAllText text;
    text.Options = &pageOptions;
    text.SeparateMode = 4;
    text.LoadTexts({{"a.txt", "*Start\nx\n*Heading\n**Child\ny\n"}});
    text.BuildStructure();
    converter.AllText = &text;
    EXPECT_EQ(Tags("[TOPIC]Heading[/TOPIC]"), "<a href=\"3.htm\">Heading</a>");
    converter.OutputKind = KindFaq;
    EXPECT_EQ(Tags("[TOPIC]Heading[/TOPIC]"), "<a href=\"#a2\">Heading</a>");
    converter.OutputKind = KindSingleHtml;  // the single page has an anchor for every topic
    EXPECT_EQ(Tags("[TOPIC]Heading[/TOPIC]"), "<a href=\"#a1\">Heading</a>");
}

TEST_F(InlineTagsTest, IncludedFiles) {
    TempFolder folder;
    WriteFile(folder / "inc/part.htm", "<p>[B]included[/B]</p>\n<p>two</p>");
    options.IncludePath = folder / "inc";
    options.HtmlEncode = true;
    EXPECT_EQ(Tags("<[INC]part.htm[/INC]>"), "&lt;<p>[B]included[/B]</p>\r\n<p>two</p>\r\n&gt;");
    EXPECT_EQ(Tags("[INC]missing.htm[/INC][INC]missing.htm[/INC]"), "");
    ASSERT_EQ(questions.Errors.size(), 2u);
    EXPECT_EQ(questions.Errors[0], "Exception Occur :Cannot read the included file \"" + folder / "inc/missing.htm" +
                                       "\": No such file or directory");

    options.IncludePath = "";
    options.ProjectFolder = folder.Path();
    WriteFile(folder / "beside.htm", "<i>beside the project</i>");
    EXPECT_EQ(Tags("[INC]beside.htm[/INC]"), "<i>beside the project</i>\r\n");
}

}  // namespace
}  // namespace leafsmith
