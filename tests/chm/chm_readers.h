// Reading compiled help files back with three independent readers: chmlib's tools, 7-Zip and
// libmspack (through the test program chm_mspack_check).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "command_support.h"

namespace leafsmith::testing {

using ChmFiles = std::map<std::string, std::string>;  // "/name" -> bytes

#ifdef LEAFSMITH_MSPACK_CHECK
inline const std::string kMspackCheck = LEAFSMITH_MSPACK_CHECK;
#else
inline const std::string kMspackCheck;
#endif

inline bool HasProgram(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null").Status == 0;
}

// 7-Zip's program: 7zz (Debian's 7zip) or 7z (p7zip); "" when neither is installed.
inline std::string SevenZip() {
    static const std::string program = HasProgram("7zz") ? "7zz" : HasProgram("7z") ? "7z" : "";
    return program;
}

// The readers that are not installed, "" when all are.
inline std::string MissingChmReaders() {
    static const std::string missing = [] {
        std::string names;
        if (!HasProgram("extract_chmLib") || !HasProgram("test_chmLib") || !HasProgram("enum_chmLib"))
            names += " chmlib's tools (libchm-bin)";
        if (SevenZip().empty())
            names += " 7-Zip (7zip)";
        if (kMspackCheck.empty())
            names += " libmspack (libmspack-dev)";
        return names;
    }();
    return missing;
}

#define REQUIRE_CHM_READERS()                                                                  \
    do {                                                                                       \
        if (!::leafsmith::testing::MissingChmReaders().empty())                                \
            GTEST_SKIP() << "needs the readers:" << ::leafsmith::testing::MissingChmReaders(); \
    } while (false)

// With `alsoInternal`, the compiler's own files ("/#SYSTEM", "/$FIftiMain" ...) may be there too.
inline void ExpectSameFiles(const std::string& folder, const ChmFiles& expected, const std::string& reader,
                            bool alsoInternal = false) {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = "/" + std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_regular_file() && !(alsoInternal && (name.rfind("/#", 0) == 0 || name.rfind("/$", 0) == 0)))
            found.insert(name);
    }
    std::set<std::string> wanted;
    for (const auto& [name, bytes] : expected)
        wanted.insert(name);
    EXPECT_EQ(found, wanted) << reader;
    for (const auto& [name, bytes] : expected) {
        const std::string got = ReadFile(folder + name);
        EXPECT_TRUE(got == bytes) << reader << " gives " << got.size() << " bytes of " << name << ", not "
                                  << bytes.size() << (got.size() == bytes.size() ? " (other bytes)" : "");
    }
}

// Every file comes back byte for byte through chmlib, 7-Zip and libmspack (which also looks every
// name up through the quickref and index chunks), and no other file is there.
inline void ExpectReadersGiveBack(const std::string& chm, const ChmFiles& expected, const TempFolder& work,
                                  bool alsoInternal = false) {
    const std::string stem = work / std::filesystem::path(chm).stem().string();
    CommandResult chmlib = RunCommand("extract_chmLib " + Quote(chm) + " " + Quote(stem + ".chmlib"));
    EXPECT_EQ(chmlib.Status, 0) << chmlib.Output << chmlib.Errors;
    ExpectSameFiles(stem + ".chmlib", expected, "chmlib", alsoInternal);

    CommandResult sevenZip = RunCommand(SevenZip() + " x -y -o" + Quote(stem + ".7z") + " " + Quote(chm));
    EXPECT_EQ(sevenZip.Status, 0) << sevenZip.Output << sevenZip.Errors;
    ExpectSameFiles(stem + ".7z", expected, "7-Zip", alsoInternal);

    CommandResult mspack = RunCommand(Quote(kMspackCheck) + " " + Quote(chm) + " " + Quote(stem + ".mspack"));
    EXPECT_EQ(mspack.Status, 0) << mspack.Output << mspack.Errors;
    ExpectSameFiles(stem + ".mspack", expected, "libmspack", alsoInternal);
}

}  // namespace leafsmith::testing
