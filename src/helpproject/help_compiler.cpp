#include "helpproject/help_compiler.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

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

bool FileInFolder(const std::string& folder, const std::string& relative) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(folder) / relative, ec);
}

}  // namespace

CleanedProject CleanProjectForChmcmd(const std::string& projectText, const std::string& projectFolder) {
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
            if (FileInFolder(projectFolder, file))
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
            if (key == "default topic") {
                out += "Default topic=" + Slashes(value) + "\r\n";
                continue;
            }
            if (key == "compiled file")
                cleaned.CompiledFile = Slashes(value);
            if (key == "error log file")
                cleaned.ErrorLogFile = Slashes(value);
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
                cleaned.Warnings.push_back("Warning: " + file + " does not exist and was left out.");
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
                std::string path = header.empty() || header.front() == '/' ? header : JoinPath(projectFolder, header);
                if (!FileInFolder(projectFolder, header) && !(header.front() == '/' && FileExists(header))) {
                    cleaned.Warnings.push_back("Warning: the alias header " + header +
                                               " does not exist; its context numbers were left out.");
                    continue;
                }
                for (const std::string& define : SplitLines(ReadFileBytes(path))) {
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

struct ChildOutput {
    int Status = -1;
    std::vector<std::string> Errors;  // standard error lines
};

// Runs the program in `folder` and passes each line of its standard output to `onLine`.
ChildOutput RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                     const std::function<void(const std::string&)>& onLine) {
    ChildOutput output;
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return output;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return output;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0)
            ::dup2(null, STDIN_FILENO);
        if (::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (child < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return output;
    }
    std::string pending[2];
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
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
                output.Errors.push_back(line);
            }
        }
    };
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
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
    deliver(0, true);
    deliver(1, true);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    output.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return output;
}

// chmcmd reports anchors in pages under a folder as undefined even when they exist. Such a report
// is true only when the page holds no element with that name or id.
bool AnchorReallyMissing(const std::string& message, const std::string& folder) {
    // "Error: Anchor html/p2.htm#sec undefined; first use p1.htm"
    size_t start = message.find("Anchor ") + 7;
    size_t end = message.find(" undefined", start);
    if (end == std::string::npos)
        return true;
    std::string target = message.substr(start, end - start);
    size_t hash = target.find('#');
    if (hash == std::string::npos)
        return true;
    std::string anchor = target.substr(hash + 1);
    std::string page;
    try {
        page = ReadFileBytes(JoinPath(folder, target.substr(0, hash)));
    } catch (const EFileError&) {
        return true;
    }
    for (const char* attribute : {"name=\"", "id=\"", "NAME=\"", "ID=\""}) {
        if (page.find(attribute + anchor + "\"") != std::string::npos)
            return false;
    }
    return true;
}

bool IsArchive(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return in && std::memcmp(magic, "ITSF", 4) == 0;
}

}  // namespace

CompileResult CompileHHP(const std::string& projectPath, const CompileCallback& log, const CompileCallback& progress) {
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

    const std::string folder = FolderOf(fs::absolute(projectPath).string());
    std::string projectText;
    try {
        projectText = ReadFileBytes(projectPath);
    } catch (const EFileError& error) {
        say(std::string("Error: ") + error.what());
        return result;
    }
    CleanedProject cleaned = CleanProjectForChmcmd(projectText, folder);
    for (const std::string& warning : cleaned.Warnings)
        say(warning);
    if (cleaned.CompiledFile.empty()) {
        say("Error: the project names no compiled file (Compiled file=); nothing was compiled.");
        return result;
    }
    result.ChmPath =
        cleaned.CompiledFile.front() == '/' ? cleaned.CompiledFile : JoinPath(folder, cleaned.CompiledFile);

    std::string pattern = JoinPath(folder, "leafsmith-compile-XXXXXX.hhp");
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) {
        say("Error: cannot write a temporary project file in " + folder + ": " + std::strerror(errno));
        return result;
    }
    ::close(fd);
    const std::string copy = pattern;
    std::vector<std::string> messages;
    bool realError = false;
    try {
        WriteFileBytes(copy, cleaned.Text);
        ChildOutput child = RunChild(program, {FileNameOf(copy)}, folder, [&](const std::string& line) {
            // A link to "#" (expandable blocks use them) makes chmcmd look for the page's folder.
            if (line.rfind("Warning: Found file ", 0) == 0 && line.find("/ while scanning ") != std::string::npos)
                return;
            if (line.rfind("Error: Anchor ", 0) == 0) {
                if (!AnchorReallyMissing(line, folder))
                    return;
            } else if (line.rfind("Error:", 0) == 0) {
                realError = true;
            }
            messages.push_back(line);
            bool problem =
                line.rfind("Error:", 0) == 0 || line.rfind("Warning:", 0) == 0 || line.rfind("Hint:", 0) == 0;
            if (problem) {
                say(line);
            } else if (progress) {
                progress(line);
            }
        });
        ::unlink(copy.c_str());

        // Standard error holds a banner and an empty line; anything else is a crash or a refusal.
        std::vector<std::string> trouble;
        for (const std::string& line : child.Errors) {
            if (!TrimView(line).empty() && line.find("a CHM compiler") == std::string::npos)
                trouble.push_back(line);
        }
        for (const std::string& line : trouble)
            say(line);
        std::string failure;
        if (child.Status != 0) {
            failure = "chmcmd ended with status " + std::to_string(child.Status);
        } else if (realError) {
            failure = "chmcmd reported an error";
        } else if (!trouble.empty()) {
            failure = "chmcmd reported a fault";
        } else if (!IsArchive(result.ChmPath)) {
            failure = "chmcmd wrote no readable file";
        }
        if (failure.empty()) {
            FixFirstListingChunk(result.ChmPath);
            result.Compiled = true;
        } else {
            std::error_code ec;
            fs::remove(result.ChmPath, ec);
            say("The compile failed (" + failure + "); no .chm file was kept.");
        }
    } catch (const EFileError& error) {
        ::unlink(copy.c_str());
        say(std::string("Error: ") + error.what());
        return result;
    }

    // chmcmd writes no error log; the project names one, so the messages go there.
    const std::string& logName = cleaned.ErrorLogFile;
    if (!logName.empty() && logName.front() != '/' && logName.find("..") == std::string::npos) {
        std::string text;
        for (const std::string& message : messages)
            text += message + "\r\n";
        try {
            WriteFileBytes(JoinPath(folder, logName), text);
        } catch (const EFileError&) {
        }
    }
    return result;
}

}  // namespace leafsmith
