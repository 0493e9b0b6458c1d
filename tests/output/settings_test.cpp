#include "output/settings.h"

#include <gtest/gtest.h>

#include "core/project_option.h"
#include "text/all_text.h"

namespace leafsmith {
namespace {

class PageRendering : public ::testing::Test {
protected:
    PageRendering() : writer("CHM") {
        options.FileExtension = ".htm";
        options.CounterStart = 1;
        text.Options = &options;
        text.SeparateMode = 3;
        text.LoadTexts(
            {{"a.txt", "Topic ($SEQUENCE$)\nbody with ($TITLE$)\n{Para}\nSecond\nmore\n{Para}\nThird\nlast\n"}});
        text.BuildStructure();
        converter.Options = &options;
        writer.Text = &text;
        writer.Options = &options;
        writer.Converter = &converter;
        writer.ProjectTitle = "Demo";
        writer.Charset = "UTF-8";
    }
    TProjectOption options;
    TAllText text;
    TLFXText converter;
    TSittings writer;
};

TEST_F(PageRendering, PlaceholdersInTitlesAreReplacedButNotInBodies) {
    EXPECT_EQ(writer.RenderPage("<title>($TITLE$)</title>($CONTENT$)", 0, converter),
              "<title>Topic 0</title>body with ($TITLE$)<BR>\r\n");
}

TEST_F(PageRendering, PreviousAndNextPagesAndTheirSections) {
    const std::string page =
        "($PREVIOUSPAGE$)|($NEXTPAGE$)|<!--ShowWhenFirst-->F<!--/ShowWhenFirst--><!--HideWhenFirst-->f"
        "<!--/HideWhenFirst-->|<!--ShowWhenEnd-->E<!--/ShowWhenEnd--><!--HideWhenEnd-->e<!--/HideWhenEnd-->";
    EXPECT_EQ(writer.RenderPage(page, 0, converter),
              "#|2.htm|<!--ShowWhenFirst-->F<!--/ShowWhenFirst-->|<!--HideWhenEnd-->e<!--/HideWhenEnd-->");
    EXPECT_EQ(writer.RenderPage(page, 1, converter),
              "1.htm|3.htm|<!--HideWhenFirst-->f<!--/HideWhenFirst-->|<!--HideWhenEnd-->e<!--/HideWhenEnd-->");
    EXPECT_EQ(writer.RenderPage(page, 2, converter),
              "2.htm|#|<!--HideWhenFirst-->f<!--/HideWhenFirst-->|<!--ShowWhenEnd-->E<!--/ShowWhenEnd-->");
    // A start marker without its end keeps the rest of the page as it is.
    EXPECT_EQ(writer.RenderPage("a<!--ShowWhenFirst-->b", 1, converter), "a<!--ShowWhenFirst-->b");
}

TEST_F(PageRendering, TheGeneratorLineReplacesEveryHeadTag) {
    EXPECT_EQ(writer.InsertGenerator("<HEAD>x<head>"),
              "<head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\">x<head>\r\n<meta name=\"GENERATOR\" "
              "content=\"Quorvane Leafsmith\">");
    EXPECT_EQ(writer.InsertGenerator("<html>no head</html>"), "<html>no head</html>");
}

TEST_F(PageRendering, TheExpandScriptOnlyWithExpandableBlocks) {
    options.EnableTextAnalysis = true;
    EXPECT_EQ(writer.InsertHeadScript("<html></HEAD>"), "<html></HEAD>");
    options.ExpandableBlocks = true;
    EXPECT_EQ(writer.InsertHeadScript("<html></HEAD>"),
              "<html><script language=\"JavaScript\" type=\"text/JavaScript\">\r\n"
              "function ExpandCollapsibleBlockClick(obj){var a,b,c,d,e;if(document.getElementById){b=obj.childNodes;"
              "c=obj.parentNode.parentNode.childNodes;d='nodeName';}else{b=obj.children;"
              "c=obj.parentElement.parentElement.children;\td='tagName';}for(i=0;i<=b.length-1;i++){eval('e=b[i].'+d+';"
              "');if(e==\"IMG\"){a=b[i];}}for(i=0;i<=c.length-1;i++){eval('e=c[i].'+d+';');if(e==\"DIV\"){if(c[i]."
              "style.display=='none'){c[i].style.display='block';a.src='icons/cminus.gif';}else{c[i].style.display="
              "'none';a.src='icons/cplus.gif';}}}return false;}\r\n</script>\r\n</head>");
    EXPECT_NE(writer.RenderPage("<head></head>($CONTENT$)", 0, converter).find("ExpandCollapsibleBlockClick"),
              std::string::npos);
}

TEST_F(PageRendering, CommonPlaceholders) {
    EXPECT_EQ(writer.ReplaceCommon("($PROJECTTITLE$) in ($CHARSET$), ($TITLE$) stays"),
              "Demo in UTF-8, ($TITLE$) stays");
}

}  // namespace
}  // namespace leafsmith
