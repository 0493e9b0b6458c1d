// The help compiler end to end: a project compiled with ours and read back with chmlib and
// python3-chm.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "chm/chm_compiler.h"
#include "chm/chm_readers.h"
#include "chm/help_project.h"
#include "command_support.h"
#include "helpproject/help_compiler.h"

namespace leafsmith::testing {
namespace {

std::uint32_t Le32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<size_t>(i)));
    return value;
}

class ChmCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("LEAFSMITH_CHMCMD");
        WriteFile(folder_ / "html/1.htm",
                  "<html><head><meta charset=\"utf-8\"><title>Café Müller</title></head>\n"
                  "<body class=\"page\" onload=\"x()\"><p>Straße naïve caf&eacute; typewriter</p>\n"
                  "<a href=\"2.htm#here\">there</a> <a href=\"2.htm#nowhere\">nowhere</a> <a href=\"#top\">up</a>\n"
                  "<img src=\"pic.gif\"><a href=\"http://example.com/x.htm\">web</a>\n"
                  "<script>var hiddenword = 1;</script></body></html>");
        WriteFile(folder_ / "html/2.htm",
                  "<html><head><title>Second</title></head><body><a name=\"here\"></a>golf "
                  "<a href=\"../t.hhc\">contents</a></body></html>");
        WriteFile(folder_ / "html/sub/3.htm", "中文 only text, no tags");
        WriteFile(folder_ / "html/one.txt", "<");
        WriteFile(folder_ / "t.hhc",
                  "<OBJECT type=\"text/site properties\"></OBJECT><UL>\n"
                  "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"One\">"
                  "<param name=\"Local\" value=\"html\\1.htm\"></OBJECT>\n"
                  "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Gone\">"
                  "<param name=\"Local\" value=\"html\\gone.htm\"></OBJECT></UL>\n");
        WriteFile(folder_ / "t.hhk", "<UL></UL>\n");
        WriteFile(folder_ / "alias.h",
                  "/* numbers */\n#define IDH_ONE 1001\n#define IDH_TWO 0x3EA // hex\n"
                  "#define IDH_GONE 1003\n#define IDH_NONE 1004\n");
    }

    void WriteProject(const std::string& language) {
        WriteFile(folder_ / "t.hhp",
                  "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=t.chm\r\nContents file=t.hhc\r\n"
                  "Index file=t.hhk\r\nDefault topic=html\\1.htm\r\nDefault Window=main\r\nFull-text search=Yes\r\n"
                  "Language=" +
                      language +
                      "\r\nTitle=Test\r\n\r\n[WINDOWS]\r\n"
                      "main=\"Test\",\"t.hhc\",\"t.hhk\",\"html\\1.htm\",\"html\\1.htm\",,,,,0x23520,222,0x1846,"
                      "[10,20,700,500],0x30000,,,,1,,0\r\n\r\n"
                      "[FILES]\r\nhtml\\1.htm\r\nhtml\\2.htm\r\nhtml\\sub\\3.htm\r\nhtml\\missing.htm\r\nhtml\\one."
                      "txt\r\n\r\n"
                      "[ALIAS]\r\nIDH_ONE= html\\1.htm\r\nIDH_TWO=html\\sub\\3.htm\r\nIDH_GONE=html\\gone.htm\r\n\r\n"
                      "[MAP]\r\n#include alias.h\r\n");
    }

    CompileResult Compile(std::vector<std::string>& log) {
        return CompileHHP(folder_ / "t.hhp", [&](const std::string& line) { log.push_back(line); }, {});
    }

    std::string Search(const std::string& codePage, const std::string& words) {
        return RunCommand("/usr/bin/python3 " + Quote(SourceFolder() + "/chm/search.py") + " " +
                          Quote(folder_ / "t.chm") + " " + codePage + " " + words)
            .Output;
    }

    TempFolder folder_;
};

TEST_F(ChmCompiler, EveryFileComesBackAndTheWarningsNameWhatIsWrong) {
    WriteProject("0x407 German (Germany)");
    std::vector<std::string> log;
    ASSERT_TRUE(Compile(log).Compiled);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Warning: t.hhp line 19: html/missing.htm does not exist and was left out.",
                       "Warning: t.hhc lists html\\gone.htm, which is not in the project.",
                       "Warning: html/1.htm links to 2.htm#nowhere, an anchor that does not exist.",
                       "Warning: html/1.htm links to #top, an anchor that does not exist.",
                       "Warning: html/1.htm links to pic.gif, which is not in the project.",
                       "Warning: the alias IDH_GONE was left out: its page html/gone.htm is not compiled.",
                       "Warning: the context number IDH_NONE has no alias and was left out.",
                       "Warning: 2 words were left out of the search index: code page 1252 of the project's language "
                       "cannot hold them.",
                   }));

    TempFolder out;
    RunCommand("extract_chmLib " + Quote(folder_ / "t.chm") + " " + Quote(out.Path()));
    for (const char* file : {"html/1.htm", "html/2.htm", "html/sub/3.htm", "html/one.txt", "t.hhc", "t.hhk"})
        EXPECT_TRUE(ReadFile(out / file) == ReadFile(folder_ / file)) << file;

    // Context numbers lead to the pages by their place in the help file, not on this disk.
    const std::string ivb = ReadFile(out / "#IVB");
    const std::string strings = ReadFile(out / "#STRINGS");
    ASSERT_EQ(ivb.size(), 20u);
    EXPECT_EQ(Le32(ivb, 0), 16u);
    EXPECT_EQ(Le32(ivb, 4), 1001u);
    EXPECT_EQ(std::string(strings.c_str() + Le32(ivb, 8)), "html/1.htm");
    EXPECT_EQ(Le32(ivb, 12), 1002u);
    EXPECT_EQ(std::string(strings.c_str() + Le32(ivb, 16)), "html/sub/3.htm");

    EXPECT_EQ(Search("cp1252", "müller straße café naïve typewriter golf second hiddenword"),
              "müller: html/1.htm\nstraße: html/1.htm\ncafé: html/1.htm\nnaïve: html/1.htm\n"
              "typewriter: html/1.htm\ngolf: html/2.htm\nsecond: html/2.htm\nhiddenword: \n");
}

TEST_F(ChmCompiler, ChineseWordsAreFoundCharacterByCharacter) {
    WriteProject("0x804 Chinese (PRC)");
    std::vector<std::string> log;
    ASSERT_TRUE(Compile(log).Compiled);
    EXPECT_EQ(Search("gbk", "中 文 text"), "中: html/sub/3.htm\n文: html/sub/3.htm\ntext: html/sub/3.htm\n");
}

TEST_F(ChmCompiler, ACompileThatCannotFinishKeepsTheOldFileAndLeavesNothing) {
    WriteProject("0x409");
    std::vector<std::string> log;
    ASSERT_TRUE(Compile(log).Compiled);
    const std::string good = ReadFile(folder_ / "t.chm");
    ASSERT_EQ(good.substr(0, 4), "ITSF");
    // A file size limit stands in for a full disk (the signal it sends is ignored, so writes fail).
    CommandResult run = RunCommand("trap '' XFSZ; ulimit -f 8; exec " + Quote(ProgramFolder() + "/leafsmith-build") +
                                   " --compile " + Quote(folder_ / "t.hhp"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Output.find("The compile failed (Cannot write \""), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("File too large); the old .chm file was kept."), std::string::npos) << run.Output;
    EXPECT_TRUE(ReadFile(folder_ / "t.chm") == good) << "the old file changed";
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "left behind: " << entry.path();
}

// The files of a help project as its compiled file must hold them.
ChmFiles FilesOf(const chm::HelpProject& project) {
    ChmFiles files;
    for (const std::string& file : project.Files)
        files["/" + file] = ReadFile(project.Folder + "/" + file);
    for (const char* key : {"contents file", "index file"}) {
        if (!project.FileOption(key).empty())
            files["/" + project.FileOption(key)] = ReadFile(project.Folder + "/" + project.FileOption(key));
    }
    return files;
}

TEST(ShippedProjects, EveryExampleTheManualAndASphinxProjectReadBackThroughEveryReader) {
    REQUIRE_CHM_READERS();
    ::unsetenv("LEAFSMITH_CHMCMD");
    TempFolder work;
    std::vector<std::string> sources = {"Examples/Example1.lfx", "Examples/Example2.lfx", "Examples/Example3.lfx",
                                        "Examples/Example4.lfx", "manual/manual.lfx"};
    for (size_t i = 0; i < sources.size(); ++i) {
        CommandResult build = RunLeafsmithBuild("--yes --no-pause --out " + Quote(work / std::to_string(i)) + " " +
                                                Quote(ProgramFolder() + "/" + sources[i]));
        ASSERT_EQ(build.Status, 0) << sources[i] << build.Errors;
    }
    WriteFile(work / "sphinx/conf.py",
              "project = 'Demo'\nhtmlhelp_basename = 'demo'\nextensions = ['sphinxcontrib.htmlhelp']\n");
    WriteFile(work / "sphinx/index.rst", "Demo\n====\n\nCafé *world*.\n\n.. toctree::\n\n   guide\n");
    WriteFile(work / "sphinx/guide.rst", "Guide\n=====\n\nBack to :doc:`index`.\n");
    CommandResult sphinx =
        RunCommand("/usr/bin/sphinx-build -q -b htmlhelp " + Quote(work / "sphinx") + " " + Quote(work / "sphinx-out"));
    ASSERT_EQ(sphinx.Status, 0) << sphinx.Output << sphinx.Errors;

    size_t projects = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work.Path())) {
        if (entry.path().extension() != ".hhp")
            continue;
        const chm::HelpProject project = chm::ReadHelpProject(entry.path().string());
        const std::string chm = project.Folder + "/" + project.FileOption("compiled file");
        CommandResult compile = RunLeafsmithBuild("--compile " + Quote(entry.path().string()));
        ASSERT_EQ(compile.Status, 0) << entry.path() << compile.Output;
        SCOPED_TRACE(entry.path().string());
        ExpectReadersGiveBack(chm, FilesOf(project), work, true);
        ++projects;
    }
    EXPECT_EQ(projects, 4u);  // the first and fourth examples, the manual and Sphinx's project
}

}  // namespace
}  // namespace leafsmith::testing
