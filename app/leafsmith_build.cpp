// leafsmith-build: the command-line build of Leafsmith.
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "build/build_command.h"
#include "build/new_project.h"
#include "core/files.h"
#include "core/ini_file.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "helpproject/help_compiler.h"
#include "leafsmith_version.h"
#include "text/all_text.h"
#include "text/text_analysis.h"

namespace leafsmith {
namespace {

enum ExitStatus {
    ExitCompleted = 0,
    ExitError = 1,
    ExitUsage = 2,
    ExitCancelled = 3,
    ExitNoOutputFolder = 4,
    ExitDeclined = 5,
};

constexpr const char* Usage =
    "Usage: leafsmith-build [OPTIONS] PROJECT.lfx\n"
    "       leafsmith-build --init DIR\n"
    "Builds the output formats of a Leafsmith project.\n"
    "\n"
    "  --init DIR        build nothing; write a new project with a sample text file into DIR\n"
    "  --out DIR         output folder for this run instead of the project's own\n"
    "  --yes             answer Yes to the start question, go on over old files that cannot be removed\n"
    "  --no-pause        skip the two-second pauses of a build\n"
    "  --verbose         list every page written; without it a terminal shows a line of progress\n"
    "  --setup-dir DIR   the program's own folder (its data files); default: the executable's folder\n"
    "  --structure       build nothing; print the topic tree\n"
    "  --convert N       build nothing; print the HTML fragment that the converter makes of topic N's body\n"
    "  --kind K          with --convert: output kind 0 CHM (default), 1 Website, 2 E-book, 3 FAQ, 4 Single HTML\n"
    "  --compile FILE    build nothing; compile an existing HTML Help project (.hhp)\n"
    "  --compiler NAME   the HTML Help compiler: leafsmith (our own, the default) or chmcmd\n"
    "                    (Free Pascal's; $LEAFSMITH_CHMCMD, when set, names its program and chooses it)\n"
    "  --confine-includes  [INC] may read only inside the project's include folder\n"
    "  -h, --help        show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Without --yes and without a terminal on standard input, the start question is answered No and\n"
    "the question about old files that cannot be removed is answered Cancel.\n"
    "\n"
    "--structure prints one line per topic, fields separated by a tab: index, level, outline number,\n"
    "page file name, flags (P page, C children, B body, L last sibling, - none), icon, context id,\n"
    "alias name, title; then DefaultTopic=N FirstPage=N LastPage=N.\n"
    "\n"
    "Exit status: 0 completed, 1 error (a failed write, copy or compile included), 2 bad usage, 3 cancelled,\n"
    "4 no output folder, 5 declined.\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::string ProjectFile;
    std::optional<std::string> OutDir;
    bool Yes = false;
    bool NoPause = false;
    bool Verbose = false;
    std::optional<std::string> SetupDir;
    bool Structure = false;
    std::optional<int32_t> ConvertTopic;
    int32_t Kind = KindChm;
    std::optional<std::string> CompileFile;
    std::optional<std::string> InitFolder;
    HelpCompilerChoice Compiler = HelpCompilerChoice::Default;
    bool ConfineIncludes = false;
    bool Help = false;
    bool Version = false;
};

int32_t NumberOption(const std::string& option, const std::string& value, int32_t lowest, int32_t highest) {
    std::optional<int32_t> number = ParseInt32(value);
    if (!number || *number < lowest || *number > highest ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("option '" + option + "' needs a number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not '" + value + "'");
    }
    return *number;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    auto valueOf = [&](size_t& i, const std::string& option) -> std::string {
        if (i + 1 >= args.size())
            throw UsageError("option '" + option + "' needs a value");
        return args[++i];
    };
    auto project = [&](const std::string& file) {
        if (!line.ProjectFile.empty())
            throw UsageError("more than one project file given");
        line.ProjectFile = file;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            line.Help = true;
        } else if (arg == "--version") {
            line.Version = true;
        } else if (arg == "--structure") {
            line.Structure = true;
        } else if (arg == "--yes") {
            line.Yes = true;
        } else if (arg == "--confine-includes") {
            line.ConfineIncludes = true;
        } else if (arg == "--no-pause") {
            line.NoPause = true;
        } else if (arg == "--verbose") {
            line.Verbose = true;
        } else if (arg == "--out") {
            line.OutDir = valueOf(i, arg);
        } else if (arg == "--convert") {
            line.ConvertTopic = NumberOption(arg, valueOf(i, arg), 0, INT32_MAX);
        } else if (arg == "--kind") {
            line.Kind = NumberOption(arg, valueOf(i, arg), KindChm, KindSingleHtml);
        } else if (arg == "--compile") {
            line.CompileFile = valueOf(i, arg);
        } else if (arg == "--init") {
            line.InitFolder = valueOf(i, arg);
        } else if (arg == "--compiler") {
            const std::string name = valueOf(i, arg);
            if (name == "leafsmith") {
                line.Compiler = HelpCompilerChoice::Leafsmith;
            } else if (name == "chmcmd") {
                line.Compiler = HelpCompilerChoice::Chmcmd;
            } else {
                throw UsageError("--compiler takes leafsmith or chmcmd, not '" + name + "'");
            }
        } else if (arg == "--setup-dir") {
            line.SetupDir = valueOf(i, arg);
        } else if (arg == "--") {
            for (++i; i < args.size(); ++i)
                project(args[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            project(arg);
        }
    }
    if (line.Help || line.Version)
        return line;
    if (line.CompileFile) {
        if (!line.ProjectFile.empty())
            throw UsageError("--compile takes no project file");
        return line;
    }
    if (line.InitFolder) {
        if (!line.ProjectFile.empty())
            throw UsageError("--init takes no project file");
        return line;
    }
    if (line.ProjectFile.empty())
        throw UsageError("no project file given");
    if (line.Structure && line.ConvertTopic)
        throw UsageError("--structure and --convert exclude each other");
    return line;
}

std::string WithoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// A log entry as the window's log shows it: its line breaks, then one more.
void PrintEntry(std::ostream& out, const std::string& text) {
    out << ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n") << '\n' << std::flush;
}

// Answers the build's questions: by --yes, at the terminal, or as the usage text says without one.
// On a terminal it may count a format's pages on one line that it rewrites, instead of listing them.
class Terminal : public MakeSink, public UserQuestions {
public:
    explicit Terminal(bool yes) : yes_(yes), interactive_(::isatty(STDIN_FILENO) == 1) {}

    void ClearLog() override {}
    void OutOnInfo(TLfxObject*, const std::string& text) override {
        EndProgress();
        PrintEntry(std::cout, text);
    }
    bool Ask(const std::string& text) override {
        if (yes_)
            return true;
        if (!interactive_)
            return false;
        return Choose(text, "[y/N] ", "yn", 'n') == 'y';
    }
    void Tell(const std::string& text) override {
        EndProgress();
        PrintEntry(std::cout, text);
    }

    void ShowError(const std::string& text) override {
        EndProgress();
        std::cerr << "leafsmith-build: " << text << '\n';
    }
    Answer AskYesCancelRetry(const std::string& text) override {
        EndProgress();
        if (yes_) {
            std::cerr << "leafsmith-build: warning: " << text << " (answered Yes: --yes)\n";
            return Answer::Yes;
        }
        if (!interactive_) {
            std::cerr << "leafsmith-build: " << text << " (answered Cancel; --yes goes on)\n";
            return Answer::Cancel;
        }
        char choice = Choose(text, "[y]es, [c]ancel, [r]etry? ", "ycr", 'c');
        return choice == 'y' ? Answer::Yes : choice == 'r' ? Answer::Retry : Answer::Cancel;
    }
    Answer AskAbortRetry(const std::string& text) override {
        EndProgress();
        if (!interactive_) {
            std::cerr << "leafsmith-build: " << text << " (answered Abort)\n";
            return Answer::Abort;
        }
        return Choose(text, "[a]bort, [r]etry? ", "ar", 'a') == 'r' ? Answer::Retry : Answer::Abort;
    }

    // "CHM: 120 of 2,000 pages", rewritten at most ten times a second; "2,000 pages" when done.
    void ShowProgress(const std::string& format, size_t done, size_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (done < total && progressShown_ && now - lastProgress_ < std::chrono::milliseconds(100))
            return;
        lastProgress_ = now;
        const std::string pages = total == 1 ? " page" : " pages";
        if (done < total) {
            std::cout << "\r\033[K" << format << ": " << WithThousands(done) << " of " << WithThousands(total) << pages
                      << std::flush;
            progressShown_ = true;
        } else {
            EndProgress();
            std::cout << WithThousands(total) << pages << " written\n" << std::flush;
        }
    }

private:
    char Choose(const std::string& question, const std::string& prompt, const std::string& letters, char otherwise) {
        std::cerr << ReplaceAll(question, "\r\n", "\n") << '\n' << prompt << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer))
            return otherwise;
        std::string_view trimmed = TrimView(answer);
        char first = trimmed.empty() ? otherwise : AsciiLower(trimmed.front());
        return letters.find(first) == std::string::npos ? otherwise : first;
    }

    void EndProgress() {
        if (progressShown_)
            std::cout << "\r\033[K" << std::flush;
        progressShown_ = false;
    }
    static std::string WithThousands(size_t number) {
        std::string digits = std::to_string(number);
        for (size_t i = digits.size(); i > 3; i -= 3)
            digits.insert(i - 3, ",");
        return digits;
    }

    bool yes_;
    bool interactive_;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point lastProgress_;
};

// The program folder stands for {SetupDir} in stored paths, so it must not depend on where the
// project file is: a relative --setup-dir is taken from the current folder.
std::string SetupFolder(const CommandLine& line) {
    return WithoutTrailingSlash(line.SetupDir ? std::filesystem::absolute(*line.SetupDir).lexically_normal().string()
                                              : ProgramDataFolder(ExecutableFolder()));
}

TProjectOption LoadProject(const CommandLine& line) {
    if (!FileExists(line.ProjectFile)) {
        const std::string kind = EntryKind(line.ProjectFile);
        throw EFileError("Cannot open the project file \"" + ShowControlCharacters(line.ProjectFile) + "\": " +
                         (kind == "missing" ? std::string("No such file") : "it is " + kind + ", not a regular file"));
    }
    if (!IniFile::LoadIfExists(line.ProjectFile).SectionExists("GENERAL")) {
        throw ESettingError("\"" + ShowControlCharacters(line.ProjectFile) +
                            "\" is not a Leafsmith project: it has no [GENERAL] section. "
                            "leafsmith-build --init DIR writes a new project.");
    }
    const std::string setupDir = SetupFolder(line);
    TProjectOption options(setupDir);
    options.LoadFromFile(line.ProjectFile);
    return options;
}

// A path as a shell reads it back: plain when it holds only safe characters, else in single quotes.
std::string Quoted(const std::string& path) {
    if (!path.empty() &&
        path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+") ==
            std::string::npos)
        return path;
    return "'" + ReplaceAll(path, "'", "'\\''") + "'";
}

int Init(const CommandLine& line) {
    const StarterProject project = CreateStarterProject(*line.InitFolder, SetupFolder(line));
    std::cout << "Wrote " << project.ProjectFile << " and " << project.TextFile << ".\nBuild it with:\n"
              << "  leafsmith-build --yes " << Quoted(project.ProjectFile) << "\nor open it in the window:\n"
              << "  leafsmith " << Quoted(project.ProjectFile) << '\n';
    return ExitCompleted;
}

std::string Flags(const TBlock& topic) {
    std::string flags;
    if (topic.IsPage)
        flags += 'P';
    if (topic.HasChildren)
        flags += 'C';
    if (topic.HasBody)
        flags += 'B';
    if (topic.IsLastSibling)
        flags += 'L';
    return flags.empty() ? "-" : flags;
}

int PrintStructure(const TProjectOption& options) {
    TAllText text;
    text.ReadProject(options);
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

int PrintConverted(const TProjectOption& options, int32_t topicIndex, int32_t kind, bool confineIncludes) {
    TAllText text;
    text.ReadProject(options);
    if (topicIndex >= text.Count()) {
        throw ELeafsmithError("There is no topic " + std::to_string(topicIndex) + ": the project has " +
                              std::to_string(text.Count()) + " topics, numbered from 0.");
    }
    Terminal terminal(false);
    TLFXText converter;
    converter.Options = &options;
    converter.LoadSigns();
    converter.AllText = &text;
    converter.Questions = &terminal;
    converter.ConfineIncludes = confineIncludes;
    converter.OutputKind = kind;
    converter.InputLines = text.Topic(topicIndex).SectionLines(2);
    std::string html = converter.Convert();
    std::fwrite(html.data(), 1, html.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitCompleted : ExitError;
}

// A hand-written project may leave settings out; the built-in values then taken for them are
// seldom what the writer wants, so a build says which they are, once.
void WarnOfMissingSettings(const TProjectOption& options, const std::string& projectFile) {
    const std::vector<std::string> missing = MissingProjectKeys(
        IniFile::LoadIfExists(projectFile), IniFile::LoadIfExists(JoinPath(options.SetupDir, "default.lfx")));
    if (missing.empty())
        return;
    std::string names;
    for (size_t i = 0; i < missing.size() && i < 12; ++i)
        names += (i > 0 ? ", " : "") + missing[i];
    if (missing.size() > 12)
        names += " and " + std::to_string(missing.size() - 12) + " more";
    std::cerr << "leafsmith-build: warning: " << ShowControlCharacters(projectFile) << " lacks " << missing.size()
              << (missing.size() == 1 ? " setting" : " settings")
              << " that new projects have, so built-in values are used: " << names << '\n';
}

int Build(TProjectOption& options, const CommandLine& line) {
    WarnOfMissingSettings(options, line.ProjectFile);
    if (line.OutDir)
        options.OutDir = std::filesystem::absolute(*line.OutDir).lexically_normal().string();
    Terminal terminal(line.Yes);
    BuildEnvironment environment;
    environment.PauseMilliseconds = line.NoPause ? 0 : 2000;
    environment.Questions = &terminal;
    environment.ConfineIncludes = line.ConfineIncludes;
    // A terminal gets a line of progress; a file or pipe gets the log as the window shows it.
    if (!line.Verbose && ::isatty(STDOUT_FILENO) == 1) {
        environment.PageProgress = [&terminal](const std::string& format, size_t done, size_t total) {
            terminal.ShowProgress(format, done, total);
        };
    }
    BuildSession session;
    session.KeepText = true;
    const MakeResult result = RunMake(options, terminal, environment, session);
    // The program ends now: freeing the text's many lines one by one would only add time.
    (void)session.Text.release();
    switch (result) {
        case MakeResult::Completed:
            return ExitCompleted;
        case MakeResult::CompletedWithErrors:
            return ExitError;
        case MakeResult::Cancelled:
            return ExitCancelled;
        case MakeResult::NoOutputFolder:
            return ExitNoOutputFolder;
        case MakeResult::Declined:
            std::cerr << "leafsmith-build: the build was not confirmed"
                      << (::isatty(STDIN_FILENO) == 1 ? "" : " (no terminal to ask; --yes confirms it)") << '\n';
            return ExitDeclined;
    }
    return ExitError;
}

int Compile(const std::string& projectFile) {
    std::string last;
    // The compiler's report goes to standard output, its errors to standard error as every
    // command's errors do.
    auto print = [&last](const std::string& message) {
        if (message == last || TrimView(message).empty())
            return;
        if (message.rfind("Error: ", 0) == 0)
            PrintEntry(std::cerr, "leafsmith-build: " + message.substr(7));
        else
            PrintEntry(std::cout, message);
        last = message;
    };
    CompileResult result = CompileHHP(projectFile, print, print);
    return result.Compiled ? ExitCompleted : ExitError;
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
    ChooseHelpCompiler(line.Compiler);
    try {
        if (line.CompileFile)
            return Compile(*line.CompileFile);
        if (line.InitFolder)
            return Init(line);
        TProjectOption options = LoadProject(line);
        if (line.Structure)
            return PrintStructure(options);
        if (line.ConvertTopic)
            return PrintConverted(options, *line.ConvertTopic, line.Kind, line.ConfineIncludes);
        return Build(options, line);
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
