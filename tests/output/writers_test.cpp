#include <gtest/gtest.h>

#include "core/project_option.h"
#include "output/ebook_writer.h"
#include "output/website_writer.h"
#include "text/all_text.h"

namespace leafsmith {
namespace {

// A topic tree from title lines marked with "*" (the number of marks is the level).
class TopicTree {
public:
    explicit TopicTree(const std::string& text) {
        options.FileExtension = ".htm";
        options.CounterStart = 1;
        tree.Options = &options;
        tree.SeparateMode = 4;
        tree.HeadSign = "*";
        tree.NumOfSigns = true;
        tree.LoadTexts({{"t.txt", text}});
        tree.BuildStructure();
    }
    TProjectOption options;
    TAllText tree;
};

std::string Navigation(TopicTree& topics, bool startFromRoot = false, bool drawLine = false, bool autoCollapse = false,
                       bool folders = false) {
    TWebsiteSettings writer;
    writer.Text = &topics.tree;
    writer.StartFromRoot = startFromRoot;
    writer.DrawLine = drawLine;
    writer.AutoCollapse = autoCollapse;
    writer.FolderInsteadOfBook = folders;
    return writer.BuildNavigation();
}

TEST(WebsiteTree, TheWorkedExample) {
    TopicTree topics("*A\nbody\n**B\nbody\n");
    topics.tree.Topics[0].FileName = "a.htm";
    topics.tree.Topics[1].FileName = "b.htm";
    EXPECT_EQ(Navigation(topics),
              "SetEnv(1,false);SV(0,3,[\"1.gif\",\"2.gif\"]);DB();LC(\"0\",\"A\",\"a.htm\",\"0\");DT();\r\n"
              "SV(1,2,[\"9.gif\",\"9.gif\"]);DS(0);DB();IC();CL(\"B\",\"b.htm\",\"1\");DT();\r\n"
              "DE();collapseAll();");
}

TEST(WebsiteTree, SwitchesChangeTheEnvironmentPrefixesAndPictures) {
    TopicTree topics("*A\nbody\n**B\nbody\n");
    EXPECT_EQ(Navigation(topics, true, true, true, true),
              "SetEnv(0,true);SV(0,3,[\"5.gif\",\"6.gif\"]);DB();IAM(0);LC(\"0\",\"A\",\"1.htm\",\"0\");DT();\r\n"
              "SV(1,2,[\"11.gif\",\"11.gif\"]);DS(0);DB();IB(0);IC();CL(\"B\",\"2.htm\",\"1\");DT();\r\n"
              "DE();collapseAll();");
}

TEST(WebsiteTree, LinesFollowTheAncestorsThatHaveLaterSiblings) {
    TopicTree topics("*A\n**A1\n***A1a\nx\n**A2\nx\n*B\nx\n");
    EXPECT_EQ(Navigation(topics),
              "SetEnv(1,false);SV(0,0,[\"1.gif\",\"2.gif\"]);DB();LC(\"0\",\"A\",\"#\",\"0\");DT();\r\n"
              "SV(1,1,[\"1.gif\",\"2.gif\"]);DS(0);DB();IAM(1);LC(\"1\",\"A1\",\"#\",\"1\");DT();\r\n"
              "SV(2,2,[\"9.gif\",\"9.gif\"]);DS(1);DB();IB(1);IC();CL(\"A1a\",\"3.htm\",\"2\");DT();\r\n"
              "DE();SV(3,2,[\"9.gif\",\"9.gif\"]);DB();IC();CL(\"A2\",\"4.htm\",\"3\");DT();\r\n"
              "DE();SV(4,2,[\"9.gif\",\"9.gif\"]);DB();CL(\"B\",\"5.htm\",\"4\");DT();\r\n"
              "collapseAll();");
}

TEST(WebsiteTree, IconPairs) {
    TopicTree topics(
        "*b1 [ICON1]\n**l5 [ICON5]\nx\n*b4 [ICON4]\n**l0 [ICON0]\nx\n*b0 [ICON0]\n**x\nx\n*b9 [ICON9]\n**x\nx\n");
    std::string calls = Navigation(topics);
    EXPECT_NE(calls.find("SV(0,0,[\"1.gif\",\"2.gif\"])"), std::string::npos) << calls;
    EXPECT_NE(calls.find("SV(1,2,[\"5.gif\",\"5.gif\"])"), std::string::npos);
    EXPECT_NE(calls.find("SV(2,1,[\"3.gif\",\"4.gif\"])"), std::string::npos);
    EXPECT_NE(calls.find("SV(3,2,[\"0.gif\",\"0.gif\"])"), std::string::npos);
    EXPECT_NE(calls.find("SV(4,1,[\"0.gif\",\"0.gif\"])"), std::string::npos);
    EXPECT_NE(calls.find("SV(6,2,[\"9.gif\",\"9.gif\"])"), std::string::npos);
}

TEST(WebsiteTree, ADeepEndClosesEveryLevel) {
    TopicTree topics("*A\n**B\n***C\nx\n");
    std::string calls = Navigation(topics);
    const std::string end = "DT();\r\nDE();DE();collapseAll();";
    EXPECT_EQ(calls.substr(calls.size() - end.size()), end);
}

TEST(WebsiteTree, TitlesAreSafeInsideScriptStrings) {
    TopicTree topics("*Say \"hi\" \\o/\nx\n");
    EXPECT_NE(Navigation(topics).find("CL(\"Say \\\"hi\\\" \\\\o/\",\"1.htm\",\"0\")"), std::string::npos);
    EXPECT_EQ(ScriptString("a\rb\nc"), "a\\rb\\nc");
}

TEST(WebsiteTree, FormatPlaceholders) {
    TopicTree topics("*A\nx\n*B [DEFAULT]\nx\n");
    TWebsiteSettings writer;
    writer.Text = &topics.tree;
    writer.DefaultTopicIndex = 1;
    writer.Navigation = "CALLS";
    EXPECT_EQ(writer.ReplaceFormatPlaceholders("($DEFAULTPAGE$) ($NAVIGATION$) ($WEBSITEJS$)"),
              "2.htm CALLS ($WEBSITEJS$)");
    EXPECT_EQ(writer.ReplacePagePlaceholders("($NAVIGATION$)", 0), "($NAVIGATION$)");
    // The tree library for a script file: what stands inside the script element of webjs.dat.
    writer.ScriptLibrary = "<SCRIPT type=\"text/javascript\">\r\nlib();\r\n</Script>\r\n";
    EXPECT_EQ(writer.ReplaceFormatPlaceholders("($TREESCRIPT$)\r\n($NAVIGATION$)"), "lib();\r\nCALLS");
    EXPECT_EQ(ScriptOfElement("plain();\r\n"), "plain();");
}

class EbookLists : public ::testing::Test {
protected:
    EbookLists() : topics("*Intro\nx\n*Part\n**Detail\nx\n") {
        writer.Text = &topics.tree;
        writer.Options = &topics.options;
    }
    TopicTree topics;
    TEBookSettings writer;
};

TEST(PageNeighbours, TitlesOfThePreviousAndNextPagesAndTheChaptersAbove) {
    TopicTree topics("*Intro\nx\n*Part\n**Detail\nx\n***Deep\ny\n");
    TLFXText converter;
    converter.Options = &topics.options;
    TSittings writer("CHM");
    writer.Text = &topics.tree;
    writer.Options = &topics.options;
    const std::string page = "($PREVIOUSTITLE$)|($NEXTTITLE$)|($BREADCRUMBS$)";
    EXPECT_EQ(writer.RenderPage(page, 0, converter), "|Detail|");
    EXPECT_EQ(writer.RenderPage(page, 3, converter),
              "Detail||<span class=\"crumb\">Part</span><a class=\"crumb\" href=\"3.htm\">Detail</a>");
}

TEST_F(EbookLists, NumberedTitleListAndJumpMenu) {
    topics.options.TitleListStyle_Ebook = 2;
    topics.options.ApplyToJumpMenu_Ebook = true;
    writer.BuildLists();
    EXPECT_EQ(writer.TitleList,
              "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">1. &nbsp;<A "
              "HREF=\"1.htm\">Intro</A></div>"
              "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">2. &nbsp;Part</div>"
              "<div class=\"titleentry level2\" style=\"padding-left:3.5em;text-indent:-1.5em\">2.1 &nbsp;<A "
              "HREF=\"3.htm\">Detail</A></div>");
    EXPECT_EQ(writer.JumpMenu,
              "<select name=\"menu1\" class=\"jumpmenu\" "
              "onChange=\"window.location=this.options[this.selectedIndex].value;\">\r\n"
              "<option value=\"1.htm\">1. Intro</option>\r\n"
              "<option value=\"#\">2. Part</option>\r\n"
              "<option value=\"3.htm\">&nbsp;&nbsp;&nbsp;&nbsp;2.1 Detail</option>\r\n"
              "</select>");
}

TEST_F(EbookLists, BulletsOnlyInTheTitleListUnlessApplied) {
    topics.options.TitleListStyle_Ebook = 1;
    writer.BuildLists();
    EXPECT_EQ(writer.TitleList.substr(0, 122),
              "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">&#8226; &nbsp;<A "
              "HREF=\"1.htm\">Intro</A></div>");
    EXPECT_NE(writer.JumpMenu.find("<option value=\"1.htm\"> Intro</option>"), std::string::npos);
    topics.options.TitleListStyle_Ebook = 0;
    writer.BuildLists();
    EXPECT_EQ(writer.TitleList.substr(0, 115),
              "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\"> &nbsp;<A "
              "HREF=\"1.htm\">Intro</A></div>");
}

TEST_F(EbookLists, TheCurrentPageIsSelected) {
    writer.BuildLists();
    writer.IndexPage = "index.htm";
    std::string page = writer.ReplacePagePlaceholders("($INDEXPAGE$)|($JUMPMENULIST$)", 2);
    EXPECT_EQ(page.substr(0, 10), "index.htm|");
    EXPECT_NE(page.find("<option value=\"3.htm\" selected>"), std::string::npos);
    EXPECT_EQ(page.find("<option value=\"1.htm\" selected>"), std::string::npos);
    EXPECT_EQ(page.find("\"#\" selected"), std::string::npos);
    EXPECT_EQ(writer.ReplaceFormatPlaceholders("($TITLELIST$)|($JUMPMENULIST$)"),
              writer.TitleList + "|($JUMPMENULIST$)");
    // The program's titles script brings the two placeholders it is made of.
    writer.TitleScript = "menu(\"($JUMPMENUSCRIPT$)\"); // ($TITLELIST$)";
    EXPECT_EQ(writer.ReplaceFormatPlaceholders("($EBOOKJS$)"),
              "menu(\"" + ScriptString(writer.JumpMenu) + "\"); // " + writer.TitleList);
}

}  // namespace
}  // namespace leafsmith
