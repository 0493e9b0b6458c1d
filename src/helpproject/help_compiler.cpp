#include "helpproject/help_compiler.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "chm/chm_compiler.h"
#include "chm/help_project.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string_view text) {
    return ReplaceAll(text, "\\", "/");
}

// Splits a window definition at its commas; commas inside quotation marks belong to the field.
std::vector<std::string> SplitFields(const std::string& definition) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : definition) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string definition;
    for (size_t i = 0; i < fields.size(); ++i)
        definition += (i ? "," : "") + fields[i];
    return definition;
}

std::string SectionName(std::string_view trimmed) {
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        return AsciiLowerCase(TrimView(trimmed.substr(1, trimmed.size() - 2)));
    }
    return {};
}

// "#define NAME VALUE" gives NAME.
std::string DefinedName(std::string_view line) {
    std::string_view rest = TrimView(line);
    if (rest.substr(0, 7) != "#define")
        return {};
    rest = TrimView(rest.substr(7));
    return std::string(rest.substr(0, rest.find_first_of(" \t")));
}

}  // namespace

CleanedProject CleanProjectForChmcmd(const std::string& projectText, const std::string& projectFolder,
                                     const std::string& compiledFile) {
    CleanedProject cleaned;
    std::vector<std::string> lines = SplitLines(projectText);

    // First pass: the pages that will be compiled, and the aliases that point at them.
    std::set<std::string> files;
    std::set<std::string> aliases;
    std::string section;
    for (const std::string& line : lines) {
        std::string_view trimmed = TrimView(line);
        if (std::string name = SectionName(trimmed); !name.empty()) {
            section = name;
        } else if (section == "files" && !trimmed.empty() && trimmed.front() != ';') {
            std::string file = Slashes(trimmed);
            if (chm::IsFileInsideFolder(projectFolder, file))
                files.insert(file);
        } else if (section == "alias" && trimmed.find('=') != std::string_view::npos) {
            size_t equals = trimmed.find('=');
            if (files.count(Slashes(TrimView(trimmed.substr(equals + 1)))))
                aliases.insert(Trim(trimmed.substr(0, equals)));
        }
    }

    auto keepDefine = [&](std::string_view line) {
        std::string name = DefinedName(line);
        if (name.empty() || aliases.count(name))
            return true;
        cleaned.Warnings.push_back("Warning: the context number of " + name +
                                   " was left out: it has no alias of a compiled page.");
        return false;
    };

    // A compiler takes the first of repeated keys; so does this copy, or chmcmd might take another.
    std::set<std::string> optionKeys;
    section.clear();
    std::string& out = cleaned.Text;
    for (const std::string& line : lines) {
        std::string_view trimmed = TrimView(line);
        if (std::string name = SectionName(trimmed); !name.empty()) {
            section = name;
            out += line + "\r\n";
            continue;
        }
        size_t equals = trimmed.find('=');
        if (section == "options" && equals != std::string_view::npos) {
            std::string key = AsciiLowerCase(TrimView(trimmed.substr(0, equals)));
            std::string value = Trim(trimmed.substr(equals + 1));
            if (!optionKeys.insert(key).second) {
                cleaned.Warnings.push_back("Warning: the repeated option " + Trim(trimmed.substr(0, equals)) +
                                           " was left out; the first one counts.");
                continue;
            }
            if (key == "default topic") {
                out += "Default topic=" + Slashes(value) + "\r\n";
                continue;
            }
            if (key == "compiled file") {
                cleaned.CompiledFile = Slashes(value);
                if (!compiledFile.empty()) {
                    out += "Compiled file=" + compiledFile + "\r\n";
                    continue;
                }
            }
            if (key == "error log file")
                cleaned.ErrorLogFile = Slashes(value);
            if ((key == "contents file" || key == "index file") &&
                chm::LeadsOutsideFolder(projectFolder, Slashes(value))) {
                cleaned.Warnings.push_back("Warning: " + Slashes(value) +
                                           " lies outside the project's folder and was left out.");
                continue;
            }
        } else if (section == "windows" && equals != std::string_view::npos) {
            std::vector<std::string> fields = SplitFields(std::string(trimmed.substr(equals + 1)));
            for (size_t field : {1, 2, 3, 4, 5, 7}) {
                if (field < fields.size())
                    fields[field] = Slashes(fields[field]);
            }
            out += std::string(trimmed.substr(0, equals)) + "=" + JoinFields(fields) + "\r\n";
            continue;
        } else if (section == "files" && !trimmed.empty() && trimmed.front() != ';') {
            std::string file = Slashes(trimmed);
            if (!files.count(file)) {
                cleaned.Warnings.push_back(chm::LeadsOutsideFolder(projectFolder, file)
                                               ? "Warning: " + file +
                                                     " lies outside the project's folder and was left out."
                                               : "Warning: " + file + " does not exist and was left out.");
                continue;
            }
            out += file + "\r\n";
            continue;
        } else if (section == "alias" && equals != std::string_view::npos) {
            std::string name = Trim(trimmed.substr(0, equals));
            std::string page = Slashes(TrimView(trimmed.substr(equals + 1)));
            if (!aliases.count(name)) {
                cleaned.Warnings.push_back("Warning: the alias " + name + " was left out: its page " + page +
                                           " is not compiled.");
                continue;
            }
            out += name + "=" + page + "\r\n";
            continue;
        } else if (section == "map") {
            if (trimmed.substr(0, 8) == "#include") {
                std::string header = Slashes(Trim(trimmed.substr(8)));
                if (header.size() >= 2 && header.front() == '"' && header.back() == '"')
                    header = header.substr(1, header.size() - 2);
                if (!chm::IsFileInsideFolder(projectFolder, header)) {
                    cleaned.Warnings.push_back(
                        chm::LeadsOutsideFolder(projectFolder, header)
                            ? "Warning: the alias header " + header +
                                  " lies outside the project's folder; its context numbers were left out."
                            : "Warning: the alias header " + header +
                                  " does not exist; its context numbers were left out.");
                    continue;
                }
                for (const std::string& define : SplitLines(ReadFileBytes(JoinPath(projectFolder, header)))) {
                    if (keepDefine(define))
                        out += define + "\r\n";
                }
                continue;
            }
            if (!keepDefine(trimmed))
                continue;
        }
        out += line + "\r\n";
    }
    return cleaned;
}

bool FixFirstListingChunk(const std::string& chmPath) {
    std::fstream file(chmPath, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    auto read = [&](uint64_t offset, void* target, size_t size) {
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(static_cast<char*>(target), static_cast<std::streamsize>(size));
        return static_cast<bool>(file);
    };
    auto le32 = [](const unsigned char* bytes) {
        return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    };
    unsigned char header[0x60];
    if (!read(0, header, sizeof header) || std::memcmp(header, "ITSF", 4) != 0)
        return false;
    uint64_t directory = 0;
    for (int i = 7; i >= 0; --i)
        directory = directory << 8 | header[0x48 + i];
    unsigned char itsp[0x54];
    if (!read(directory, itsp, sizeof itsp) || std::memcmp(itsp, "ITSP", 4) != 0)
        return false;
    const uint32_t headerLength = le32(itsp + 0x08);
    const uint32_t chunkSize = le32(itsp + 0x10);
    const uint32_t chunks = le32(itsp + 0x2C);
    if (chunkSize < 20 || chunks == 0 || chunks > 1000000)
        return false;
    for (uint32_t chunk = 0; chunk < chunks; ++chunk) {
        unsigned char start[20];
        if (!read(directory + headerLength + uint64_t{chunk} * chunkSize, start, sizeof start))
            return false;
        if (std::memcmp(start, "PMGL", 4) == 0 && le32(start + 12) == 0xFFFFFFFFu) {
            if (le32(itsp + 0x20) == chunk)
                return true;
            unsigned char value[4] = {static_cast<unsigned char>(chunk), static_cast<unsigned char>(chunk >> 8),
                                      static_cast<unsigned char>(chunk >> 16), static_cast<unsigned char>(chunk >> 24)};
            file.seekp(static_cast<std::streamoff>(directory + 0x20));
            file.write(reinterpret_cast<const char*>(value), 4);
            return static_cast<bool>(file.flush());
        }
    }
    return false;
}

namespace {

// The program to run: $LEAFSMITH_CHMCMD, else chmcmd; a bare name is looked up in the PATH.
std::string FindCompiler() {
    const char* chosen = std::getenv("LEAFSMITH_CHMCMD");
    std::string program = chosen && *chosen ? chosen : "chmcmd";
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* path = std::getenv("PATH");
    for (const std::string& folder : SplitTrim(path ? path : "/usr/bin:/bin", ":")) {
        std::string candidate = JoinPath(folder.empty() ? "." : folder, program);
        if (::access(candidate.c_str(), X_OK) == 0 && !FolderExists(candidate))
            return candidate;
    }
    return {};
}

// What the guard process needs, prepared before it is forked: after the fork only plain system
// calls run, which is all that is safe in the child of a process that may have threads.
struct GuardPlan {
    std::string Program;
    std::vector<std::string> Args;
    std::string Folder;       // the compiler's current directory
    std::string ProjectCopy;  // the cleaned project file, written and removed by the guard
    std::string ProjectText;
    std::string OutputFolder;  // temporary folder that receives the compiled file
    std::string OutputFile;    // the compiled file inside it
};

struct ChildOutput {
    int Status = -1;                  // exit status of the compiler, 128 + signal when it was killed
    std::string Failure;              // set when the compiler could not be run at all
    std::vector<std::string> Errors;  // standard error lines
};

// How the guard ended its preparations or the compile, sent to this process through a pipe.
struct GuardReport {
    int Step = 0;   // 0 the compiler ran; 1 making the temporary folder failed; 2 writing the project copy; 3 fork
    int Value = 0;  // the compiler's status, or the system error of the failed step
};

volatile sig_atomic_t guardStopping = 0;

void StopGuard(int) {
    guardStopping = 1;
}

void WriteFully(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
}

// The guard: makes the temporary files, runs the compiler and waits for it. When this process dies
// (the kernel tells the guard), or a signal asks it to stop, it kills the compiler and removes the
// temporary files; it also removes them after the compile, once this process has taken the result.
// It runs in a process group of its own, so that a signal meant for the whole build reaches the
// guard only through the death of the build, and never before the compiler is stopped.
[[noreturn]] void RunGuard(const GuardPlan& plan, char* const* argv, pid_t parent, int outWrite, int errWrite,
                           int reportWrite, int controlRead) {
    auto cleanUp = [&] {
        ::unlink(plan.ProjectCopy.c_str());
        ::unlink(plan.OutputFile.c_str());
        ::rmdir(plan.OutputFolder.c_str());
    };
    auto report = [&](int step, int value) {
        GuardReport message{step, value};
        WriteFully(reportWrite, &message, sizeof message);
    };
    ::setpgid(0, 0);
    struct sigaction stop {};
    stop.sa_handler = StopGuard;
    ::sigemptyset(&stop.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
        ::sigaction(signal, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGCHLD, SIG_DFL);  // the compiler's status is needed, whatever the build's setting
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(1);

    if (::mkdir(plan.OutputFolder.c_str(), 0700) != 0) {
        report(1, errno);
        ::_exit(1);
    }
    int project = ::open(plan.ProjectCopy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (project < 0) {
        int error = errno;
        cleanUp();
        report(2, error);
        ::_exit(1);
    }
    WriteFully(project, plan.ProjectText.data(), plan.ProjectText.size());
    if (::close(project) != 0 || guardStopping) {
        int error = errno;
        cleanUp();
        report(2, error);
        ::_exit(1);
    }

    pid_t compiler = ::fork();
    if (compiler == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE})
            ::signal(signal, SIG_DFL);
        ::dup2(outWrite, STDOUT_FILENO);
        ::dup2(errWrite, STDERR_FILENO);
        int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0)
            ::dup2(null, STDIN_FILENO);
        if (::chdir(plan.Folder.c_str()) != 0)
            ::_exit(126);
        ::execv(plan.Program.c_str(), argv);
        ::_exit(127);
    }
    ::close(outWrite);
    ::close(errWrite);
    if (compiler < 0) {
        int error = errno;
        cleanUp();
        report(3, error);
        ::_exit(1);
    }
    int status = 0;
    while (::waitpid(compiler, &status, 0) < 0) {
        if (errno != EINTR)
            break;
        if (guardStopping)
            ::kill(compiler, SIGKILL);
    }
    ::unlink(plan.ProjectCopy.c_str());
    if (guardStopping) {
        cleanUp();
        ::_exit(1);
    }
    report(0, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    ::close(reportWrite);
    // Wait until this process has taken the compiled file (or died); whatever is left is ours.
    char done;
    while (::read(controlRead, &done, 1) < 0 && errno == EINTR && !guardStopping) {
    }
    cleanUp();
    ::_exit(0);
}

// Runs the compiler under a guard process and reads what it prints.
class GuardedCompile {
public:
    GuardedCompile(GuardPlan plan, EventHook processEvents)
        : plan_(std::move(plan)), processEvents_(std::move(processEvents)) {}
    // Leaving early (an exception from the event hook, for one) stops the compiler at once.
    ~GuardedCompile() {
        if (!finished_ && guard_ > 0)
            ::kill(guard_, SIGTERM);
        Release();
    }
    GuardedCompile(const GuardedCompile&) = delete;
    GuardedCompile& operator=(const GuardedCompile&) = delete;

    // Runs the compile to its end, passing each line of standard output to `onLine`.
    ChildOutput Run(const std::function<void(const std::string&)>& onLine) {
        ChildOutput output;
        int out[2] = {-1, -1};
        int err[2] = {-1, -1};
        int report[2] = {-1, -1};
        int control[2] = {-1, -1};
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0 ||
            ::pipe2(control, O_CLOEXEC) != 0) {
            output.Failure = std::string("cannot make a pipe: ") + std::strerror(errno);
            for (int fd : {out[0], out[1], err[0], err[1], report[0], report[1], control[0], control[1]}) {
                if (fd >= 0)
                    ::close(fd);
            }
            return output;
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(plan_.Program.c_str()));
        for (const std::string& arg : plan_.Args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        guard_ = ::fork();
        if (guard_ == 0) {
            ::close(out[0]);
            ::close(err[0]);
            ::close(report[0]);
            ::close(control[1]);
            RunGuard(plan_, argv.data(), parent, out[1], err[1], report[1], control[0]);
        }
        ::close(out[1]);
        ::close(err[1]);
        ::close(report[1]);
        ::close(control[0]);
        control_ = control[1];
        if (guard_ < 0) {
            output.Failure = std::string("cannot start a process: ") + std::strerror(errno);
            for (int fd : {out[0], err[0], report[0]})
                ::close(fd);
            return output;
        }
        ReadLines(out[0], err[0], onLine, output.Errors);
        finished_ = true;
        GuardReport message{-1, 0};
        ssize_t got;
        while ((got = ::read(report[0], &message, sizeof message)) < 0 && errno == EINTR) {
        }
        ::close(report[0]);
        if (got != static_cast<ssize_t>(sizeof message)) {
            output.Failure = "the compile was stopped";
        } else if (message.Step == 1) {
            output.Failure = "cannot make the folder \"" + plan_.OutputFolder + "\": " + std::strerror(message.Value);
        } else if (message.Step == 2) {
            output.Failure = "cannot write \"" + plan_.ProjectCopy + "\": " + std::strerror(message.Value);
        } else if (message.Step == 3) {
            output.Failure = std::string("cannot start a process: ") + std::strerror(message.Value);
        } else {
            output.Status = message.Value;
        }
        return output;
    }

    // Lets the guard remove what is left of the temporary files, and waits for it.
    void Release() {
        if (control_ >= 0) {
            ::close(control_);
            control_ = -1;
        }
        if (guard_ > 0) {
            while (::waitpid(guard_, nullptr, 0) < 0 && errno == EINTR) {
            }
            guard_ = -1;
        }
    }

private:
    void ReadLines(int outRead, int errRead, const std::function<void(const std::string&)>& onLine,
                   std::vector<std::string>& errors) {
        std::string pending[2];
        pollfd fds[2] = {{outRead, POLLIN, 0}, {errRead, POLLIN, 0}};
        int open = 2;
        auto deliver = [&](int stream, bool flush) {
            std::string& buffer = pending[stream];
            size_t newline;
            while ((newline = buffer.find('\n')) != std::string::npos || (flush && !buffer.empty())) {
                std::string line = buffer.substr(0, newline);
                buffer.erase(0, newline == std::string::npos ? std::string::npos : newline + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (stream == 0) {
                    onLine(line);
                } else {
                    errors.push_back(line);
                }
            }
        };
        // A caller with a window lets it handle its events while the compiler works.
        const int wait = processEvents_ ? 50 : -1;
        while (open > 0) {
            if (processEvents_)
                processEvents_();
            if (::poll(fds, 2, wait) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            for (int stream = 0; stream < 2; ++stream) {
                if (fds[stream].fd < 0 || !(fds[stream].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                char buffer[4096];
                ssize_t got = ::read(fds[stream].fd, buffer, sizeof buffer);
                if (got > 0) {
                    pending[stream].append(buffer, static_cast<size_t>(got));
                    deliver(stream, false);
                } else if (got == 0 || errno != EINTR) {
                    ::close(fds[stream].fd);
                    fds[stream].fd = -1;
                    --open;
                }
            }
        }
        for (pollfd& fd : fds) {
            if (fd.fd >= 0)
                ::close(fd.fd);
        }
        deliver(0, true);
        deliver(1, true);
    }

    GuardPlan plan_;
    EventHook processEvents_;
    bool finished_ = false;
    pid_t guard_ = -1;
    int control_ = -1;
};

bool IsArchive(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return in && std::memcmp(magic, "ITSF", 4) == 0;
}

std::string RandomSuffix() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += letters[random() % (sizeof letters - 1)];
    return suffix;
}

// chmcmd writes no error log; the project names one, so the messages go there. Only a .log file
// inside the project's folder is written, so a project cannot make the compile overwrite a page.
void WriteErrorLog(const std::string& folder, const std::string& logName, const std::vector<std::string>& messages) {
    if (logName.empty() || logName.size() < 4 ||
        !SameText(std::string_view(logName).substr(logName.size() - 4), ".log") || HasControlCharacter(logName) ||
        chm::LeadsOutsideFolder(folder, logName)) {
        return;
    }
    std::string text;
    for (const std::string& message : messages)
        text += message + "\r\n";
    try {
        WriteFileBytes(logName.front() == '/' ? logName : JoinPath(folder, logName), text);
    } catch (const EFileError&) {
    }
}

// The compiled file a compile writes: the one the caller chose, else the one the project names,
// which must lie inside the project's folder. "" after saying why there is none.
std::string TargetOf(const std::string* chosenTarget, const std::string& compiledFile, const std::string& folder,
                     const std::function<void(const std::string&)>& say) {
    std::string target;
    if (chosenTarget) {
        target = *chosenTarget;
    } else if (compiledFile.empty()) {
        say("Error: the project names no compiled file (Compiled file=); nothing was compiled.");
        return {};
    } else if (HasControlCharacter(compiledFile) || chm::LeadsOutsideFolder(folder, compiledFile)) {
        say("Error: the compiled file " + ShowControlCharacters(compiledFile) +
            " lies outside the project's folder; nothing was compiled.");
        return {};
    } else {
        target = compiledFile.front() == '/' ? compiledFile : JoinPath(folder, compiledFile);
    }
    if (!MayReplaceWithHelpFile(target)) {
        say("Error: \"" + target + "\" is " + EntryKind(target) +
            " that is not a compiled help file; it was left as it is and nothing was compiled.");
        return {};
    }
    return target;
}

HelpCompilerChoice chosenCompiler = HelpCompilerChoice::Default;

CompileResult CompileWithOurs(const std::string& projectPath, const std::string* chosenTarget,
                              const CompileCallback& log, const CompileCallback& progress,
                              const EventHook& processEvents) {
    CompileResult result;
    result.CompilerFound = true;
    std::vector<std::string> messages;
    auto say = [&](const std::string& line) {
        messages.push_back(line);
        if (log)
            log(line);
    };
    chm::HelpProject project;
    try {
        project = chm::ReadHelpProject(projectPath);
    } catch (const ELeafsmithError& error) {
        say(std::string("Error: ") + error.what());
        return result;
    }
    const std::string target = TargetOf(chosenTarget, project.FileOption("compiled file"), project.Folder, say);
    if (target.empty())
        return result;
    result.ChmPath = target;
    const bool hadOldFile = FileExists(target);
    chm::CompileCallbacks callbacks;
    callbacks.Warning = say;
    callbacks.Progress = [&](const std::string& line) {
        messages.push_back(line);
        if (progress)
            progress(line);
    };
    callbacks.ProcessEvents = processEvents;
    std::string failure;
    try {
        chm::CompileHelpProject(project, target, callbacks);
        result.Compiled = true;
    } catch (const ELeafsmithError& error) {
        failure = error.what();
    } catch (const std::bad_alloc&) {
        failure = "there is not enough memory";
    }
    if (!failure.empty()) {
        say("The compile failed (" + failure + "); " +
            (hadOldFile ? "the old .chm file was kept." : "no .chm file was written."));
    }
    WriteErrorLog(project.Folder, project.FileOption("error log file"), messages);
    return result;
}

CompileResult CompileWithChmcmd(const std::string& projectPath, const std::string* chosenTarget,
                                const CompileCallback& log, const CompileCallback& progress,
                                const EventHook& processEvents) {
    CompileResult result;
    auto say = [&](const std::string& line) {
        if (log)
            log(line);
    };
    const std::string program = FindCompiler();
    if (program.empty()) {
        say("The help compiler chmcmd was not found (Debian package fp-utils); the help project was written without "
            "compiling it.");
        return result;
    }
    result.CompilerFound = true;

    std::string projectText;
    std::string folder;
    try {
        CheckPathHasNoNul(projectPath);
        folder = FolderOf(fs::absolute(projectPath).lexically_normal().string());
        projectText = ReadFileBytes(projectPath);
    } catch (const EFileError& error) {
        say(std::string("Error: ") + error.what());
        return result;
    }
    CleanedProject named;
    try {
        named = CleanProjectForChmcmd(projectText, folder);
    } catch (const EFileError& error) {
        say(std::string("Error: ") + error.what());
        return result;
    }
    const std::string target = TargetOf(chosenTarget, named.CompiledFile, folder, say);
    if (target.empty())
        return result;
    result.ChmPath = target;

    // The compiled file is made in a folder of its own beside the target, under the target's name,
    // and renamed over the target once it has passed every check.
    GuardPlan plan;
    const std::string suffix = RandomSuffix();
    plan.Program = program;
    plan.Folder = folder;
    plan.OutputFolder = JoinPath(FolderOf(target), "." + FileNameOf(target) + ".compiling-" + suffix);
    plan.OutputFile = JoinPath(plan.OutputFolder, FileNameOf(target));
    plan.ProjectCopy = JoinPath(folder, "leafsmith-compile-" + suffix + ".hhp");
    // Without its page scan chmcmd neither reports anchors that exist as missing nor adds files that
    // pages link to, which could lie anywhere on the disk; [FILES] lists every page already.
    plan.Args = {"--no-html-scan", FileNameOf(plan.ProjectCopy)};
    CleanedProject cleaned;
    try {
        cleaned = CleanProjectForChmcmd(projectText, folder, plan.OutputFile);
    } catch (const EFileError& error) {
        say(std::string("Error: ") + error.what());
        return result;
    }
    for (const std::string& warning : cleaned.Warnings)
        say(warning);
    plan.ProjectText = cleaned.Text;

    std::vector<std::string> messages;
    bool realError = false;
    const bool hadOldFile = FileExists(target);
    GuardedCompile compile(plan, processEvents);
    // The messages name the compiled file as the project does, not by its temporary name.
    const std::string shownName = named.CompiledFile.empty() ? target : named.CompiledFile;
    ChildOutput child = compile.Run([&](const std::string& received) {
        const std::string line = ReplaceAll(received, plan.OutputFile, shownName);
        if (line.rfind("Error:", 0) == 0)
            realError = true;
        messages.push_back(line);
        bool problem = line.rfind("Error:", 0) == 0 || line.rfind("Warning:", 0) == 0 || line.rfind("Hint:", 0) == 0;
        if (problem) {
            say(line);
        } else if (progress) {
            progress(line);
        }
    });

    // Standard error holds a banner and an empty line; anything else is a crash or a refusal.
    std::vector<std::string> trouble;
    for (const std::string& line : child.Errors) {
        if (!TrimView(line).empty() && line.find("a CHM compiler") == std::string::npos)
            trouble.push_back(ReplaceAll(line, plan.OutputFile, shownName));
    }
    for (const std::string& line : trouble)
        say(line);
    std::string failure;
    if (!child.Failure.empty()) {
        failure = child.Failure;
    } else if (child.Status != 0) {
        failure = "chmcmd ended with status " + std::to_string(child.Status);
    } else if (realError) {
        failure = "chmcmd reported an error";
    } else if (!trouble.empty()) {
        failure = "chmcmd reported a fault";
    } else if (!IsArchive(plan.OutputFile)) {
        failure = "chmcmd wrote no readable file";
    } else {
        FixFirstListingChunk(plan.OutputFile);
        if (::rename(plan.OutputFile.c_str(), target.c_str()) != 0)
            failure = "cannot put it in place as \"" + target + "\": " + std::strerror(errno);
    }
    compile.Release();
    if (failure.empty()) {
        result.Compiled = true;
    } else {
        say("The compile failed (" + failure + "); " +
            (hadOldFile ? "the old .chm file was kept." : "no .chm file was written."));
    }
    WriteErrorLog(folder, cleaned.ErrorLogFile, messages);
    return result;
}

}  // namespace

bool MayReplaceWithHelpFile(const std::string& path) {
    struct stat info {};
    if (path.find('\0') != std::string::npos)
        return false;
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (!S_ISREG(info.st_mode))
        return false;
    return info.st_size == 0 || IsArchive(path);
}

void ChooseHelpCompiler(HelpCompilerChoice choice) {
    chosenCompiler = choice;
}

bool UsesChmcmd() {
    if (chosenCompiler != HelpCompilerChoice::Default)
        return chosenCompiler == HelpCompilerChoice::Chmcmd;
    const char* program = std::getenv("LEAFSMITH_CHMCMD");
    return program && *program;
}

namespace {

CompileResult Compile(const std::string& projectPath, const std::string* target, const CompileCallback& log,
                      const CompileCallback& progress, const EventHook& processEvents) {
    return UsesChmcmd() ? CompileWithChmcmd(projectPath, target, log, progress, processEvents)
                        : CompileWithOurs(projectPath, target, log, progress, processEvents);
}

}  // namespace

CompileResult CompileHHP(const std::string& projectPath, const CompileCallback& log, const CompileCallback& progress,
                         const EventHook& processEvents) {
    return Compile(projectPath, nullptr, log, progress, processEvents);
}

CompileResult CompileHHPTo(const std::string& projectPath, const std::string& target, const CompileCallback& log,
                           const CompileCallback& progress, const EventHook& processEvents) {
    return Compile(projectPath, &target, log, progress, processEvents);
}

}  // namespace leafsmith
