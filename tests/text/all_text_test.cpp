#include "text/all_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/files.h"
#include "core/project_option.h"
#include "test_support.h"

namespace leafsmith {
namespace {

using testing::TempFolder;
using testing::WriteFile;

class Splitting : public ::testing::Test {
protected:
    Splitting() {
        options.FileExtension = ".htm";
        options.CounterStart = 1;
        options.CounterLength = 1;
        text.Options = &options;
        text.UseLevelSigns = true;
    }

    void Load(std::vector<TextFileData> files) {
        text.LoadTexts(files);
        text.BuildStructure();
    }

    // "level number title" of every topic, then the body lines indented.
    std::string Outline() const {
        std::string out;
        for (const TBlock& topic : text.Topics) {
            out += std::to_string(topic.Level) + " " + topic.Number + " " + topic.Title() + "\n";
            for (const std::string& line : topic.SectionLines(2))
                out += "  |" + line + "\n";
        }
        return out;
    }

    std::string LoadError(std::vector<TextFileData> files) {
        try {
            Load(std::move(files));
        } catch (const ELeafsmithError& error) {
            return error.what();
        }
        return "no error";
    }

    TProjectOption options;
    TAllText text;
};

TEST_F(Splitting, ModeOneWithFileNameTitles) {
    text.SeparateMode = 1;
    text.FileNameTitle = true;
    Load({{"docs/Intro.txt", "\n\nFirst line\n\nLast line\n\n"}, {"docs/Empty.txt", ""}, {"a.b.txt", "x"}});
    EXPECT_EQ(Outline(),
              "1 1. Intro\n  |First line\n  |\n  |Last line\n"
              "1 2. Empty\n"
              "1 3. a.b\n  |x\n");
    EXPECT_TRUE(text.Topic(0).HasBody);
    EXPECT_FALSE(text.Topic(1).HasBody);
}

TEST_F(Splitting, ModeOneLevelTagsInAFileWithoutTextPlaceItsOwnTopic) {
    text.SeparateMode = 1;
    text.FileNameTitle = true;
    Load({{"Start.txt", "body"}, {"Details.txt", "{>}\nbody"}, {"Soups.txt", "{<}\n"}, {"Stews.txt", "body"}});
    EXPECT_EQ(Outline(), "1 1. Start\n  |body\n2 1.1 Details\n  |body\n1 2. Soups\n1 3. Stews\n  |body\n");
}

TEST_F(Splitting, ModeOneWithoutTitlesSkipsEmptyFiles) {
    text.SeparateMode = 1;
    Load({{"a.txt", "  \n"}, {"b.txt", "Title\r\nBody\r\n"}});
    EXPECT_EQ(Outline(), "1 1. Title\n  |Body\n");
}

TEST_F(Splitting, ModeTwoKeepsInnerBlankLinesAndDropsOuterOnes) {
    text.SeparateMode = 2;
    text.AtLeastBlankLines = 2;
    Load({{"a.txt", "\n\nA\nx\n\ny\n\n\nB\n\n\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n  |x\n  |\n  |y\n1 2. B\n");
}

TEST_F(Splitting, ModeTwoLevelTagsAreNotBlankLines) {
    text.SeparateMode = 2;
    text.AtLeastBlankLines = 2;
    Load({{"a.txt", "A\n\n{>}\n\nB\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n2 1.1 B\n");
}

TEST_F(Splitting, ModeTwoNeverJoinsFiles) {
    text.SeparateMode = 2;
    text.AtLeastBlankLines = 1;
    Load({{"a.txt", "A\nmore"}, {"b.txt", "B\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n  |more\n1 2. B\n");
}

TEST_F(Splitting, ModeThreeIgnoresEmptySeparatorsAndKeepsABlankTitle) {
    text.SeparateMode = 3;
    text.LineSign = "{Para}";
    Load({{"a.txt", "{Para}\n{Para}\nA\nbody\n  {Para}  \n{Para}\n   \nbody of untitled\n{Para}\n\nC\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n  |body\n1 2. \n  |body of untitled\n1 3. C\n");
}

TEST_F(Splitting, ModeThreeTopicOfOnlyBlankLinesIsDropped) {
    text.SeparateMode = 3;
    text.LineSign = "--";
    Load({{"a.txt", "A\n--\n   \n\t\n--\nB\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n1 2. B\n");
}

TEST_F(Splitting, ModeFourCountsHeadSigns) {
    text.SeparateMode = 4;
    text.HeadSign = "@";
    text.NumOfSigns = true;
    Load({{"a.txt", "dropped before the first title\n@One\n   indented body\n@@Two\n@ @Spaced\n@@@@Four\n"}});
    EXPECT_EQ(Outline(), "1 1. One\n  |indented body\n2 1.1 Two\n1 2. @Spaced\n4 2.1 Four\n");
}

TEST_F(Splitting, ModeFourTitleOfOnlySignsTakesTheFirstBodyLine) {
    text.SeparateMode = 4;
    text.HeadSign = "@";
    Load({{"a.txt", "@@\nReal title\nbody\n@@@\n"}});
    EXPECT_EQ(Outline(), "2 1. Real title\n  |body\n");
}

TEST_F(Splitting, ModeFourWithLevelTagsChecksAtTitleLines) {
    text.SeparateMode = 4;
    text.HeadSign = "*";
    text.NumOfSigns = false;
    Load({{"a.txt", "*A\n{>}\n*B\n{<}\n*C\n"}, {"b.txt", "{>}\n*D\n"}});
    // B takes the level tag in front of it; D, the first title of its file, keeps the level that
    // the previous file left, whatever tags stand before it.
    EXPECT_EQ(Outline(), "1 1. A\n2 1.1 B\n1 2. C\n1 3. D\n");
}

TEST_F(Splitting, TitleAttributes) {
    text.SeparateMode = 3;
    Load({{"a.txt",
           "  Setup [ICON 2] Guide [ID=100] [A=IDH_SETUP] [DEFAULT]  \nbody\n{Para}\nBad [ICONx] [ID=] [A=open\n"}});
    const TBlock& setup = text.Topic(0);
    EXPECT_EQ(setup.Title(), "Setup  Guide");  // blanks between removed tags stay, the ends are trimmed
    EXPECT_EQ(setup.Icon, 2);
    EXPECT_EQ(setup.ContextId, 100);
    EXPECT_EQ(setup.AliasName, "IDH_SETUP");
    EXPECT_EQ(text.DefaultTopic, 0);
    const TBlock& bad = text.Topic(1);
    EXPECT_EQ(bad.Title(), "Bad [ICONx] [ID=] [A=open");
    EXPECT_EQ(bad.Icon, -1);
    EXPECT_EQ(bad.ContextId, -1);
    EXPECT_EQ(bad.AliasName, "");
}

TEST_F(Splitting, DefaultTopicIsTheLastMarkedElseTheFirstWithABody) {
    text.SeparateMode = 3;
    Load({{"a.txt", "A\n{Para}\nB\nbody\n{Para}\nC\nbody"}});
    EXPECT_EQ(text.DefaultTopic, 1);

    TAllText marked;
    marked.Options = &options;
    marked.SeparateMode = 3;
    marked.LoadTexts({{"a.txt", "A [DEFAULT]\n{Para}\nB\nbody\n{Para}\nC [DEFAULT]\n"}});
    EXPECT_EQ(marked.DefaultTopic, 2);

    TAllText none;
    none.Options = &options;
    none.SeparateMode = 3;
    none.LoadTexts({{"a.txt", "A\n{Para}\nB\n"}});
    EXPECT_EQ(none.DefaultTopic, -1);
}

TEST_F(Splitting, TwoLevelsAtOnceNamesTheFileAndLine) {
    text.SeparateMode = 3;
    EXPECT_EQ(LoadError({{"docs/a.txt", "A\n{Para}\n{>}\n{>}\n\nB\n"}}),
              "More than one level added at:docs/a.txt Line: 5");
    TAllText modeOne;
    modeOne.Options = &options;
    modeOne.UseLevelSigns = true;
    try {
        modeOne.LoadTexts({{"one.txt", "A"}, {"two.txt", "{>}\n{>}\n\nB\n"}});
        FAIL();
    } catch (const EStuctureError& error) {
        EXPECT_STREQ(error.what(), "More than one level added at:two.txt Line: 4");
    }
}

TEST_F(Splitting, TwoLevelsAtOnceAreCaughtWhereverTheTagsStand) {
    text.SeparateMode = 3;
    EXPECT_EQ(LoadError({{"a.txt", "A\n{>}\n{>}\n{Para}\nB\n"}}), "More than one level added at:a.txt Line: 5");
    EXPECT_EQ(LoadError({{"a.txt", "A\n{>}\n{Para}\n{>}\nB\n"}}), "More than one level added at:a.txt Line: 5");
    EXPECT_EQ(LoadError({{"a.txt", "A\n{>}\n"}, {"b.txt", "{>}\nB\n"}}), "More than one level added at:b.txt Line: 2");
    text.SeparateMode = 1;
    EXPECT_EQ(LoadError({{"a.txt", "A\n{>}\n"}, {"b.txt", "{>}\nB\n"}}), "More than one level added at:b.txt Line: 2");
    EXPECT_EQ(LoadError({{"a.txt", "A\n{>}\n{>}\n"}}), "More than one level added at:a.txt Line: 3");
}

TEST_F(Splitting, LevelTagsWithoutHierarchyAlwaysReturnToTheTop) {
    text.SeparateMode = 3;
    text.UseLevelSigns = false;
    Load({{"a.txt", "A\n{Para}\n{>}\n{>}\nB\n{Para}\n{<}\nC\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n1 2. B\n1 3. C\n");
}

TEST_F(Splitting, GoingUpFromTheTopStaysAtLevelOne) {
    text.SeparateMode = 3;
    Load({{"a.txt", "A\n{Para}\n{<}\nB\n{Para}\n{>}\nC\n{Para}\n{>}\nD\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n1 2. B\n1 3. C\n2 3.1 D\n");
}

TEST_F(Splitting, AnEmptyLevelTagMakesBlankLinesTagLines) {
    text.SeparateMode = 2;
    text.AtLeastBlankLines = 1;
    text.BackToRootSign = "";
    Load({{"a.txt", "A\n\nstill A\n"}});
    EXPECT_EQ(Outline(), "1 1. A\n  |still A\n");
}

TEST_F(Splitting, PageFileNamesUseThePrefixCounterAndExtension) {
    options.FileNamePrefix = "page";
    options.CounterStart = 0;
    options.CounterLength = 2;
    text.SeparateMode = 3;
    Load({{"a.txt", "A\n{Para}\nB\n"}});
    EXPECT_EQ(text.Topic(0).FileName, "page00.htm");
    EXPECT_EQ(text.Topic(1).FileName, "page01.htm");
    EXPECT_EQ(FormatCounter(7, 3), "007");
    EXPECT_EQ(FormatCounter(1234, 3), "1234");
}

TEST_F(Splitting, BadSeparatingOptionsAreRefusedClearly) {
    text.SeparateMode = 2;
    text.AtLeastBlankLines = 0;
    EXPECT_NE(LoadError({{"a.txt", "A"}}).find("must be at least 1"), std::string::npos);
    text.SeparateMode = 4;
    text.HeadSign = "";
    EXPECT_NE(LoadError({{"a.txt", "A"}}).find("tag is empty"), std::string::npos);
    text.HeadSign = "*";
    options.CounterLength = 2000000000;
    EXPECT_NE(LoadError({{"a.txt", "*A"}}).find("longer than 255 bytes"), std::string::npos);
}

TEST_F(Splitting, NoTopicsAtAll) {
    text.SeparateMode = 4;
    text.HeadSign = "*";
    EXPECT_EQ(LoadError({{"a.txt", "no title line here\n"}, {"b.txt", ""}}), "No topics in the text file(s)!");
}

TEST_F(Splitting, LinesEndAtLfAndCtrlZEndsTheFile) {
    text.SeparateMode = 1;
    Load({{"a.txt", "\xEF\xBB\xBFTitle\r\nkeeps\ra lone CR\r\nlast\x1Aignored\nmore"}});
    ASSERT_EQ(text.Count(), 1);
    EXPECT_EQ(text.Topic(0).Lines, (StringList{"Title", "keeps\ra lone CR", "last"}));
}

TEST_F(Splitting, FilesAreReadInBlocksAsIfWhole) {
    // Lines across the 8 MiB blocks the reader takes: a CR LF split between two blocks, a line
    // that starts in one and ends in the next, and a Ctrl+Z in the second block.
    const size_t block = 8 << 20;
    std::string bytes = "\xEF\xBB\xBFTitle\n";
    while (bytes.size() < block - 1)
        bytes += "line " + std::to_string(bytes.size()) + "\r\n";
    bytes.resize(block - 1);
    bytes += "\r\nacross " + std::string(block, 'y') + "\n{Para}\nNext\nend\x1Agone\n";
    const std::string path = ::testing::TempDir() + "/blocks.txt";
    WriteFileBytes(path, bytes);
    text.SeparateMode = 3;
    text.LoadFiles({path});
    const std::vector<TBlock> fromFile = text.Topics;
    text.Topics.clear();
    text.LoadTexts({{path, bytes}});
    ASSERT_EQ(fromFile.size(), 2u);
    EXPECT_EQ(fromFile[0].Lines, text.Topics[0].Lines);
    EXPECT_EQ(fromFile[1].Lines, (StringList{"Next", "end"}));
    std::remove(path.c_str());
}

TEST_F(Splitting, TooDeepNestingIsAClearError) {
    // 100,000 topics, each one level below the one before it.
    std::string deep = "T0\n";
    for (int i = 1; i <= 100000; ++i)
        deep += "{Para}\n{>}\nT" + std::to_string(i) + "\n";
    text.SeparateMode = 3;
    EXPECT_EQ(LoadError({{"deep.txt", deep}}), "More than 100 levels nested at:deep.txt Line: 301");
    text.SeparateMode = 4;
    text.HeadSign = "*";
    text.NumOfSigns = true;
    EXPECT_EQ(LoadError({{"signs.txt", "*A\n" + std::string(50 * 1024 * 1024, '*') + "B\n"}}),
              "More than 100 levels nested at:signs.txt Line: 2");
}

TEST_F(Splitting, AFiftyMegabyteLineIsOneTitle) {
    std::string line(50 * 1024 * 1024, 'x');
    text.SeparateMode = 3;
    Load({{"huge.txt", line}});
    ASSERT_EQ(text.Count(), 1);
    EXPECT_EQ(text.Topic(0).Lines[0].size(), line.size());
    EXPECT_FALSE(text.Topic(0).HasBody);
}

TEST(BadInput, BinaryBytesSplitInEveryModeWithoutHarm) {
    std::string bytes;
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        char byte = static_cast<char>(state >> 24);
        bytes += byte == '\x1A' ? '\n' : byte;  // keep going past where Ctrl+Z would end the file
    }
    for (int32_t mode = 1; mode <= 4; ++mode) {
        TAllText text;
        text.SeparateMode = mode;
        text.AtLeastBlankLines = 1;
        text.HeadSign = "\x80";
        text.UseLevelSigns = true;
        try {
            text.LoadTexts({{"binary.dat", bytes}});
        } catch (const EStuctureError&) {
            continue;  // a clear error is a fine answer to random bytes
        } catch (const ENoTopics&) {
            EXPECT_EQ(mode, 4);  // no line begins with the title tag
            continue;
        }
        text.BuildStructure();
        EXPECT_GT(text.Count(), 0) << "mode " << mode;
        for (const TBlock& topic : text.Topics)
            EXPECT_FALSE(topic.Number.empty());
    }
}

TEST(Structure, NumbersSiblingsAndChildren) {
    TAllText text;
    text.SeparateMode = 4;
    text.HeadSign = "*";
    text.LoadTexts({{"a.txt", "*A\n*B\nb\n**B1\nb1\n**B2\n***B2a\n*C\nc\n"}});
    text.BuildStructure();
    std::string got;
    for (const TBlock& t : text.Topics) {
        got += t.Title() + " " + t.Number + (t.HasChildren ? " C" : "") + (t.IsLastSibling ? " L" : "") +
               (t.IsPage ? " P" : "") + " " + std::to_string(t.PrevPage) + "/" + std::to_string(t.NextPage) + "\n";
    }
    EXPECT_EQ(got,
              "A 1. P 0/1\n"
              "B 2. C P 0/2\n"
              "B1 2.1 P 1/4\n"
              "B2 2.2 C L 0/0\n"
              "B2a 2.2.1 L P 2/5\n"
              "C 3. L P 4/0\n");
    EXPECT_EQ(text.FirstPage, 0);
    EXPECT_EQ(text.LastPage, 5);
}

TEST(Structure, IrregularLevelsStayATree) {
    // Levels 3, 3, 1, 4, 2: a deeper first topic and a return to a level between two others.
    TAllText text;
    text.SeparateMode = 4;
    text.HeadSign = "*";
    text.LoadTexts({{"a.txt", "***A\n***B\n*C\n****D\n**E\n"}});
    text.BuildStructure();
    std::string got;
    for (const TBlock& t : text.Topics)
        got += t.Number + (t.IsLastSibling ? "L" : "") + " ";
    EXPECT_EQ(got, "1. 2. 3.L 3.1 3.2L ");
}

TEST(Structure, DeepChainsNeedNoRecursion) {
    TAllText text;
    text.SeparateMode = 3;
    text.UseLevelSigns = true;
    std::string chain = "T\n";
    for (int i = 1; i < MaxTopicLevel; ++i)
        chain += "{Para}\n{>}\nT\n";
    for (int i = 0; i < 100000; ++i)
        chain += "{Para}\n{|<}\nT\n";
    text.LoadTexts({{"a.txt", chain}});
    text.BuildStructure();
    EXPECT_EQ(text.Topic(MaxTopicLevel - 1).Level, MaxTopicLevel);
    EXPECT_EQ(text.Topic(text.Count() - 1).Number, "100001.");
    EXPECT_EQ(text.FillTree()[MaxTopicLevel - 1].Parent, MaxTopicLevel - 2);
}

TEST(Structure, TreeNodesAndImages) {
    TAllText text;
    text.SeparateMode = 4;
    text.HeadSign = "*";
    text.LoadTexts({{"a.txt", "*Plain book\n**Leaf\n*Icon book [ICON3]\n**Icon leaf [ICON5]\n**Zero [ICON0]\n"}});
    text.BuildStructure();
    std::vector<TopicTreeNode> nodes = text.FillTree();
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[0].Parent, -1);
    EXPECT_EQ(nodes[0].ImageIndex, 0);
    EXPECT_EQ(nodes[1].Parent, 0);
    EXPECT_EQ(nodes[1].ImageIndex, 8);
    EXPECT_EQ(nodes[2].ImageIndex, 2);
    EXPECT_EQ(nodes[3].Parent, 2);
    EXPECT_EQ(nodes[3].ImageIndex, 4);
    EXPECT_EQ(nodes[4].ImageIndex, 8);
    EXPECT_EQ(nodes[4].Text, "Zero");
    EXPECT_EQ(TAllText::TopicIndexOfNode(nodes[3]), 3);
}

TEST(Sections, SectionTextJoinsWithCrLf) {
    TBlock block;
    block.Lines = {"Title", "one", "", "three"};
    EXPECT_EQ(block.Title(), "Title");
    EXPECT_EQ(block.Body(), "one\r\n\r\nthree");
    EXPECT_EQ(block.SectionLines(2).size(), 3u);
    EXPECT_EQ(block.SectionText(3), "");
    block.Lines = {"Only"};
    EXPECT_EQ(block.Body(), "");
}

TEST(Files, LoadFilesReadsFromTheProjectFolderAndReportsMissingFiles) {
    TempFolder folder;
    WriteFile(folder / "text/a.txt", "Alpha\nbody\n");
    TProjectOption options;
    options.ProjectFolder = folder.Path();
    options.SplitOneTopicPerFile = true;
    TAllText text;
    text.AssignSeparatingOptions(options);
    text.LoadFiles({"text/a.txt"});
    EXPECT_EQ(text.Topic(0).Title(), "Alpha");

    TAllText missing;
    missing.AssignSeparatingOptions(options);
    try {
        missing.LoadFiles({"text/a.txt", "text/gone.txt"});
        FAIL();
    } catch (const EFileError& error) {
        EXPECT_NE(std::string(error.what()).find("text/gone.txt"), std::string::npos);
    }
}

}  // namespace
}  // namespace leafsmith
