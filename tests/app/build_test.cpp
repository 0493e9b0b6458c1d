// End-to-end builds: leafsmith-build on small projects in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "build_fixture.h"
#include "command_support.h"
#include "core/project_option.h"
#include "core/strings.h"

namespace leafsmith {
namespace {

using testing::Building;
using testing::LockedFile;
using testing::Quote;
using testing::ReadFile;
using testing::RunCommand;
using testing::RunLeafsmithBuild;
using testing::TempFolder;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST_F(Building, ChmPagesContentsListAndAliases) {
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_EQ(result.Output,
              "Reading the text files...\n\nMaking CHM format...\np1.htm\np3.htm\nCopying files...\n"
              "Creating Chm Project...\n\nDone.\nThe creation has been completed succussfully.\n");
    const std::string head = "<html><head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\">";
    EXPECT_EQ(Out("CHM/html/p1.htm"),
              head +
                  "<title>Intro</title></HEAD><body>Demo|UTF-8|0|p1.htm|#|p3.htm|<!--ShowWhenFirst-->first"
                  "<!--/ShowWhenFirst-->|<!--HideWhenEnd-->notend<!--/HideWhenEnd-->|\r\nIntro text<BR>\r\n"
                  "</body></html>\r\n");
    EXPECT_EQ(Out("CHM/html/p3.htm"),
              head +
                  "<title>Detail</title></HEAD><body>Demo|UTF-8|2|p3.htm|p1.htm|#|<!--HideWhenFirst-->notfirst"
                  "<!--/HideWhenFirst-->|<!--ShowWhenEnd-->end<!--/ShowWhenEnd-->|\r\nDetail text<BR>\r\n"
                  "</body></html>\r\n");
    EXPECT_FALSE(fs::exists(folder / "project/out/CHM/html/p2.htm"));  // a heading without a page

    const std::string hhc = Out("CHM/demo.hhc");
    EXPECT_NE(hhc.find("   </OBJECT>\r\n"
                       "<UL><LI><OBJECT type=\"text/sitemap\">\r\n"
                       "<param name=\"Name\" value=\"Intro\">\r\n"
                       "<param name=\"Local\" value=\"html\\p1.htm\">\r\n"
                       "</OBJECT>\r\n"
                       "<LI><OBJECT type=\"text/sitemap\">\r\n"
                       "<param name=\"Name\" value=\"Part A\">\r\n"
                       "<param name=\"ImageNumber\" value=\"3\">\r\n"
                       "</OBJECT>\r\n"
                       "<UL><LI><OBJECT type=\"text/sitemap\">\r\n"
                       "<param name=\"Name\" value=\"Detail\">\r\n"
                       "<param name=\"Local\" value=\"html\\p3.htm\">\r\n"
                       "</OBJECT>\r\n"
                       "</UL></UL>\r\n"
                       "</BODY>\r\n"),
              std::string::npos)
        << hhc;
    const std::string hhp = Out("CHM/demo.hhp");
    EXPECT_NE(hhp.find("Default Font=,,0\r\nDefault Window=main\r\nDefault topic=html\\p1.htm\r\n"), std::string::npos);
    EXPECT_NE(hhp.find("Language=0x0409 English (United States)\r\nTitle=Demo\r\n"), std::string::npos);
    EXPECT_NE(
        hhp.find("[FILES]\r\nhtml\\extra.txt\r\nhtml\\icons\\cminus.gif\r\nhtml\\icons\\cplus.gif\r\nhtml\\p1.htm\r\n"
                 "html\\p3.htm\r\nhtml\\pictures\\a.gif\r\nhtml\\renamed.txt\r\nhtml\\style.css\r\n\r\n"
                 "[ALIAS]\r\nPA= html\\p2.htm\r\n\r\n\r\n[MAP]\r\n#include demo.h\r\n\r\n"),
        std::string::npos)
        << hhp;
    EXPECT_EQ(Out("CHM/demo.h"), "#define PA 20\r\n");
    EXPECT_EQ(Out("CHM/html/renamed.txt"), "Extra for Demo ($TITLE$)\r\n");
    EXPECT_EQ(Out("CHM/html/pictures/a.gif"), "gif");
    EXPECT_FALSE(fs::exists(folder / "project/out/CHM/html/icons/1.gif"));
}

TEST_F(Building, OnATerminalPagesAreCountedOnOneLineUnlessVerbose) {
    options.SaveToFile(folder / "project/demo.lfx");
    const std::string build = Quote(testing::ProgramFolder() + "/leafsmith-build") + " --no-pause --yes --setup-dir " +
                              Quote(folder / "setup") + " " + Quote(folder / "project/demo.lfx");
    testing::CommandResult result = RunCommand("script -qec " + Quote(build) + " /dev/null");
    ASSERT_EQ(result.Status, 0) << result.Output;
    EXPECT_NE(result.Output.find("Making CHM format...\r\n\r\033[KCHM: 1 of 2 pages\r\033[K2 pages written\r\n"
                                 "Copying files...\r\n"),
              std::string::npos)
        << result.Output;
    result = RunCommand("script -qec " + Quote(build + " --verbose") + " /dev/null");
    EXPECT_NE(result.Output.find("Making CHM format...\r\np1.htm\r\np3.htm\r\nCopying files...\r\n"), std::string::npos)
        << result.Output;
}

TEST_F(Building, FaqAndSingleHtmlPutEveryTopicOnOnePage) {
    options.OutputChm = false;
    options.OutputFaq = true;
    options.OutputSingleHtml = true;
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_EQ(result.Output,
              "Reading the text files...\n\nMaking FAQ format...\nCopying files...\n\nMaking SingleHTML format...\n\n"
              "Done.\nThe creation has been completed succussfully.\n");
    EXPECT_EQ(
        Out("FAQ/html/faq.htm"),
        "<html><head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\"><title>Demo</title></head><body>\r\n"
        "<ul><li><a href=\"#a0\">Intro</a></li><li><a href=\"#a2\">Detail</a></li></ul>\r\n"
        "<div><div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">1. &nbsp;<A "
        "HREF=\"#a0\">Intro</A></div>"
        "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">2. &nbsp;Part A</div><div "
        "class=\"titleentry level2\" style=\"padding-left:3.5em;text-indent:-1.5em\">2.1 &nbsp;<A "
        "HREF=\"#a2\">Detail</A></div></div>\r\n"
        "<h2><a name=\"a0\"></a>Intro</h2>Intro text<BR>\r\n<h2><a name=\"a2\"></a>Detail</h2>Detail text<BR>\r\n"
        "\r\n</body></html>\r\n");
    EXPECT_EQ(Out("SingleHTML/all.htm"),
              "<html><head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\"><title>Demo</title></head><body>"
              "UTF-8\r\n"
              "<A name=\"a0\"></A><H1>1. Intro</H1></P><P>Intro text<BR>\r\n<P>"
              "<A name=\"a1\"></A><H1>2. Part A</H1></P>"
              "<A name=\"a2\"></A><H2>2.1 Detail</H2></P><P>Detail text<BR>\r\n<P></body></html>\r\n");
    EXPECT_EQ(Out("SingleHTML/icons/cplus.gif"), "plus");
}

TEST_F(Building, TheWebsiteGroupMayGiveTheSinglePageAndTheIcons) {
    options.OutputChm = false;
    options.OutputSingleHtml = true;
    options.TempletChm_WebSite = folder / "group";
    WriteFile(folder / "group/singlehtml.htm", "<body>($TABLEOFCONTENTS$)|($ALLCONTENT$)</body>");
    WriteFile(folder / "group/icons/cplus.gif", "the group's plus");
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_EQ(Out("SingleHTML/all.htm"),
              "<body><ul class=\"toc\">\r\n"
              "<li class=\"level1\"><a href=\"#a0\">1. Intro</a></li>\r\n"
              "<li class=\"level1\"><a href=\"#a1\">2. Part A</a></li>\r\n"
              "<li class=\"level2\"><a href=\"#a2\">2.1 Detail</a></li>\r\n"
              "</ul>|<A name=\"a0\"></A><H1>1. Intro</H1></P><P>Intro text<BR>\r\n<P>"
              "<A name=\"a1\"></A><H1>2. Part A</H1></P>"
              "<A name=\"a2\"></A><H2>2.1 Detail</H2></P><P>Detail text<BR>\r\n<P></body>\r\n");
    EXPECT_EQ(Out("SingleHTML/icons/cplus.gif"), "the group's plus");
    EXPECT_EQ(Out("SingleHTML/icons/cminus.gif"), "minus");
}

TEST_F(Building, ExitStatuses) {
    options.OutDir = "   ";
    testing::CommandResult noFolder = Build();
    EXPECT_EQ(noFolder.Status, 4);
    EXPECT_EQ(noFolder.Output, "You haven't selected output folder.\n");

    options.OutDir = "out";
    testing::CommandResult declined = Build("");
    EXPECT_EQ(declined.Status, 5);
    EXPECT_EQ(declined.Output, "");
    EXPECT_FALSE(fs::exists(folder / "project/out"));

    options.TempletChm = folder / "no-such-group";
    testing::CommandResult error = Build();
    EXPECT_EQ(error.Status, 1);
    EXPECT_EQ(error.Errors,
              "leafsmith-build: Unable to find file \"" + folder / "no-such-group/Templates.ini" + "\".\n");
    EXPECT_EQ(error.Output, "Reading the text files...\n");  // checked before any old output is removed

    options.TempletChm = "";
    EXPECT_EQ(Build().Errors,
              "leafsmith-build: No template group is chosen for the CHM format; choose one in the output settings.\n");
    options.TempletChm = folder / "group";
    options.TempletNoChm = 7;
    EXPECT_EQ(Build().Errors, "leafsmith-build: The template group \"" + folder / "group/" +
                                  "\" has no template 7 for the CHM format (it has 4 numbered templates).\n");

    options.TempletNoChm = 1;
    options.FileList = {"text/missing.txt"};
    testing::CommandResult missing = Build();
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Errors,
              "leafsmith-build: Cannot read the text file \"text/missing.txt\": No such file or directory\n");
}

TEST_F(Building, OldOutputThatCannotBeRemovedIsAskedAbout) {
    LockedFile locked(folder / "project/out/CHM/locked.htm");
    if (!locked.Locked())
        GTEST_SKIP() << "chattr +i is not available here, so no file can be kept from removal";

    // At a terminal: Yes to the start question, Cancel to the old files.
    options.SaveToFile(folder / "project/demo.lfx");
    testing::CommandResult cancelled =
        RunCommand("printf 'y\\nc\\n' | script -qec " +
                   Quote(testing::ProgramFolder() + "/leafsmith-build --no-pause --setup-dir " + folder / "setup" +
                         " " + folder / "project/demo.lfx") +
                   " /dev/null");
    cancelled.Output = ReplaceAll(cancelled.Output, "\r", "");  // the terminal ends its lines with CR LF
    EXPECT_EQ(cancelled.Status, 3) << cancelled.Output;
    EXPECT_NE(
        cancelled.Output.find("Cannot deleted the old files when created CHM format. The old files might be used, "
                              "continue?"),
        std::string::npos)
        << cancelled.Output;
    EXPECT_NE(cancelled.Output.find("\nCanceled.\nThe creation has been canceled."), std::string::npos)
        << cancelled.Output;
    EXPECT_FALSE(fs::exists(folder / "project/out/CHM/html"));

    // Without a terminal: the old-files question is Cancel, unless --yes goes on over them.
    testing::CommandResult goesOn = Build("--yes");
    EXPECT_EQ(goesOn.Status, 0) << goesOn.Errors;
    EXPECT_TRUE(fs::exists(folder / "project/out/CHM/html/p1.htm"));
    EXPECT_TRUE(fs::exists(folder / "project/out/CHM/locked.htm"));
}

TEST_F(Building, AFileWhereTheFormatFolderGoesIsOldOutput) {
    WriteFile(folder / "project/out/CHM", "an old file in the way");
    testing::CommandResult result = Build();
    EXPECT_EQ(result.Status, 0) << result.Errors;
    EXPECT_TRUE(fs::exists(folder / "project/out/CHM/html/p1.htm"));
}

TEST_F(Building, NothingIsWrittenOutsideTheOutputFolder) {
    auto expectRefused = [&](const std::string& what) {
        testing::CommandResult result = Build();
        EXPECT_EQ(result.Status, 1) << what;
        EXPECT_NE(result.Errors.find("leads outside the output folder"), std::string::npos) << what << result.Errors;
        for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name != "escaped.htm" && name != "escaped.txt" && name != "escaped")
                << what << ": " << entry.path();
        }
    };
    options.FileNamePrefix = "../../../escaped";
    expectRefused("page file name");
    options.FileNamePrefix = "p";
    WriteFile(folder / "group/templates.ini",
              "[Template1]\nContentTemplates=page.htm\nOtherTemplates=extra.txt:../../../escaped.txt\nType=0\n");
    expectRefused("further template destination");
    WriteFile(folder / "group/templates.ini",
              "[Template1]\nContentTemplates=page.htm\nCopyFiles=img/*.*:../../escaped/\nType=0\n");
    expectRefused("copy destination");
    WriteFile(folder / "group/templates.ini", "[Template1]\nContentTemplates=page.htm\nType=0\n");
    options.SourcePath = folder / "group/img";
    options.DestFolder = "../../../escaped";
    expectRefused("resource folder");
    options.DestFolder = "";
    options.OutputChm = false;
    options.OutputSingleHtml = true;
    options.SingleHtmlFileName = "../escaped.htm";
    expectRefused("single page name");
}

size_t CountOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++count;
    return count;
}

TEST_F(Building, CompiledHelpFileHoldsPagesContentsDefaultTopicAndAliases) {
    WriteFile(folder / "project/text/example.txt",
              "Intro [ID=5]\nIntro text\n{Para}\nPart A [ICON3] [A=PA] [ID=20]\n{>}\n{Para}\nDetail [DEFAULT] "
              "[A=IDH_DETAIL]\n"
              "Detail text\n");
    options.CompileChm = true;
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_NE(result.Output.find("Creating Chm Project...\nCompiling demo.hhp into demo.chm\n"
                                 "Warning: the alias PA was left out: its page html/p2.htm is not compiled.\n"
                                 "2 pages, 6 other files, 3 contents entries, 0 index entries, 2 context IDs, "),
              std::string::npos)
        << result.Output;
    const std::string chm = folder / "project/out/CHM/demo.chm";
    testing::CommandResult listing = RunCommand("enum_chmLib " + Quote(chm));
    for (const char* name : {"/html/p1.htm\n", "/html/p3.htm\n", "/html/style.css\n", "/demo.hhc\n", "/demo.hhk\n"}) {
        EXPECT_NE(listing.Output.find(name), std::string::npos) << name << listing.Output;
    }
    EXPECT_EQ(testing::DefaultTopicOf(chm, folder / "extracted"), "html/p3.htm");
    fs::create_directories(folder / "aliases");
    fs::copy_file(chm, folder / "aliases/demo.chm");
    testing::CommandResult aliases =
        RunCommand("cd " + Quote(folder / "aliases") + " && chmls extractalias demo.chm && cat demo.ali");
    EXPECT_NE(aliases.Output.find("helpid5=html/p1.htm\n"), std::string::npos) << aliases.Output;
    // An alias without a context number takes the topic's index.
    EXPECT_NE(aliases.Output.find("helpid2=html/p3.htm\n"), std::string::npos) << aliases.Output;
}

TEST_F(Building, WebsitePagesGetTheTreeLibraryAndTheirHelpProject) {
    options.OutputChm = false;
    options.OutputWebsite = true;
    options.OutputChmProject_WebSite = true;
    options.CHMFileName_WebSite = "site";
    options.TempletChm_WebSite = folder / "group";
    options.TempletNoChm_WebSite = 3;
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_EQ(result.Output,
              "Reading the text files...\n\nMaking Website format...\np1.htm\np3.htm\nCopying files...\n"
              "Creating Chm Project...\n\nDone.\nThe creation has been completed succussfully.\n");
    EXPECT_EQ(Out("WEB/html/p1.htm"),
              "<html><head>\r\n<meta name=\"GENERATOR\" content=\"Quorvane Leafsmith\"><script>/* tree */</script>\r\n"
              "</head><body>p1.htm|Intro text<BR>\r\n</body></html>\r\n");
    EXPECT_EQ(Out("WEB/html/nav.htm"),
              "($WEBSITEJS$)|p1.htm|SetEnv(1,false);SV(0,0,[\"9.gif\",\"9.gif\"]);DB();CL(\"Intro\",\"p1.htm\",\"0\");"
              "DT();\r\nSV(1,2,[\"3.gif\",\"4.gif\"]);DB();LC(\"1\",\"Part A\",\"#\",\"1\");DT();\r\n"
              "SV(2,2,[\"9.gif\",\"9.gif\"]);DS(1);DB();IC();CL(\"Detail\",\"p3.htm\",\"2\");DT();\r\nDE();collapseAll("
              ");\r\n");
    EXPECT_TRUE(fs::exists(folder / "project/out/WEB/html/icons/1.gif"));  // the website takes every picture
    EXPECT_NE(Out("WEB/site.hhp").find("Default topic=html\\index.htm\r\n"), std::string::npos);
}

TEST_F(Building, EbookPagesGetTheirListsAndTheirHelpProject) {
    options.OutputChm = false;
    options.OutputEbook = true;
    options.OutputChmProject_Ebook = true;
    options.CHMFileName_Ebook = "book";
    options.TempletChm_Ebook = folder / "group";
    options.TempletNoChm_Ebook = 4;
    options.TitleListStyle_Ebook = 1;
    testing::CommandResult result = Build();
    ASSERT_EQ(result.Status, 0) << result.Errors;
    EXPECT_NE(result.Output.find("Copying files...\nCreate Chm Project...\n"), std::string::npos) << result.Output;
    const std::string titles =
        "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">&#8226; &nbsp;<A "
        "HREF=\"p1.htm\">Intro</A></div>"
        "<div class=\"titleentry level1\" style=\"padding-left:1.5em;text-indent:-1.5em\">&#8226; &nbsp;Part "
        "A</div><div class=\"titleentry level2\" style=\"padding-left:3.5em;text-indent:-1.5em\">&#8226; &nbsp;<A "
        "HREF=\"p3.htm\">Detail</A></div>";
    EXPECT_EQ(Out("eBook/html/p3.htm"),
              "contents.htm|<select name=\"menu1\" class=\"jumpmenu\" "
              "onChange=\"window.location=this.options[this.selectedIndex].value;\">\r\n"
              "<option value=\"p1.htm\"> Intro</option>\r\n<option value=\"#\"> Part A</option>\r\n"
              "<option value=\"p3.htm\" selected>&nbsp;&nbsp;&nbsp;&nbsp; Detail</option>\r\n</select>|" +
                  titles + "|Detail text<BR>\r\n\r\n");
    EXPECT_EQ(Out("eBook/html/contents.htm"), titles + "|($JUMPMENULIST$)|($INDEXPAGE$)\r\n");
    EXPECT_NE(Out("eBook/book.hhp").find("Default topic=html\\contents.htm\r\n"), std::string::npos);

    // Without a start page in the template, the default topic's page is the index page.
    WriteFile(folder / "group/templates.ini", "[Template1]\nContentTemplates=ebook.htm\nType=2\n");
    options.TempletNoChm_Ebook = 1;
    ASSERT_EQ(Build().Status, 0);
    EXPECT_EQ(Out("eBook/html/p1.htm").substr(0, 7), "p1.htm|");
    EXPECT_NE(Out("eBook/book.hhp").find("Default topic=html\\p1.htm\r\n"), std::string::npos);
}

TEST_F(Building, WithoutADefaultTopicTheHelpOpensAtTheFirstPage) {
    WriteFile(folder / "project/text/example.txt", "Heading\n{>}\n{Para}\nFirst leaf\n{Para}\nSecond leaf\n");
    ASSERT_EQ(Build().Status, 0);
    EXPECT_NE(Out("CHM/demo.hhp").find("Default topic=html\\p2.htm\r\n"), std::string::npos) << Out("CHM/demo.hhp");
    // A default topic without a page of its own gives way to the next page.
    WriteFile(folder / "project/text/example.txt", "Heading [DEFAULT]\n{>}\n{Para}\nFirst leaf\n{Para}\nSecond leaf\n");
    ASSERT_EQ(Build().Status, 0);
    EXPECT_NE(Out("CHM/demo.hhp").find("Default topic=html\\p2.htm\r\n"), std::string::npos);
}

TEST_F(Building, PageWorkersStopAtAFaultyPageWhereOneThreadWould) {
    // Every page asks about a missing include; page 25 nests its blocks too deeply.
    std::string nested = "x";
    for (int depth = 0; depth < 40; ++depth)
        nested = "[BLOCK]" + nested + "[/BLOCK]";
    std::string text;
    for (int topic = 1; topic <= 40; ++topic) {
        text += "Topic " + std::to_string(topic) + "\n" + (topic == 25 ? nested : "Text [INC]missing.txt[/INC]") +
                "\n{Para}\n";
    }
    WriteFile(folder / "project/text/example.txt", text);
    options.CounterLength = 2;
    options.EnableTextAnalysis = true;
    options.OutputWebsite = true;
    options.TempletChm_WebSite = folder / "group";
    options.TempletNoChm_WebSite = 3;
    ::setenv("LEAFSMITH_WORKERS", "1", 1);
    const testing::CommandResult alone = Build();
    ::setenv("LEAFSMITH_WORKERS", "4", 1);
    const testing::CommandResult together = Build();
    ::unsetenv("LEAFSMITH_WORKERS");
    EXPECT_EQ(alone.Status, 1);
    EXPECT_NE(alone.Errors.find("nested more than 32 deep"), std::string::npos) << alone.Errors;
    EXPECT_NE(alone.Errors.find("Exception Occur :Cannot read the included file"), std::string::npos) << alone.Errors;
    EXPECT_EQ(together.Status, alone.Status);
    EXPECT_EQ(together.Output, alone.Output);
    EXPECT_EQ(together.Errors, alone.Errors);
}

TEST(LargeProject, TwoThousandTopicsCompileCompletely) {
    TempFolder folder;
    const std::string project = testing::WriteCorpusProject(folder / "corpus", 2000);
    testing::CommandResult result = RunLeafsmithBuild("--yes --no-pause " + Quote(project));
    ASSERT_EQ(result.Status, 0) << result.Errors;
    testing::CommandResult listing = RunCommand("enum_chmLib " + Quote(folder / "corpus/out/CHM/corpus.chm"));
    EXPECT_EQ(testing::CountListedPages(listing.Output, 2000), 2000u);
    EXPECT_EQ(CountOccurrences(listing.Output, "normal file"),
              2000 + 1 /* style */ + 2 /* icons */ + 2 /* contents, index */);
}

TEST(InitCommand, ANewProjectBuildsEveryFormatWithoutAWarning) {
    TempFolder folder;
    const std::string dir = folder / "my docs";
    testing::CommandResult init = RunLeafsmithBuild("--init " + Quote(dir));
    ASSERT_EQ(init.Status, 0) << init.Errors;
    EXPECT_EQ(init.Output, "Wrote " + dir + "/my docs.lfx and " + dir + "/topics.txt.\nBuild it with:\n" +
                               "  leafsmith-build --yes '" + dir + "/my docs.lfx'\nor open it in the window:\n" +
                               "  leafsmith '" + dir + "/my docs.lfx'\n");
    testing::CommandResult build = RunLeafsmithBuild("--yes --no-pause " + Quote(dir + "/my docs.lfx"));
    EXPECT_EQ(build.Status, 0);
    EXPECT_EQ(build.Errors, "");
    EXPECT_EQ(build.Output.find("Warning"), std::string::npos) << build.Output;
    for (const char* file :
         {"CHM/help.chm", "WEB/html/index.htm", "eBook/html/4.htm", "FAQ/html/faq.htm", "SingleHTML/document.htm"})
        EXPECT_TRUE(fs::exists(dir + "/out/" + file)) << file;
    EXPECT_NE(ReadFile(dir + "/out/SingleHTML/document.htm").find("Writing topics"), std::string::npos);

    // Nothing is replaced by a second --init.
    WriteFile(dir + "/topics.txt", "mine");
    EXPECT_EQ(RunLeafsmithBuild("--init " + Quote(dir)).Status, 1);
    EXPECT_EQ(ReadFile(dir + "/topics.txt"), "mine");
}

TEST(ProjectFile, AFileThatIsNoProjectAndMissingSettingsAreSaid) {
    TempFolder folder;
    WriteFile(folder / "notes.txt", "just notes\n");
    testing::CommandResult notes = RunLeafsmithBuild("--yes " + Quote(folder / "notes.txt"));
    EXPECT_EQ(notes.Status, 1);
    EXPECT_EQ(notes.Errors, "leafsmith-build: \"" + folder / "notes.txt" +
                                "\" is not a Leafsmith project: it has no [GENERAL] section. leafsmith-build --init "
                                "DIR writes a new project.\n");

    WriteFile(folder / "text.txt", "Topic\nText\n");
    WriteFile(folder / "hand.lfx", "[GENERAL]\nedtOutDir=out\nlbFileList=1\nlbFileList.0=text.txt\n");
    testing::CommandResult hand = RunLeafsmithBuild("--yes --no-pause " + Quote(folder / "hand.lfx"));
    EXPECT_EQ(hand.Errors.rfind("leafsmith-build: warning: " + folder / "hand.lfx" +
                                    " lacks 294 settings that new projects have, so built-in values are used: "
                                    "[GENERAL] edtProjectTitle, [GENERAL] edtSourcePath, ",
                                0),
              0u)
        << hand.Errors;
    EXPECT_EQ(std::count(hand.Errors.begin(), hand.Errors.end(), '\n'), 1);
}

TEST(CompileCommand, AProjectOfAnotherToolCompilesCompletely) {
    TempFolder folder;
    WriteFile(folder / "src/conf.py",
              "project = 'Demo Docs'\nhtmlhelp_basename = 'demodocs'\nextensions = ['sphinxcontrib.htmlhelp']\n");
    WriteFile(folder / "src/index.rst", "Demo\n====\n\n.. toctree::\n\n   guide\n\nHello *world*. See :ref:`sec`.\n");
    WriteFile(folder / "src/guide.rst", ".. _sec:\n\nGuide\n=====\n\nBack to :doc:`index`.\n\nPart\n----\n\nMore.\n");
    testing::CommandResult sphinx =
        RunCommand("/usr/bin/sphinx-build -q -b htmlhelp " + Quote(folder / "src") + " " + Quote(folder / "out"));
    ASSERT_EQ(sphinx.Status, 0) << sphinx.Output << sphinx.Errors;

    testing::CommandResult result = RunLeafsmithBuild("--compile " + Quote(folder / "out/demodocs.hhp"));
    EXPECT_EQ(result.Status, 0) << result.Output << result.Errors;
    EXPECT_NE(result.Output.find("Wrote demodocs.chm: "), std::string::npos) << result.Output;
    testing::CommandResult listing = RunCommand("enum_chmLib " + Quote(folder / "out/demodocs.chm"));
    std::string project = ReadFile(folder / "out/demodocs.hhp");
    size_t files = project.find("[FILES]");
    ASSERT_NE(files, std::string::npos);
    size_t listed = 0;
    for (const std::string& line : SplitLines(project.substr(project.find('\n', files) + 1))) {
        if (TrimView(line).empty() || line.front() == '[')
            break;
        EXPECT_NE(listing.Output.find("/" + ReplaceAll(line, "\\", "/") + "\n"), std::string::npos) << line;
        ++listed;
    }
    EXPECT_GE(listed, 3u);

    testing::CommandResult missing = RunLeafsmithBuild("--compile " + Quote(folder / "none.hhp"));
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Output, "");
    EXPECT_EQ(missing.Errors,
              "leafsmith-build: Cannot open \"" + (folder / "none.hhp") + "\": No such file or directory\n");
}

}  // namespace
}  // namespace leafsmith
