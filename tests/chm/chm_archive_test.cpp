#include "chm/chm_archive.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "chm/chm_readers.h"
#include "chm/lzx_compressor.h"
#include "chm/lzx_test_data.h"
#include "core/errors.h"

namespace leafsmith::chm {
namespace {

using leafsmith::testing::CommandResult;
using leafsmith::testing::ExpectReadersGiveBack;
using leafsmith::testing::MissingChmReaders;
using leafsmith::testing::Quote;
using leafsmith::testing::ReadFile;
using leafsmith::testing::RunCommand;
using leafsmith::testing::TempFolder;
using Files = leafsmith::testing::ChmFiles;
using test_data::RandomBytes;
using test_data::Records;
using test_data::Text;

void Add(ChmArchiveWriter& writer, Files& expected, const std::string& name, const std::string& bytes,
         bool stored = false) {
    if (stored)
        writer.AddStoredFile(name, bytes);
    else
        writer.AddCompressedFile(name, bytes);
    expected[name] = bytes;
}

// The names chmlib lists, walking the listing chunks.
std::set<std::string> ListedNames(const std::string& chm) {
    std::set<std::string> names;
    const CommandResult listing = RunCommand("enum_chmLib " + Quote(chm));
    for (std::size_t line = 0, end; line < listing.Output.size(); line = end + 1) {
        end = std::min(listing.Output.find('\n', line), listing.Output.size());
        const std::size_t tab = listing.Output.rfind('\t', end);
        if (tab != std::string::npos && tab >= line && tab + 1 < end &&
            (listing.Output[tab + 1] == '/' || listing.Output[tab + 1] == ':'))
            names.insert(listing.Output.substr(tab + 1, end - tab - 1));
    }
    return names;
}

const std::set<std::string> kSystemFiles = {
    "::DataSpace/NameList",
    "::DataSpace/Storage/MSCompressed/Content",
    "::DataSpace/Storage/MSCompressed/ControlData",
    "::DataSpace/Storage/MSCompressed/SpanInfo",
    "::DataSpace/Storage/MSCompressed/Transform/List",
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable"};

TEST(ChmArchive, FilesOfEdgeSizesComeBackThroughEveryReader) {
    REQUIRE_CHM_READERS();
    TempFolder work;
    const std::string chm = work / "edge.chm";
    Files expected;
    {
        ChmArchiveWriter writer(chm, 0x409, 3);
        // The first interval: noise ending in a short repeat, so that the frame is stored while
        // the parser has moved on to that repeat's offset, then a frame that goes on with it.
        std::string start = RandomBytes(32768, 20);
        start.replace(32768 - 40, 40, start.substr(32768 - 1040, 40));
        while (start.size() < 33768)
            start.push_back(start[start.size() - 1000]);
        Add(writer, expected, "/first.txt", start.substr(0, 1));
        Add(writer, expected, "/stored-then-repeated.bin", start.substr(1) + Text(31768, 21));
        Add(writer, expected, "/#SYSTEM", Text(300, 1), true);
        Add(writer, expected, "/#ITBITS", "", true);
        Add(writer, expected, "/html/empty.htm", "");
        std::size_t seed = 2;
        for (std::size_t size : {32767, 32768, 32769, 65535, 65536, 65537}) {
            Add(writer, expected, "/html/t" + std::to_string(size) + ".htm", Text(size, static_cast<unsigned>(seed++)));
            if (size == 32768)
                Add(writer, expected, "/html/one.txt", "1");
        }
        Add(writer, expected, "/html/sub/empty.htm", "");
        Add(writer, expected, "/img/random.bin", RandomBytes(100000, 9));
        Add(writer, expected, "/img/run.bin", std::string(200000, 'x'));
        Add(writer, expected, "/STORED/random.bin", RandomBytes(5000, 10), true);
        Add(writer, expected, "/img/records.bin", Records(90000, 11));
        // A file written in pieces that do not line up with frames.
        const std::string pieces = Text(150001, 13);
        writer.BeginCompressedFile("/html/Pieces.htm");
        for (std::size_t at = 0; at < pieces.size(); at += 7777)
            writer.WriteCompressed(std::string_view(pieces).substr(at, 7777));
        writer.EndCompressedFile();
        expected["/html/Pieces.htm"] = pieces;
        Add(writer, expected, "/last.txt", ">");
        writer.Finish();
    }
    ExpectReadersGiveBack(chm, expected, work);

    std::set<std::string> names = kSystemFiles;
    for (const auto& [name, bytes] : expected)
        names.insert(name);
    names.insert({"/", "/html/", "/html/sub/", "/img/", "/STORED/"});
    EXPECT_EQ(ListedNames(chm), names);
}

TEST(ChmArchive, SectionEndingAtOrNearAFrameEndComesBack) {
    REQUIRE_CHM_READERS();
    TempFolder work;
    for (std::size_t size : {1, 32767, 32768, 32769, 65535, 65536, 65537, 98304}) {
        const std::string chm = work / ("end" + std::to_string(size) + ".chm");
        Files expected;
        ChmArchiveWriter writer(chm, 0x409, 2);
        Add(writer, expected, "/a.htm", Text(size - 1, static_cast<unsigned>(size)));
        Add(writer, expected, "/b.txt", "b");
        writer.Finish();
        SCOPED_TRACE(size);
        ExpectReadersGiveBack(chm, expected, work);
    }
}

TEST(ChmArchive, ManyLongNamesGetSeveralIndexLevels) {
    REQUIRE_CHM_READERS();
    TempFolder work;
    const std::string chm = work / "big.chm";
    Files expected;
    std::vector<std::string> names;
    {
        ChmArchiveWriter writer(chm, 0x409);
        Add(writer, expected, "/#SYSTEM", Text(100, 1), true);
        for (int i = 0; i < 2000; ++i) {
            const std::string number = std::to_string(10000 + i);
            names.push_back("/pages/" + std::string(200, static_cast<char>('a' + i / 100)) + "/" +
                            std::string(50 + i % 150, static_cast<char>('a' + i % 26)) + "/p" + number + ".htm");
            Add(writer, expected, names.back(), Text(500 + i % 1500, static_cast<unsigned>(i)));
        }
        Add(writer, expected, "/huge.htm", Text(20 << 20, 7));
        writer.Finish();
    }
    const std::string file = ReadFile(chm);
    const auto itsp = [&](std::size_t field) {
        std::uint32_t v = 0;
        std::memcpy(&v, file.data() + 0x78 + field, 4);
        return v;
    };
    EXPECT_GE(itsp(0x18), 3u);              // depth: listing chunks and two index levels at least
    EXPECT_EQ(itsp(0x1C), itsp(0x2C) - 1);  // the root index chunk comes last
    ExpectReadersGiveBack(chm, expected, work);

    // chmlib resolves names from the root index chunk down, as Wine does. (Its test program holds
    // the file on its stack, so not the huge one.)
    std::vector<std::string> lookups = {"/#SYSTEM", names.front(), names.back()};
    for (std::size_t i = 97; i < names.size(); i += 211)
        lookups.push_back(names[i]);
    for (const std::string& name : lookups) {
        const CommandResult found =
            RunCommand("test_chmLib " + Quote(chm) + " " + Quote(name) + " " + Quote(work / "found"));
        EXPECT_EQ(found.Output.find("failed"), std::string::npos) << name << ": " << found.Output;
        EXPECT_TRUE(ReadFile(work / "found") == expected[name]) << name;
    }
}

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

// Directory integers: seven bits a byte, most significant first.
std::string EncInt(std::uint64_t value) {
    std::string out(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value != 0; value >>= 7)
        out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

std::string Utf16(const std::string& text) {
    std::string out;
    for (char c : text)
        PutLe(out, static_cast<unsigned char>(c), 2);
    return out;
}

TEST(ChmArchive, SmallArchiveIsLaidOutByteForByte) {
    TempFolder work;
    const std::string chm = work / "small.chm";
    const std::string system = Text(300, 3);
    {
        ChmArchiveWriter writer(chm, 0x407);
        writer.AddStoredFile("/#SYSTEM", system);
        writer.AddStoredFile("/#ITBITS", "");
        writer.Finish();
    }
    const std::string guidTail("\x9E\x0C\x00\xA0\xC9\x22\xE6\xEC", 8);
    std::string expected = "ITSF";
    for (std::uint32_t v : {3, 0x60, 1, 0, 0x407})  // version, header length, 1, time stamp, LCID
        PutLe(expected, v, 4);
    expected += std::string("\x10\xFD\x01\x7C\xAA\x7B\xD0\x11", 8) + std::string(guidTail.data(), 8);
    expected += std::string("\x11\xFD\x01\x7C\xAA\x7B\xD0\x11", 8) + std::string(guidTail.data(), 8);
    for (std::uint64_t v : {0x60, 0x18, 0x78, 0x54 + 0x1000, 0x78 + 0x54 + 0x1000})
        PutLe(expected, v, 8);

    // Section 0: the stored file, then the compressed section and the files describing it.
    std::string names;
    for (std::uint32_t v : {0x1E, 2, 12})
        PutLe(names, v, 2);
    names += Utf16("Uncompressed") + std::string(2, '\0');
    PutLe(names, 12, 2);
    names += Utf16("MSCompressed") + std::string(2, '\0');
    std::string control = std::string("\x06\0\0\0LZXC", 8);
    for (std::uint32_t v : {2, 2, 2, 1, 0})
        PutLe(control, v, 4);
    const std::string span(8, '\0');
    const std::string transforms = Utf16("{7FC28940-9D31-11D0");
    // With no compressed files the section still holds one frame, of zeros.
    const std::string content = CompressLzxInterval(std::string(2, '\0')).Bytes;
    std::string reset;
    for (std::uint32_t v : {2, 1, 8, 0x28})
        PutLe(reset, v, 4);
    for (std::uint64_t v : std::initializer_list<std::uint64_t>{0, content.size(), 0x8000, 0})
        PutLe(reset, v, 8);
    const std::string section0 = system + names + control + span + transforms + reset + content;

    const std::uint64_t size = 0x78 + 0x54 + 0x1000 + section0.size();
    for (std::uint64_t v : {0x1FE, 0})
        PutLe(expected, v, 4);
    PutLe(expected, size, 8);
    PutLe(expected, 0, 8);

    expected += "ITSP";
    for (std::uint32_t v : {1u, 0x54u, 0x0Au, 0x1000u, 2u, 1u, 0xFFFFFFFFu, 0u, 0u, 0xFFFFFFFFu, 1u, 0x409u})
        PutLe(expected, v, 4);
    expected += std::string("\x6A\x92\x02\x5D\x2E\x21\xD0\x11\x9D\xF9\x00\xA0\xC9\x22\xE6\xEC", 16);
    for (std::uint32_t v : {0x54u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu})
        PutLe(expected, v, 4);

    // One listing chunk: names in order, section, offset and length as big-end-first integers.
    std::string entries;
    std::vector<std::size_t> starts;
    auto entry = [&](const std::string& name, const std::string& numbers) {
        starts.push_back(entries.size());
        entries += static_cast<char>(name.size());
        entries += name + numbers;
    };
    entry("/", std::string("\0\0\0", 3));
    entry("/#ITBITS", std::string("\0\0\0", 3));
    entry("/#SYSTEM", std::string("\0\0\x82\x2C", 4));                // 300 bytes at 0
    entry("::DataSpace/NameList", std::string("\0\x82\x2C\x3C", 4));  // 60 at 300
    entry("::DataSpace/Storage/MSCompressed/Content", std::string("\0\x83\x62", 3) + EncInt(content.size()));  // at 482
    entry("::DataSpace/Storage/MSCompressed/ControlData", std::string("\0\x82\x68\x1C", 4));     // 28 at 360
    entry("::DataSpace/Storage/MSCompressed/SpanInfo", std::string("\0\x83\x04\x08", 4));        // 8 at 388
    entry("::DataSpace/Storage/MSCompressed/Transform/List", std::string("\0\x83\x0C\x26", 4));  // 38 at 396
    entry("::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable",
          std::string("\0\x83\x32\x30", 4));  // 48 at 434
    expected += "PMGL";
    PutLe(expected, 0x1000 - 0x14 - entries.size(), 4);
    PutLe(expected, 0, 4);
    PutLe(expected, 0xFFFFFFFF, 4);
    PutLe(expected, 0xFFFFFFFF, 4);
    expected += entries + std::string(0x1000 - 0x14 - entries.size() - 4, '\0');
    PutLe(expected, starts[5], 2);  // quickref to the fifth entry after the first
    PutLe(expected, starts.size(), 2);
    expected += section0;

    if (MissingChmReaders().empty())
        ExpectReadersGiveBack(chm, {{"/#SYSTEM", system}, {"/#ITBITS", ""}}, work);

    const std::string got = ReadFile(chm);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(got[i]), static_cast<unsigned char>(expected[i])) << "at byte " << i;
}

TEST(ChmArchive, NamesSortAsReadersLookThemUp) {
    const std::vector<std::string> ordered = {
        "/",      "/#IDXHDR",    "/#SYSTEM",     "/$FIftiMain",     "/_#_README_#_",      "/html",
        "/html/", "/html/a.htm", "/html/p3.htm", "/html/Page2.htm", "/html/\xC3\x84.htm", "::DataSpace/NameList"};
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_TRUE(ChmNameLess(ordered[i], ordered[i + 1])) << ordered[i] << " < " << ordered[i + 1];
        EXPECT_FALSE(ChmNameLess(ordered[i + 1], ordered[i])) << ordered[i + 1] << " < " << ordered[i];
    }
    EXPECT_FALSE(ChmNameLess("/HTML/A.HTM", "/html/a.htm"));
    EXPECT_FALSE(ChmNameLess("/html/a.htm", "/HTML/A.HTM"));
}

TEST(ChmArchive, RefusesNamesReadersCannotUse) {
    TempFolder work;
    ChmArchiveWriter writer(work / "names.chm", 0x409, 1);
    writer.AddCompressedFile("/Html/Page.htm", "x");
    writer.AddStoredFile("/" + std::string(511, 'n'), "longest name readers accept");
    for (const std::string& name :
         {std::string(), std::string("html/a.htm"), std::string("/html/"), std::string("/a\0b", 4),
          "/" + std::string(512, 'n'), std::string("/html/page.HTM")}) {
        EXPECT_THROW(writer.AddStoredFile(name, "x"), ELeafsmithError) << name;
        EXPECT_THROW(writer.AddCompressedFile(name, "x"), ELeafsmithError) << name;
    }
    EXPECT_TRUE(writer.HasFile("/HTML/page.htm"));
    EXPECT_FALSE(writer.HasFile("/html/"));
    EXPECT_FALSE(writer.HasFile("::DataSpace/NameList"));
}

// Writes beyond a small file size limit fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

void ExpectFileErrorNaming(const std::string& path, const std::function<void()>& action) {
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const EFileError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
        EXPECT_FALSE(error.Reason().empty());
    }
}

TEST(ChmArchive, WriteFailuresNameTheFile) {
    TempFolder work;
    const std::string chm = work / "full.chm";
    {
        ChmArchiveWriter writer(chm, 0x409, 2);
        FileSizeLimit limit(1 << 20);
        ExpectFileErrorNaming(chm, [&] { writer.AddCompressedFile("/random.bin", RandomBytes(3 << 20, 1)); });
    }
    {
        ChmArchiveWriter writer(chm, 0x409, 2);
        writer.AddCompressedFile("/page.htm", Text(500000, 2));
        writer.AddStoredFile("/stored.bin", RandomBytes(2 << 20, 3));
        FileSizeLimit limit(1 << 20);
        ExpectFileErrorNaming(chm, [&] { writer.Finish(); });
    }
    ChmArchiveWriter writer(work / "missing/folder/x.chm", 0x409);
    writer.AddStoredFile("/#SYSTEM", "x");
    ExpectFileErrorNaming(work / "missing/folder/x.chm", [&] { writer.Finish(); });
}

}  // namespace
}  // namespace leafsmith::chm
