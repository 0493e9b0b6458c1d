// Fuzz target: our help compiler on a project, a page and a contents file from the input (parts
// separated by NUL bytes), written into a sandbox folder. The compile either ends with a help file
// or with one of our errors, and writes nothing but the help file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chm/chm_compiler.h"
#include "chm/help_project.h"
#include "core/errors.h"

namespace fs = std::filesystem;

namespace {

const std::string& Sandbox() {
    static const std::string folder = [] {
        std::string pattern = (fs::temp_directory_path() / "leafsmith-fuzz-compile-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return folder;
}

void Write(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

size_t CountEntries(const std::string& folder) {
    size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 3) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(3);
    const std::string box = Sandbox() + "/p";
    fs::remove_all(box);
    Write(box + "/html/a.htm", parts[1]);
    Write(box + "/t.hhc", parts[2]);
    Write(box + "/t.hhp",
          "[OPTIONS]\r\nContents file=t.hhc\r\nFull-text search=Yes\r\n" + parts[0] + "\r\n[FILES]\r\nhtml\\a.htm\r\n");
    const size_t before = CountEntries(box);
    try {
        leafsmith::chm::HelpProject project = leafsmith::chm::ReadHelpProject(box + "/t.hhp");
        leafsmith::chm::CompileCallbacks callbacks;
        callbacks.Threads = 1;
        leafsmith::chm::CompileHelpProject(project, box + "/t.chm", callbacks);
        std::ifstream in(box + "/t.chm", std::ios::binary);
        char magic[4] = {};
        in.read(magic, 4);
        if (std::string(magic, 4) != "ITSF" || CountEntries(box) != before + 1)
            __builtin_trap();
    } catch (const leafsmith::ELeafsmithError&) {
        if (CountEntries(box) != before)
            __builtin_trap();  // a failed compile leaves nothing
    }
    return 0;
}
