#include "templates/template_group.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace leafsmith {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const char* GroupFile =
    "[GENERAL]\r\n"
    "TemplatesNumber=9\r\n"
    "GroupName=Classic\r\n"
    "Author=A. Writer\r\n"
    "Email=a@example.org\r\n"
    "Website=https://example.org\r\n"
    "[COMMON]\r\n"
    "Name=Common look\r\n"
    "CopyFiles=style.css\r\n"
    "OtherTemplates= toc.htm: index.htm ; frame.htm ;\r\n"
    "SampleImage=common.bmp\r\n"
    "Type=1\r\n"
    "[Template1]\r\n"
    "ContentTemplates=page.htm\r\n"
    "CopyFiles=logo.gif\r\n"
    "[Template2]\r\n"
    "Name=Help pages\r\n"
    "Type=0\r\n"
    "SampleImage=img\\chm.bmp\r\n"
    "[Template3]\r\n"
    "Type=7\r\n"
    "[Template5]\r\n"
    "Name=Never read\r\n";

TEST(TemplateGroup, LoadsCommonAndTheNumberedSectionsWithoutGaps) {
    TempFolder folder;
    WriteFile(folder / "templates.ini", GroupFile);
    TTempletGroup group("/opt/leafsmith");
    group.LoadFromFile(folder / "templates.ini");
    ASSERT_EQ(group.Count(), 4);  // COMMON and Template1..3; Template5 comes after a gap
    EXPECT_EQ(group.GroupName, "Classic");
    EXPECT_EQ(group.Author, "A. Writer");
    EXPECT_EQ(group.IniFileName, folder / "templates.ini");
    const TTemplate& common = group.Items(0);
    EXPECT_EQ(common.OtherTemplates, (StringList{"toc.htm: index.htm", "frame.htm", ""}));
    EXPECT_EQ(common.Caption, "");

    const TTemplate& first = group.Items(1);
    EXPECT_EQ(first.Type, -1);  // own value kept without inheritance
    EXPECT_EQ(first.TypeName, "Website");
    EXPECT_EQ(first.Caption, "[Template1]");
    EXPECT_EQ(first.CopyFiles, StringList{"logo.gif"});
    EXPECT_EQ(first.SampleImagePath, "/opt/leafsmith/nopic.bmp");

    EXPECT_EQ(group.Items(2).TypeName, "CHM");
    EXPECT_EQ(group.Items(2).Caption, "Help pages");
    EXPECT_EQ(group.Items(2).SampleImagePath, folder / "img/chm.bmp");
    EXPECT_EQ(group.Items(3).TypeName, "");
    EXPECT_EQ(group.ChmCount, 1);
    EXPECT_EQ(group.WebsiteCount, 1);
    EXPECT_EQ(group.EbookCount, 0);
    EXPECT_EQ(group.FaqCount, 0);
}

TEST(TemplateGroup, InheritingFillsEmptyValuesAndAppendsCommonLists) {
    TempFolder folder;
    WriteFile(folder / "templates.ini", GroupFile);
    TTempletGroup group("/opt/leafsmith");
    group.LoadFromFolder(folder.Path(), true);
    const TTemplate& first = group.Items(1);
    EXPECT_EQ(first.Type, 1);
    EXPECT_EQ(first.Name, "Common look");
    EXPECT_EQ(first.Caption, "Common look");
    EXPECT_EQ(first.CopyFiles, (StringList{"logo.gif", "style.css"}));
    EXPECT_EQ(first.SampleImagePath, folder / "common.bmp");
    EXPECT_EQ(group.Items(2).Type, 0);  // its own type wins
}

TEST(TemplateGroup, FindsTheDescriptionWithoutRegardToCase) {
    TempFolder folder;
    WriteFile(folder / "TEMPLATES.INI", "[GENERAL]\nGroupName=Upper\n[Template1]\nType=3\n");
    TTempletGroup group;
    group.LoadFromFolder(folder.Path(), true);
    EXPECT_EQ(group.GroupName, "Upper");
    EXPECT_EQ(group.FaqCount, 1);
}

TEST(TemplateGroup, MissingDescriptionRaisesTheExactMessage) {
    TTempletGroup group;
    try {
        group.LoadFromFolder("/nonexistent/group", true);
        FAIL();
    } catch (const ECantFindTemplateIni& error) {
        EXPECT_STREQ(error.what(), "Unable to find file \"/nonexistent/group/Templates.ini\".");
    }
    EXPECT_EQ(group.Count(), 0);
}

TEST(TemplateGroup, LoadingAppendsUntilCleared) {
    TempFolder folder;
    WriteFile(folder / "templates.ini", GroupFile);
    TTempletGroup group;
    group.LoadFromFile(folder / "templates.ini");
    group.LoadFromFile(folder / "templates.ini");
    EXPECT_EQ(group.Count(), 8);
    group.Clear();
    EXPECT_EQ(group.Count(), 0);
    EXPECT_EQ(group.IniFileName, "");
    EXPECT_EQ(group.Author, "");
    EXPECT_EQ(group.GroupName, "Classic");  // stays until the next load
}

TEST(TemplateGroup, SavesTheExactFileAndLoadsItBackUnchanged) {
    TempFolder folder;
    WriteFile(folder / "templates.ini", GroupFile);
    TTempletGroup group;
    group.LoadFromFile(folder / "templates.ini");
    group.SaveToFile();
    EXPECT_EQ(
        ReadFile(folder / "templates.ini"),
        "[GENERAL]\r\nTemplatesNumber=3\r\nGroupName=Classic\r\nAuthor=A. Writer\r\nEmail=a@example.org\r\n"
        "Website=https://example.org\r\n\r\n"
        "[COMMON]\r\nName=Common look\r\nContentTemplates=\r\nOtherTemplates=toc.htm: index.htm;frame.htm;\r\n"
        "CopyFiles=style.css\r\nDefault=\r\nSampleImage=common.bmp\r\nIconDir=\r\nType=1\r\n\r\n"
        "[Template1]\r\nName=\r\nContentTemplates=page.htm\r\nOtherTemplates=\r\nCopyFiles=logo.gif\r\nDefault=\r\n"
        "SampleImage=\r\nIconDir=\r\nType=-1\r\n\r\n"
        "[Template2]\r\nName=Help pages\r\nContentTemplates=\r\nOtherTemplates=\r\nCopyFiles=\r\nDefault=\r\n"
        "SampleImage=img\\chm.bmp\r\nIconDir=\r\nType=0\r\n\r\n"
        "[Template3]\r\nName=\r\nContentTemplates=\r\nOtherTemplates=\r\nCopyFiles=\r\nDefault=\r\n"
        "SampleImage=\r\nIconDir=\r\nType=7\r\n\r\n");
    TTempletGroup again;
    again.LoadFromFile(folder / "templates.ini");
    ASSERT_EQ(again.Count(), group.Count());
    for (int32_t i = 0; i < group.Count(); ++i) {
        EXPECT_EQ(again.Items(i).Name, group.Items(i).Name);
        EXPECT_EQ(again.Items(i).OtherTemplates, group.Items(i).OtherTemplates);
        EXPECT_EQ(again.Items(i).Type, group.Items(i).Type);
    }
}

TEST(TemplateGroup, NewGroupAddAndDelete) {
    TempFolder folder;
    TTempletGroup group;
    group.NewGroup(folder / "templates.ini");
    EXPECT_EQ(group.Count(), 1);
    group.AddNew();
    TTemplate extra;
    extra.Name = "Extra";
    extra.Type = 3;
    EXPECT_EQ(group.Add(extra), 2);
    group.Delete(1);
    EXPECT_EQ(group.Items(1).Name, "Extra");
    group.SaveToFile();
    std::string saved = ReadFile(folder / "templates.ini");
    EXPECT_NE(saved.find("TemplatesNumber=1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("[Template1]\r\nName=Extra\r\n"), std::string::npos);

    TTempletGroup onlyCommon;
    onlyCommon.NewGroup(folder / "common.ini");
    EXPECT_EQ(onlyCommon.ToIniText().find("[Template1]"), std::string::npos);
    EXPECT_NE(onlyCommon.ToIniText().find("TemplatesNumber=0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace leafsmith
