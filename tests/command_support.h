// Running leafsmith-build and the other command-line programs from the tests, and reading back
// what they write.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "test_support.h"

namespace leafsmith::testing {

struct CommandResult {
    int Status = -1;
    std::string Output;  // standard output
    std::string Errors;  // standard error
};

// Runs a shell command with standard input from /dev/null (so never at a terminal).
inline CommandResult RunCommand(const std::string& command) {
    TempFolder scratch;
    const std::string errors = scratch / "stderr";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        ::popen(("{ " + command + "; } </dev/null 2>'" + errors + "'").c_str(), "r"), ::pclose);
    CommandResult result;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        result.Output.append(buffer, got);
    int status = ::pclose(pipe.release());
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Errors = ReadFile(errors);
    return result;
}

inline std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

// The folder of the built programs and the data beside them.
inline std::string ProgramFolder() {
    const char* folder = std::getenv("LEAFSMITH_BIN_DIR");
    return folder ? folder : "build/bin";
}

inline CommandResult RunLeafsmithBuild(const std::string& arguments) {
    return RunCommand(Quote(ProgramFolder() + "/leafsmith-build") + " " + arguments);
}

// The default topic recorded in the #SYSTEM file of a compiled help file (extracted with chmlib's
// extract_chmLib into `scratch`).
inline std::string DefaultTopicOf(const std::string& chm, const std::string& scratch) {
    RunCommand("extract_chmLib " + Quote(chm) + " " + Quote(scratch));
    std::string system = ReadFile(scratch + "/#SYSTEM");
    for (size_t pos = 4; pos + 4 <= system.size();) {
        unsigned code = static_cast<unsigned char>(system[pos]) | static_cast<unsigned char>(system[pos + 1]) << 8;
        unsigned length = static_cast<unsigned char>(system[pos + 2]) | static_cast<unsigned char>(system[pos + 3])
                                                                            << 8;
        if (code == 2)
            return std::string(system.c_str() + pos + 4);
        pos += 4 + length;
    }
    return {};
}

}  // namespace leafsmith::testing
