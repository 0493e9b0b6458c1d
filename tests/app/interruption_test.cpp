// A build killed at any moment leaves no temporary file and no help file that looks complete but
// is not, and the next build succeeds.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "build_fixture.h"
#include "core/errors.h"
#include "core/folder_lock.h"

namespace leafsmith {
namespace {

using testing::Quote;
using testing::RunCommand;
namespace fs = std::filesystem;

// Starts leafsmith-build on the project and sends `signal` to it (to it alone, not to its process
// group) once a line of its log passes `when`, after `delay`. Returns how it ended.
int BuildAndInterrupt(const std::string& project, int signal, const std::function<bool(const std::string&)>& when,
                      std::chrono::milliseconds delay) {
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const std::string program = testing::ProgramFolder() + "/leafsmith-build";
    pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGINT, SIG_DFL);  // a test run started in the background ignores it
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(program.c_str(), program.c_str(), "--yes", "--no-pause", project.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    FILE* log = ::fdopen(out[0], "r");
    char line[4096];
    bool sent = false;
    while (std::fgets(line, sizeof line, log)) {
        if (!sent && when(line)) {
            std::this_thread::sleep_for(delay);
            ::kill(child, signal);
            sent = true;
        }
    }
    std::fclose(log);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// Waits until no process of the build holds the output folder any more: the guard of the compiler
// holds it while it stops the compiler and removes its files.
bool WaitForTheBuildToLetGo(const std::string& folder) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        try {
            FolderLock lock(folder);
            return true;
        } catch (const ELeafsmithError&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    return false;
}

std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find("leafsmith-compile-") != std::string::npos || name.find(".compiling-") != std::string::npos ||
            name.find(".writing-") != std::string::npos) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

TEST(Interruption, SignalsAtAnyMomentLeaveNoTemporaryAndNoBrokenHelpFile) {
    testing::TempFolder folder;
    const int pages = 2000;
    const std::string project = testing::WriteCorpusProject(folder / "corpus", pages);
    const std::string chm = folder / "corpus/out/CHM/corpus.chm";
    struct Moment {
        const char* Name;
        std::function<bool(const std::string&)> When;
        std::chrono::milliseconds Delay;
    };
    auto line = [](const char* start) {
        return [start](const std::string& text) { return text.rfind(start, 0) == 0; };
    };
    // Our compiler writes the help file after the line with its counts; chmcmd after "Writing CHM".
    const std::vector<Moment> ours = {
        {"writing pages", line("1000.htm\n"), std::chrono::milliseconds(0)},
        {"starting the compile", line("Compiling corpus.hhp"), std::chrono::milliseconds(0)},
        {"compiling", line("Compiling corpus.hhp"), std::chrono::milliseconds(60)},
        {"writing the help file", line("2,000 pages,"), std::chrono::milliseconds(0)},
    };
    const std::vector<Moment> chmcmd = {
        {"writing pages", line("1000.htm\n"), std::chrono::milliseconds(0)},
        {"starting the compile", line("Creating Chm Project...\n"), std::chrono::milliseconds(0)},
        {"compiling", line("Creating Chm Project...\n"), std::chrono::milliseconds(400)},
        {"writing the help file", line("Writing CHM"), std::chrono::milliseconds(0)},
    };
    for (const auto& [compiler, moments] : {std::pair{"ours", ours}, std::pair{"chmcmd", chmcmd}}) {
        if (std::string(compiler) == "chmcmd") {
            ::setenv("LEAFSMITH_CHMCMD", "chmcmd", 1);
        } else {
            ::unsetenv("LEAFSMITH_CHMCMD");
        }
        for (int signal : {SIGINT, SIGKILL}) {
            for (const Moment& moment : moments) {
                const std::string when =
                    std::string(compiler) + ", " + moment.Name + (signal == SIGINT ? " (SIGINT)" : " (SIGKILL)");
                int status = BuildAndInterrupt(project, signal, moment.When, moment.Delay);
                // The help file's last line may reach us only as the build ends (chmcmd's messages
                // come when it is done), so there a finished build is no fault; anywhere else it is.
                const bool lastLine = std::string(moment.Name) == "writing the help file";
                EXPECT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == signal) ||
                            (lastLine && WIFEXITED(status) && WEXITSTATUS(status) == 0))
                    << when << ": status " << status;
                ASSERT_TRUE(WaitForTheBuildToLetGo(folder / "corpus/out")) << when;
                EXPECT_EQ(Temporaries(folder / "corpus"), std::vector<std::string>{}) << when;
                if (fs::exists(chm)) {
                    EXPECT_EQ(testing::CountListedPages(RunCommand("enum_chmLib " + Quote(chm)).Output, pages),
                              static_cast<size_t>(pages))
                        << when;
                }
            }
        }
    }
    ::unsetenv("LEAFSMITH_CHMCMD");
    testing::CommandResult last = testing::RunLeafsmithBuild("--yes --no-pause " + Quote(project));
    ASSERT_EQ(last.Status, 0) << last.Errors;
    EXPECT_EQ(testing::CountListedPages(RunCommand("enum_chmLib " + Quote(chm)).Output, pages),
              static_cast<size_t>(pages));
    EXPECT_EQ(Temporaries(folder / "corpus"), std::vector<std::string>{});
}

}  // namespace
}  // namespace leafsmith
