#include "core/chm_window.h"

#include <gtest/gtest.h>

namespace leafsmith {
namespace {

TEST(HelpWindow, AssignCopiesEveryWindowOption) {
    TCHMProject source;
    source.Top = 1;
    source.PaneWidth = 321;
    source.Maximize = true;
    source.Content = false;
    source.SunkenEdge = true;
    source.TocFont = "Arial,9,0";
    source.Title = "T";
    source.Language = "L";
    source.Font = "F";
    source.DefaultTopic = "html\\1.htm";
    TCHMProject target;
    target.Assign(source);
    EXPECT_TRUE(target.IsSameAs(source));
    EXPECT_EQ(target.Title, "T");
    EXPECT_EQ(target.Language, "L");
    EXPECT_EQ(target.Font, "F");
    EXPECT_EQ(target.DefaultTopic, "html\\1.htm");
    EXPECT_EQ(target.TocFont, "Arial,9,0");
}

TEST(HelpWindow, IsSameAsIgnoresTheFourTextsButNoFlagOrNumber) {
    TCHMProject a;
    TCHMProject b;
    b.Title = "x";
    b.Language = "y";
    b.Font = "z";
    b.DefaultTopic = "w";
    EXPECT_TRUE(a.IsSameAs(b));
    for (const auto& field : WindowFlagFields) {
        TCHMProject changed;
        changed.*field.Member = !(changed.*field.Member);
        EXPECT_FALSE(a.IsSameAs(changed)) << field.Key;
    }
    for (const auto& field : WindowNumberFields) {
        TCHMProject changed;
        changed.*field.Member += 1;
        EXPECT_FALSE(a.IsSameAs(changed)) << field.Key;
    }
    TCHMProject font;
    font.TocFont = "";
    EXPECT_FALSE(a.IsSameAs(font));
}

TEST(HelpWindow, ThirtyNineFlagsWithTheirDefaults) {
    int on = 0;
    for (const auto& field : WindowFlagFields)
        on += TCHMProject().*field.Member ? 1 : 0;
    // ShowPanesToolbar, ShowPane, nine toolbar buttons, four tabs, PlusMinus, ShowSelection,
    // ShowRoot, DrawLines.
    EXPECT_EQ(on, 19);
    EXPECT_EQ(WindowFlagFields.size(), 39u);
}

}  // namespace
}  // namespace leafsmith
