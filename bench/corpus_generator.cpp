// Writes a Leafsmith project of N topics for benchmarks: a project file and text files with a
// realistic mix of titles, paragraphs, lists, expandable blocks, tables, level tags and inline tags.
//
//   leafsmith-corpus N OUTDIR [--mode 3|4] [--seed S] [--topics-per-file K] [--formats chm,web,ebook,faq,single]
//
// The project uses the Classic template group beside the program ({SetupDir}/Templates/Classic);
// --formats switches formats on (none by default).
//
// Mode 3 separates topics by "{Para}" lines and builds the hierarchy with level tags; mode 4
// marks title lines with "@" and takes the level from the number of marks.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/project_option.h"

namespace {

const std::vector<std::string> Words = {
    "account",   "archive",  "backup",  "browser",  "cache",    "channel",  "client",   "cluster",  "column",
    "command",   "config",   "console", "context",  "cursor",   "database", "default",  "device",   "dialog",
    "document",  "domain",   "editor",  "entry",    "export",   "feature",  "field",    "filter",   "folder",
    "format",    "function", "gateway", "handler",  "header",   "history",  "import",   "index",    "install",
    "interface", "journal",  "kernel",  "keyboard", "layout",   "library",  "license",  "message",  "module",
    "monitor",   "network",  "option",  "output",   "package",  "palette",  "parser",   "password", "pattern",
    "plugin",    "policy",   "printer", "profile",  "project",  "property", "protocol", "query",    "record",
    "region",    "release",  "report",  "request",  "resource", "result",   "schedule", "schema",   "screen",
    "script",    "search",   "section", "server",   "service",  "session",  "setting",  "shortcut", "signal",
    "source",    "storage",  "stream",  "style",    "summary",  "switch",   "system",   "table",    "template",
    "terminal",  "theme",    "thread",  "toolbar",  "topic",    "update",   "upload",   "user",     "version",
    "window"};

class Writer {
public:
    Writer(unsigned seed, int mode) : random_(seed), mode_(mode) {}

    std::string Word() { return Words[Pick(Words.size())]; }
    size_t Pick(size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random_); }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }

    std::string Capitalised(std::string word) {
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
        return word;
    }

    std::string Title(int index) {
        std::string title = Capitalised(Word());
        for (size_t n = 1 + Pick(4); n > 0; --n)
            title += " " + Word();
        titles_.push_back(title);
        if (Chance(5))
            title += " [ICON" + std::to_string(1 + Pick(8)) + "]";
        if (Chance(3))
            title += " [ID=" + std::to_string(1000 + index) + "]";
        if (Chance(2))
            title += " [A=IDH_" + std::to_string(index) + "]";
        return title;
    }

    std::string Inline() {
        switch (Pick(12)) {
            case 0:
                return "[B]" + Word() + "[/B]";
            case 1:
                return "[I]" + Word() + " " + Word() + "[/I]";
            case 2:
                return "[LINK]https://example.org/" + Word() + "|" + Word() + "[/LINK]";
            case 3:
                if (!titles_.empty())
                    return "[TOPIC]" + titles_[Pick(titles_.size())] + "[/TOPIC]";
                return Word();
            case 4:
                return "[U]" + Word() + "[/U]";
            default:
                return Word();
        }
    }

    std::string Sentence() {
        std::string sentence = Capitalised(Word());
        for (size_t n = 5 + Pick(12); n > 0; --n)
            sentence += " " + (Chance(8) ? Inline() : Word());
        return sentence + (Chance(10) ? ":" : ".");
    }

    void Body(std::string& out) {
        for (size_t block = 1 + Pick(5); block > 0; --block) {
            size_t kind = Pick(20);
            if (kind < 11) {
                for (size_t n = 1 + Pick(3); n > 0; --n)
                    out += Sentence() + "\n";
            } else if (kind < 14) {
                for (size_t n = 2 + Pick(4); n > 0; --n) {
                    out += "*" + Capitalised(Word()) + " " + Word() + " " + Word() + "\n";
                    if (Chance(15))
                        out += "-" + Sentence() + "\n";
                }
            } else if (kind < 16) {
                for (size_t n = 2 + Pick(4); n > 0; --n)
                    out += "#" + Capitalised(Word()) + " the " + Word() + "\n";
            } else if (kind < 17) {
                out += "+" + Capitalised(Word()) + " details\n" + Sentence() + "\n";
                if (Chance(50))
                    out += "-" + Sentence() + "\n";
            } else if (kind < 18) {
                out += "[TABLE]\nName|Value|Note\n";
                for (size_t n = 1 + Pick(4); n > 0; --n)
                    out += Word() + "|" + std::to_string(Pick(1000)) + "|" + Word() + "\n";
                out += "[/TABLE]\n";
            } else if (kind < 19) {
                out += "[IMG]images/" + Word() + ".png|center[/IMG]\n";
            } else {
                out += "Note: " + Sentence() + "\n";
            }
            if (mode_ == 3 || Chance(60))
                out += "\n";
        }
    }

private:
    std::mt19937 random_;
    int mode_;
    std::vector<std::string> titles_;
};

int Fail(const std::string& message) {
    std::cerr << "leafsmith-corpus: " << message
              << "\nUsage: leafsmith-corpus N OUTDIR [--mode 3|4] [--seed S] "
                 "[--topics-per-file K] [--formats chm,web,ebook,faq,single]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Fail("need the number of topics and the output folder");
    int topics = std::atoi(argv[1]);
    std::string outDir = argv[2];
    int mode = 3;
    unsigned seed = 1;
    int topicsPerFile = 500;
    std::string formats;
    for (int i = 3; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--mode") {
            mode = std::atoi(argv[i + 1]);
        } else if (option == "--seed") {
            seed = static_cast<unsigned>(std::atoi(argv[i + 1]));
        } else if (option == "--formats") {
            formats = "," + std::string(argv[i + 1]) + ",";
        } else if (option == "--topics-per-file") {
            topicsPerFile = std::max(1, std::atoi(argv[i + 1]));
        } else {
            return Fail("unknown option " + option);
        }
    }
    if (topics < 1 || (mode != 3 && mode != 4))
        return Fail("bad number of topics or mode");

    std::filesystem::create_directories(outDir + "/text");
    Writer writer(seed, mode);
    leafsmith::TProjectOption options;
    std::string text;
    int level = 1;
    int fileNumber = 0;
    auto flush = [&] {
        if (text.empty())
            return;
        std::string name = "text/part" + std::to_string(++fileNumber) + ".txt";
        leafsmith::WriteFileBytes(outDir + "/" + name, text);
        options.FileList.push_back(name);
        text.clear();
    };
    for (int i = 0; i < topics; ++i) {
        int next = level;
        if (i > 0) {
            size_t step = writer.Pick(10);
            if (step < 3 && level < 6) {
                next = level + 1;
            } else if (step < 5 && level > 1) {
                next = 1 + static_cast<int>(writer.Pick(static_cast<size_t>(level)));
            }
        }
        if (mode == 3) {
            if (i > 0)
                text += "{Para}\n";
            if (next == level + 1) {
                text += "{>}\n";
            } else if (next == 1 && level > 1) {
                text += "{|<}\n";
            } else {
                for (int up = level; up > next; --up)
                    text += "{<}\n";
            }
            text += writer.Title(i) + "\n";
        } else {
            text += std::string(static_cast<size_t>(next), '@') + writer.Title(i) + "\n";
        }
        level = next;
        writer.Body(text);
        if ((i + 1) % topicsPerFile == 0)
            flush();
    }
    flush();

    options.ProjectTitle = "Benchmark corpus of " + std::to_string(topics) + " topics";
    options.SplitByTagLines = mode == 3;
    options.SplitByTitleTags = mode == 4;
    options.OneOrMorePerFile = true;
    options.LineSign = "{Para}";
    options.HeadSign = "@";
    options.AtLeastBlankLines = 1;
    options.UseLevelSigns = true;
    options.LevelSign = mode == 3;
    options.NumOfSigns = mode == 4;
    options.AddOneSign = "{>}";
    options.MinusOneSign = "{<}";
    options.BackToRootSign = "{|<}";
    options.EnableTextAnalysis = true;
    options.HtmlEncode = true;
    options.HorizontalLines = true;
    options.Subheadings = true;
    options.IllustrativeTitles = true;
    options.Reminders = true;
    options.NotSubheadingEnds = {".", ",", ";", ":"};
    options.SubheadingMaxLen = 40;
    options.IllustrativeEnds = {":"};
    options.IllustrativeTitleMaxLen = 80;
    options.ReminderStarts = {"Note:"};
    options.ExpandableBlocks = true;
    options.Bullets = true;
    options.Numbering = true;
    options.ArrowSign = "+";
    options.BulletSign = "*";
    options.NumberingSign = "#";
    options.JoinLinesSign = "-";
    options.EncodingIndex = 23;
    options.FileExtension = ".htm";
    options.CounterStart = 1;
    options.CounterLength = 1;
    options.LanguageIndex = 34;
    options.OutDir = "out";
    const std::string group = "{SetupDir}/Templates/Classic";
    options.TempletChm = options.TempletChm_WebSite = options.TempletChm_Ebook = options.TempletChm_Faq = group;
    options.TempletNoChm = 1;
    options.TempletNoChm_WebSite = 2;
    options.TempletNoChm_Ebook = 3;
    options.TempletNoChm_Faq = 4;
    options.CHMFileName = "corpus";
    options.SingleHtmlFileName = "corpus.htm";
    options.OutputChm = formats.find(",chm,") != std::string::npos;
    options.CompileChm = options.OutputChm;
    options.OutputWebsite = formats.find(",web,") != std::string::npos;
    options.OutputEbook = formats.find(",ebook,") != std::string::npos;
    options.OutputFaq = formats.find(",faq,") != std::string::npos;
    options.OutputSingleHtml = formats.find(",single,") != std::string::npos;
    options.SaveToFile(outDir + "/corpus.lfx");
    std::cout << outDir << "/corpus.lfx: " << topics << " topics in " << fileNumber << " files\n";
    return 0;
}
