// leafsmith-build: the command-line build of Leafsmith.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "leafsmith_version.h"
#include "text/all_text.h"
#include "text/text_analysis.h"

namespace leafsmith {
namespace {

enum ExitStatus { ExitCompleted = 0, ExitError = 1, ExitUsage = 2 };

constexpr const char* Usage =
    "Usage: leafsmith-build [OPTIONS] PROJECT.lfx\n"
    "Builds the output formats of a Leafsmith project.\n"
    "\n"
    "  --setup-dir DIR   the program's own folder (its data files); default: the executable's folder\n"
    "  --structure       build nothing; print the topic tree\n"
    "  --convert N       build nothing; print the HTML fragment that the converter makes of topic N's body\n"
    "  --kind K          with --convert: output kind 0 CHM (default), 1 Website, 2 E-book, 3 FAQ, 4 Single HTML\n"
    "  -h, --help        show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "--structure prints one line per topic, fields separated by a tab: index, level, outline number,\n"
    "page file name, flags (P page, C children, B body, L last sibling, - none), icon, context id,\n"
    "alias name, title; then DefaultTopic=N FirstPage=N LastPage=N.\n"
    "\n"
    "Exit status: 0 completed, 1 error, 2 bad usage.\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::string ProjectFile;
    std::optional<std::string> SetupDir;
    bool Structure = false;
    std::optional<int32_t> ConvertTopic;
    int32_t Kind = KindChm;
    bool Help = false;
    bool Version = false;
};

int32_t NumberOption(const std::string& option, const std::string& value, int32_t lowest, int32_t highest) {
    std::optional<int32_t> number = ParseInt32(value);
    if (!number || *number < lowest || *number > highest || value.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("option '" + option + "' needs a number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not '" + value + "'");
    }
    return *number;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    auto valueOf = [&](size_t& i, const std::string& option) -> std::string {
        if (i + 1 >= args.size()) throw UsageError("option '" + option + "' needs a value");
        return args[++i];
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            line.Help = true;
        } else if (arg == "--version") {
            line.Version = true;
        } else if (arg == "--structure") {
            line.Structure = true;
        } else if (arg == "--convert") {
            line.ConvertTopic = NumberOption(arg, valueOf(i, arg), 0, INT32_MAX);
        } else if (arg == "--kind") {
            line.Kind = NumberOption(arg, valueOf(i, arg), KindChm, KindSingleHtml);
        } else if (arg == "--setup-dir") {
            line.SetupDir = valueOf(i, arg);
        } else if (arg.rfind("--setup-dir=", 0) == 0) {
            line.SetupDir = arg.substr(12);
        } else if (arg == "--") {
            for (++i; i < args.size(); ++i) {
                if (!line.ProjectFile.empty()) throw UsageError("more than one project file given");
                line.ProjectFile = args[i];
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            if (!line.ProjectFile.empty()) throw UsageError("more than one project file given");
            line.ProjectFile = arg;
        }
    }
    if (!line.Help && !line.Version && line.ProjectFile.empty()) throw UsageError("no project file given");
    if (line.Structure && line.ConvertTopic) throw UsageError("--structure and --convert exclude each other");
    return line;
}

std::string ExecutableFolder() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return ".";
    return FolderOf(std::string(buffer.data(), static_cast<size_t>(length)));
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

TProjectOption LoadProject(const CommandLine& line) {
    if (!FileExists(line.ProjectFile)) {
        throw EFileError("Cannot open the project file \"" + line.ProjectFile + "\": " +
                         (FolderExists(line.ProjectFile) ? "it is a folder" : "No such file"));
    }
    TProjectOption options(WithoutTrailingSlash(line.SetupDir ? *line.SetupDir : ExecutableFolder()));
    options.LoadFromFile(line.ProjectFile);
    return options;
}

std::string Flags(const TBlock& topic) {
    std::string flags;
    if (topic.IsPage) flags += 'P';
    if (topic.HasChildren) flags += 'C';
    if (topic.HasBody) flags += 'B';
    if (topic.IsLastSibling) flags += 'L';
    return flags.empty() ? "-" : flags;
}

// Notices of the library go to standard error; questions are answered as without a terminal.
class TerminalQuestions : public UserQuestions {
public:
    void ShowError(const std::string& text) override { std::cerr << "leafsmith-build: " << text << '\n'; }
    Answer AskYesCancelRetry(const std::string& text) override {
        std::cerr << "leafsmith-build: " << text << " Cancel.\n";
        return Answer::Cancel;
    }
    Answer AskAbortRetry(const std::string& text) override {
        std::cerr << "leafsmith-build: " << text << " Abort.\n";
        return Answer::Abort;
    }
};

void LoadTopics(TAllText& text, const TProjectOption& options) {
    text.AssignSeparatingOptions(options);
    text.LoadFiles(options.FileList);
    text.BuildStructure();
}

int PrintConverted(const TProjectOption& options, int32_t topicIndex, int32_t kind) {
    TAllText text;
    LoadTopics(text, options);
    if (topicIndex >= text.Count()) {
        throw ELeafsmithError("There is no topic " + std::to_string(topicIndex) + ": the project has " +
                              std::to_string(text.Count()) + " topics, numbered from 0.");
    }
    TerminalQuestions questions;
    TLFXText converter;
    converter.Options = &options;
    converter.LoadSigns();
    converter.AllText = &text;
    converter.Questions = &questions;
    converter.OutputKind = kind;
    converter.InputLines = text.Topic(topicIndex).SectionLines(2);
    std::string html = converter.Convert();
    std::fwrite(html.data(), 1, html.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitCompleted : ExitError;
}

int PrintStructure(const TProjectOption& options) {
    TAllText text;
    LoadTopics(text, options);

    std::string out;
    for (const TBlock& topic : text.Topics) {
        out += std::to_string(topic.Index) + '\t' + std::to_string(topic.Level) + '\t' + topic.Number + '\t' +
               topic.FileName + '\t' + Flags(topic) + '\t' + std::to_string(topic.Icon) + '\t' +
               std::to_string(topic.ContextId) + '\t' + topic.AliasName + '\t' + topic.Lines[0] + '\n';
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    out += "DefaultTopic=" + std::to_string(text.DefaultTopic) + " FirstPage=" + std::to_string(text.FirstPage) +
           " LastPage=" + std::to_string(text.LastPage) + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitCompleted : ExitError;
}

int Run(const std::vector<std::string>& args) {
    CommandLine line;
    try {
        line = ParseCommandLine(args);
    } catch (const UsageError& error) {
        std::cerr << "leafsmith-build: " << error.what() << "\nTry 'leafsmith-build --help'.\n";
        return ExitUsage;
    }
    if (line.Help) {
        std::cout << Usage;
        return ExitCompleted;
    }
    if (line.Version) {
        std::cout << "leafsmith-build " << LeafsmithVersion << '\n';
        return ExitCompleted;
    }
    try {
        TProjectOption options = LoadProject(line);
        if (line.Structure) return PrintStructure(options);
        if (line.ConvertTopic) return PrintConverted(options, *line.ConvertTopic, line.Kind);
        std::cerr << "leafsmith-build: building the output formats is not available in this version yet; use "
                     "--structure\n";
        return ExitError;
    } catch (const std::bad_alloc&) {
        std::cerr << "leafsmith-build: out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "leafsmith-build: " << error.what() << '\n';
    }
    return ExitError;
}

}  // namespace
}  // namespace leafsmith

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return leafsmith::Run(args);
}
