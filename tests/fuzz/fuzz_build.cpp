// Fuzz target: a whole build. The input holds, split at "\x01", a flags byte, the project file, one
// text file, the template group's templates.ini, its content template and a further template. The
// build runs into the output folder of a sandbox; afterwards nothing else in the sandbox may have
// changed and no temporary file may be left in the output.
//
// Absolute paths in the project would lead anywhere on this machine, so the output folder, the
// template groups, the program folder and the text file list are the sandbox's, other absolute
// paths become relative, and inputs that climb more folders with ".." than the sandbox is deep are
// skipped. What stays is everything the build itself must confine.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "build/build_command.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/project_option.h"
#include "core/user_questions.h"
#include "output/settings.h"

namespace {

namespace fs = std::filesystem;
using leafsmith::Answer;

constexpr int SandboxDepth = 24;

class QuietUser : public leafsmith::MakeSink, public leafsmith::UserQuestions {
public:
    void ClearLog() override {}
    void OutOnInfo(leafsmith::TLfxObject*, const std::string&) override {}
    bool Ask(const std::string&) override { return true; }
    void Tell(const std::string&) override {}
    void ShowError(const std::string&) override {}
    Answer AskYesCancelRetry(const std::string&) override { return Yes ? Answer::Yes : Answer::Cancel; }
    Answer AskAbortRetry(const std::string&) override { return Answer::Abort; }
    bool Yes = false;
};

struct Sandbox {
    ~Sandbox() {
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    std::string Root;     // everything the build may read; only Out may change
    std::string Project;  // the project's folder, deep below Root
    std::string Group;
    std::string Setup;
    std::string Out;
};

void Write(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    leafsmith::WriteFileBytes(path, bytes);
}

Sandbox MakeSandbox() {
    Sandbox box;
    std::string pattern = (fs::temp_directory_path() / "leafsmith-fuzz-build-XXXXXX").string();
    box.Root = ::mkdtemp(pattern.data());
    std::string deep = box.Root;
    for (int i = 0; i < SandboxDepth; ++i)
        deep += "/d";
    box.Project = deep + "/project";
    box.Group = deep + "/group";
    box.Setup = deep + "/setup";
    box.Out = box.Project + "/out";
    Write(box.Setup + "/icons/cplus.gif", "+");
    Write(box.Setup + "/icons/cminus.gif", "-");
    Write(box.Setup + "/icons/1.gif", "1");
    Write(box.Setup + "/webjs.dat", "<script>tree</script>\n");
    Write(box.Setup + "/ebookjs.dat", "/* titles */\n");
    Write(box.Setup + "/singlehtml.htm", "<html><head></head><body>($ALLCONTENT$)</body></html>\n");
    Write(box.Project + "/resources/picture.gif", "GIF89a");
    Write(box.Project + "/include/part.txt", "<b>included</b>\n");
    Write(box.Root + "/outside.txt", "must stay");
    Write(box.Setup + "/compiler",
          "#!/bin/sh\nfor last; do :; done\n"
          "printf 'ITSF' > \"$(sed -n 's/^Compiled file=//p' \"$last\" | tr -d '\\r' | head -n 1)\"\n");
    fs::permissions(box.Setup + "/compiler", fs::perms::owner_all);
    ::setenv("LEAFSMITH_CHMCMD", (box.Setup + "/compiler").c_str(), 1);
    return box;
}

// Every file below `root` except those in `skip`, with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& root, const std::string& skip) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->path() == skip) {
            it.disable_recursion_pending();
            continue;
        }
        std::error_code kindError;
        if (it->is_symlink(kindError)) {
            files[it->path().string()] = "link to " + fs::read_symlink(it->path(), kindError).string();
        } else if (it->is_regular_file(kindError)) {
            files[it->path().string()] = leafsmith::ReadFileBytes(it->path().string());
        } else {
            files[it->path().string()] = "folder";
        }
    }
    return files;
}

bool LeftTemporaries(const std::string& folder) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find(".writing-") != std::string::npos || name.find(".compiling-") != std::string::npos ||
            name.find("leafsmith-compile-") != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string Relative(const std::string& path) {
    size_t start = path.find_first_not_of('/');
    return start == std::string::npos ? std::string() : path.substr(start);
}

size_t Climbs(const std::string& text) {
    size_t count = 0;
    for (size_t at = text.find(".."); at != std::string::npos; at = text.find("..", at + 1))
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Sandbox box = MakeSandbox();
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (input.empty() || Climbs(input) >= SandboxDepth)
        return 0;
    std::vector<std::string> parts;
    size_t start = 1;
    while (parts.size() < 5) {
        size_t split = input.find('\x01', start);
        parts.push_back(input.substr(start, split == std::string::npos ? split : split - start));
        if (split == std::string::npos)
            break;
        start = split + 1;
    }
    parts.resize(5);
    const uint8_t flags = static_cast<uint8_t>(input[0]);

    std::error_code ec;
    fs::remove_all(box.Group, ec);
    Write(box.Project + "/project.lfx", parts[0]);
    Write(box.Project + "/text.txt", parts[1]);
    Write(box.Group + "/templates.ini", parts[2]);
    Write(box.Group + "/page.htm", parts[3]);
    Write(box.Group + "/other.htm", parts[4]);
    if (flags & 1) {
        // An old output with a link to a file outside it, as a failed removal can leave.
        fs::create_directories(box.Out + "/CHM/html", ec);
        fs::create_symlink(box.Root + "/outside.txt", box.Out + "/CHM/html/1.htm", ec);
    }
    const auto before = Snapshot(box.Root, box.Out);

    leafsmith::TProjectOption options(box.Setup);
    try {
        options.LoadFromFile(box.Project + "/project.lfx");
    } catch (const leafsmith::ELeafsmithError&) {
        return 0;
    }
    options.OutDir = box.Out;
    options.FileList = {"text.txt"};
    for (std::string* group :
         {&options.TempletChm, &options.TempletChm_WebSite, &options.TempletChm_Ebook, &options.TempletChm_Faq}) {
        *group = box.Group;
    }
    for (std::string* path : {&options.SourcePath, &options.IncludePath, &options.CHMFileName,
                              &options.CHMFileName_WebSite, &options.CHMFileName_Ebook, &options.CHMFileName_Faq}) {
        *path = Relative(*path);
    }
    if (!(flags & 2)) {
        options.CompileChm = options.CompileChm_WebSite = options.CompileChm_Ebook = options.CompileChm_Faq = false;
    }

    QuietUser user;
    user.Yes = flags & 4;
    leafsmith::BuildEnvironment environment;
    environment.PauseMilliseconds = 0;
    environment.Questions = &user;
    environment.ConfineIncludes = flags & 8;
    leafsmith::BuildSession session;
    try {
        leafsmith::RunMake(options, user, environment, session);
    } catch (const leafsmith::ELeafsmithError&) {
    } catch (const leafsmith::EUsed&) {
    }

    if (Snapshot(box.Root, box.Out) != before)
        __builtin_trap();  // the build changed something outside its output folder
    if (LeftTemporaries(box.Out))
        __builtin_trap();
    return 0;
}
