#include "core/main_form.h"

#include <gtest/gtest.h>

namespace leafsmith {
namespace {

size_t Place(const char* control) {
    for (size_t i = 0; i < MainFormBindings.size(); ++i) {
        if (std::string(MainFormBindings[i].Control) == control)
            return i;
    }
    return MainFormBindings.size();
}

TProjectOption Filled() {
    TProjectOption options;
    options.ProjectTitle = "Demo";
    options.AtLeastBlankLines = 2;
    options.FileList = {"a.txt", "b.txt"};
    options.EncodingIndex = 26;
    options.TempletChm = "{SetupDir}/Templates/Classic";
    options.ChmWindow.Width = 640;
    return options;
}

TEST(MainForm, EveryStoredOptionTravelsThroughTheControlsOrTheFormatCopy) {
    TProjectOption stored = Filled();
    stored.SourcePath = "res";
    stored.OutputWebsite = true;
    stored.TitleListStyle_Faq = 2;
    stored.EbookWindow.Maximize = true;
    TProjectOption copy;
    CopyFormatSettings(stored, copy);
    TProjectOption loaded;
    FormToOptions(OptionsToFormValues(stored), copy, loaded);
    EXPECT_TRUE(loaded.SameStoredValues(stored));
    EXPECT_FALSE(IsFormChanged(OptionsToFormValues(stored), copy, stored));
}

TEST(MainForm, TheChangeTestComparesTextsAsShown) {
    const TProjectOption stored = Filled();
    TProjectOption copy;
    CopyFormatSettings(stored, copy);
    FormValues form = OptionsToFormValues(stored);
    form[Place("edtAtLeast")] = std::string("02");
    EXPECT_TRUE(IsFormChanged(form, copy, stored));  // the number stays 2, the text does not

    form = OptionsToFormValues(stored);
    form[Place("edtSourcePath")] = std::string(" ");  // stored trimmed, so always a change
    EXPECT_TRUE(IsFormChanged(form, copy, stored));

    copy.ChmWindow.Width = 641;
    EXPECT_TRUE(IsFormChanged(OptionsToFormValues(stored), copy, stored));
}

TEST(MainForm, ASpinFieldWithoutANumberStopsTheTransferThere) {
    TProjectOption options = Filled();
    TProjectOption copy;
    CopyFormatSettings(options, copy);
    FormValues form = OptionsToFormValues(options);
    form[Place("edtProjectTitle")] = std::string("Changed");
    form[Place("seSubheadingMaxLen")] = std::string("");
    form[Place("edtOutDir")] = std::string("later");
    try {
        FormToOptions(form, copy, options);
        FAIL() << "no conversion error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "\"\" is not a whole number (seSubheadingMaxLen).");
    }
    EXPECT_EQ(options.ProjectTitle, "Changed");
    EXPECT_EQ(options.OutDir, "");
}

TEST(MainForm, EnablingRules) {
    SeparationEnabling one = SeparationRule(true, false, false, true);
    EXPECT_FALSE(one.OtherChoices || one.AtLeast || one.LineSign || one.HeadSign);
    EXPECT_TRUE(one.FileNameTitle);
    SeparationEnabling tags = SeparationRule(false, false, false, true);
    EXPECT_TRUE(tags.OtherChoices && tags.HeadSign);
    EXPECT_FALSE(tags.FileNameTitle || tags.AtLeast || tags.LineSign);
    SeparationEnabling none = SeparationRule(false, false, false, false);
    EXPECT_TRUE(none.AtLeast && none.LineSign && none.HeadSign);

    EXPECT_TRUE(HierarchyRule(true).ForceTitleTags);
    EXPECT_FALSE(HierarchyRule(true).OtherSeparations);
    EXPECT_FALSE(ListMarkerRule(false, false, false).JoinLines);
    EXPECT_TRUE(ListMarkerRule(false, true, false).JoinLines);

    StringList reminders = {"Notes:", "Note", "Waring"};
    EXPECT_FALSE(AddToStringList(reminders, " note "));
    EXPECT_FALSE(AddToStringList(reminders, "   "));
    EXPECT_TRUE(AddToStringList(reminders, " Tip: "));
    EXPECT_EQ(reminders.back(), "Tip:");
}

}  // namespace
}  // namespace leafsmith
