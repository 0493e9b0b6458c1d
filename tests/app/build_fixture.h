// The project, template group and program folder that the end-to-end build tests share.
#pragma once

#include <string>

#include "command_support.h"
#include "core/project_option.h"

namespace leafsmith::testing {

inline const char* PageTemplate =
    "<html><HEAD><title>($TITLE$)</title></HEAD><body>($PROJECTTITLE$)|($CHARSET$)|($SEQUENCE$)|($THISFILENAME$)|"
    "($PREVIOUSPAGE$)|($NEXTPAGE$)|<!--ShowWhenFirst-->first<!--/ShowWhenFirst--><!--HideWhenFirst-->notfirst"
    "<!--/HideWhenFirst-->|<!--ShowWhenEnd-->end<!--/ShowWhenEnd--><!--HideWhenEnd-->notend<!--/HideWhenEnd-->|"
    "($WEBSITEJS$)\n($CONTENT$)</body></html>\n";

inline const char* FaqTemplate =
    "<html><head><title>($PROJECTTITLE$)</title></head><body>\n"
    "<ul><!--LISTBEGIN--><li><a href=\"($FAQLINKHREF$)\">($FAQLINKTITLE$)</a></li><!--LISTEND--></ul>\n"
    "<div>($FAQLINKLIST$)</div>\n"
    "<!--TopicTemplateBegin--><h2>($FAQTITLE$)</h2>($FAQCONTENT$)<!--TopicTemplateEnd-->\n"
    "</body></html>\n";

// The three topics of the contents-list example: Intro, Part A (a heading with an icon, an alias
// and a context number) and Detail below it.
inline const char* ExampleText =
    "Intro\nIntro text\n{Para}\nPart A [ICON3] [A=PA] [ID=20]\n{>}\n{Para}\nDetail\nDetail text\n";

class Building : public ::testing::Test {
protected:
    Building() {
        WriteFile(
            folder / "setup/singlehtml.htm",
            "<html><head><title>($PROJECTTITLE$)</title></head><body>($CHARSET$)\n($ALLCONTENT$)</body></html>\n");
        WriteFile(folder / "setup/icons/cplus.gif", "plus");
        WriteFile(folder / "setup/icons/cminus.gif", "minus");
        WriteFile(folder / "setup/icons/1.gif", "not copied for these formats");
        WriteFile(folder / "setup/webjs.dat", "<script>/* tree */</script>\n");
        WriteFile(folder / "setup/ebookjs.dat", "/* titles */\n");
        WriteFile(
            folder / "group/templates.ini",
            "[GENERAL]\nGroupName=Test\n[COMMON]\nCopyFiles=style.css\n"
            "[Template1]\nContentTemplates=page.htm\nOtherTemplates=extra.txt:renamed.txt;extra.txt\n"
            "CopyFiles=img/*.*:pictures/\nType=0\n"
            "[Template2]\nContentTemplates=faq.htm\nType=3\n"
            "[Template3]\nContentTemplates=web.htm\nOtherTemplates=nav.htm\nType=1\n"
            "[Template4]\nContentTemplates=ebook.htm\nOtherTemplates=contents.htm\nDefault=contents.htm\nType=2\n");
        WriteFile(folder / "group/web.htm",
                  "<html><head>($WEBSITEJS$)</head><body>($DEFAULTPAGE$)|($CONTENT$)</body></html>\n");
        WriteFile(folder / "group/nav.htm", "($WEBSITEJS$)|($DEFAULTPAGE$)|($NAVIGATION$)\n");
        WriteFile(folder / "group/ebook.htm", "($INDEXPAGE$)|($JUMPMENULIST$)|($TITLELIST$)|($CONTENT$)\n");
        WriteFile(folder / "group/contents.htm", "($TITLELIST$)|($JUMPMENULIST$)|($INDEXPAGE$)\n");
        WriteFile(folder / "group/page.htm", PageTemplate);
        WriteFile(folder / "group/faq.htm", FaqTemplate);
        WriteFile(folder / "group/extra.txt", "Extra for ($PROJECTTITLE$) ($TITLE$)\n");
        WriteFile(folder / "group/style.css", "body{}");
        WriteFile(folder / "group/img/a.gif", "gif");
        WriteFile(folder / "project/text/example.txt", ExampleText);

        options.ProjectTitle = "Demo";
        options.SplitByTagLines = true;
        options.LineSign = "{Para}";
        options.UseLevelSigns = true;
        options.AddOneSign = "{>}";
        options.MinusOneSign = "{<}";
        options.BackToRootSign = "{|<}";
        options.FileList = {"text/example.txt"};
        options.EncodingIndex = 23;
        options.FileNamePrefix = "p";
        options.FileExtension = ".htm";
        options.CounterStart = 1;
        options.CounterLength = 1;
        options.LanguageIndex = 34;
        options.OutDir = "out";
        options.OutputChm = true;
        options.TempletChm = folder / "group";
        options.TempletNoChm = 1;
        options.CHMFileName = "demo";
        options.TempletChm_Faq = folder / "group";
        options.TempletNoChm_Faq = 2;
        options.TitleListStyle_Faq = 2;
        options.SingleHtmlFileName = "all.htm";
    }

    CommandResult Build(const std::string& extra = "--yes") { return BuildAfter("", extra); }
    // The build, started by the shell after `shellCommands` (limits, traps) have run.
    CommandResult BuildAfter(const std::string& shellCommands, const std::string& extra = "--yes") {
        options.SaveToFile(folder / "project/demo.lfx");
        return RunCommand(shellCommands + Quote(ProgramFolder() + "/leafsmith-build") + " --no-pause --setup-dir " +
                          Quote(folder / "setup") + " " + extra + " " + Quote(folder / "project/demo.lfx"));
    }

    std::string Out(const std::string& name) { return ReadFile(folder / ("project/out/" + name)); }

    TempFolder folder;
    TProjectOption options;
};

// Removing the old output fails while a file in it is immutable (root can still set that flag).
class LockedFile {
public:
    // Makes the file (unless `existing` says the entry is there already, a folder perhaps) and locks it.
    explicit LockedFile(std::string path, bool existing = false) : path_(std::move(path)) {
        if (!existing)
            WriteFile(path_, "in use");
        locked_ = RunCommand("chattr +i " + Quote(path_)).Status == 0;
    }
    ~LockedFile() { RunCommand("chattr -i " + Quote(path_)); }
    bool Locked() const { return locked_; }

private:
    std::string path_;
    bool locked_;
};

// Writes a project of `topics` generated topics into `folder` that builds the CHM format with the
// Classic group and compiles it into corpus.chm; returns the project file.
inline std::string WriteCorpusProject(const std::string& folder, int topics) {
    RunCommand(Quote(ProgramFolder() + "/leafsmith-corpus") + " " + std::to_string(topics) + " " + Quote(folder));
    TProjectOption options(ProgramFolder());
    options.LoadFromFile(folder + "/corpus.lfx");
    options.OutputChm = true;
    options.TempletChm = ProgramFolder() + "/Templates/Classic";
    options.TempletNoChm = 1;
    options.CHMFileName = "corpus";
    options.CompileChm = true;
    options.SaveToFile(folder + "/corpus.lfx");
    return folder + "/corpus.lfx";
}

// How many of the pages 1.htm to `pages`.htm an enum_chmLib listing holds.
inline size_t CountListedPages(const std::string& listing, int pages) {
    size_t found = 0;
    for (int page = 1; page <= pages; ++page)
        found += listing.find("/html/" + std::to_string(page) + ".htm\n") != std::string::npos ? 1 : 0;
    return found;
}

}  // namespace leafsmith::testing
