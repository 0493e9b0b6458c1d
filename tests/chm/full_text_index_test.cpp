// The search index file, read back with an independent reader (ftsdump.py) and by descending its
// tree as a viewer does.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "chm/full_text_index.h"
#include "core/errors.h"
#include "test_support.h"

namespace leafsmith::chm {
namespace {

using leafsmith::testing::TempFolder;
using leafsmith::testing::WriteFile;

const char* const kPython = "/usr/bin/python3";
const char* const kDumper = "/work/shared/chmtools/ftsdump.py";

struct Dump {
    std::map<std::string, unsigned long> Header;
    std::vector<std::string> Entries;                           // "word title docs", docs as the dumper prints them
    std::vector<std::pair<unsigned long, std::string>> Leaves;  // offset, last word
    std::vector<std::pair<std::string, unsigned long>> IndexEntries;  // word, child (first index node of each level)
    bool ListsDecodeToTheirSize = true;
};

PageWords Page(std::vector<std::string> title, std::vector<std::string> body) {
    PageWords page;
    for (const std::string& word : title)
        page.TitleWords.push_back(word);
    for (const std::string& word : body)
        page.BodyWords.push_back(word);
    return page;
}

// The dumper prints words as Latin-1; this is what it prints for code-page bytes.
std::string AsLatin1(const std::string& bytes) {
    std::string utf8;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

std::optional<Dump> DumpIndex(const std::string& file) {
    if (!std::filesystem::exists(kPython) || !std::filesystem::exists(kDumper))
        return std::nullopt;
    TempFolder folder;
    WriteFile(folder / "$FIftiMain", file);
    std::string command = std::string(kPython) + " " + kDumper + " '" + folder.Path() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << output;

    Dump dump;
    static const std::regex field(R"((\w[\w-]*) (\d+)\b)");
    static const std::regex entry(
        R"(^  '(.*?)'\s+title=(\d) docs=\d+ wlc@\d+ size=(\d+) \(decoded (\d+) bytes\) unk=0 (.*)$)");
    static const std::regex leaf(R"(^leaf @(\d+) )");
    static const std::regex indexEntry(R"(^   idx entry word='(.*)' child=(\d+) unk=0$)");
    std::istringstream lines(output);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (line.rfind("sig ", 0) == 0) {
            for (std::sregex_iterator it(line.begin(), line.end(), field), end; it != end; ++it)
                dump.Header[(*it)[1]] = std::stoul((*it)[2]);
        } else if (std::regex_match(line, match, entry)) {
            dump.Entries.push_back(match[1].str() + " " + match[2].str() + " " + match[5].str());
            dump.Leaves.back().second = match[1];
            if (match[3] != match[4])
                dump.ListsDecodeToTheirSize = false;
        } else if (std::regex_search(line, match, leaf)) {
            dump.Leaves.emplace_back(std::stoul(match[1]), "");
        } else if (std::regex_match(line, match, indexEntry)) {
            dump.IndexEntries.emplace_back(match[1], std::stoul(match[2]));
        }
    }
    return dump;
}

std::uint32_t Le(const std::string& file, size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(file.at(at + static_cast<size_t>(i)));
    return value;
}

// The number of documents of the entry for `word`, found by descending from the root into the first
// child whose last word is not less than it, as viewers look words up. python3-chm reads an index
// node below the root from the byte at which the parent's entry stood (`asPython3Chm`).
std::optional<std::uint32_t> LookUp(const std::string& file, const std::string& word, bool asPython3Chm) {
    std::uint32_t node = Le(file, 0x14, 4);
    size_t start = 2;
    std::string previous;
    for (std::uint32_t level = 1; level < Le(file, 0x18, 2); ++level) {
        size_t end = node + 4096 - Le(file, node, 2);
        if (!asPython3Chm) {
            start = 2;
            previous.clear();
        }
        std::optional<std::uint32_t> child;
        for (size_t p = node + start; p < end && !child;) {
            size_t length = static_cast<unsigned char>(file.at(p)) - 1u;
            previous.resize(static_cast<unsigned char>(file.at(p + 1)));
            previous.append(file, p + 2, length);
            if (previous >= word) {
                child = Le(file, p + 2 + length, 4);
                start = p - node;
            }
            p += 2 + length + 6;
        }
        if (!child)
            return std::nullopt;
        node = *child;
    }
    previous.clear();
    size_t end = node + 4096 - Le(file, node + 6, 2);
    for (size_t p = node + 8; p < end;) {
        size_t length = static_cast<unsigned char>(file.at(p)) - 1u;
        previous.resize(static_cast<unsigned char>(file.at(p + 1)));
        previous.append(file, p + 2, length);
        p += 2 + length + 1;
        std::uint32_t documents = 0;
        for (int shift = 0;; shift += 7) {
            auto byte = static_cast<unsigned char>(file.at(p++));
            documents |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if (byte < 0x80)
                break;
        }
        if (previous == word)
            return documents;
        p += 6;
        while (static_cast<unsigned char>(file.at(p++)) >= 0x80) {
        }
    }
    return std::nullopt;
}

TEST(FullTextIndex, ListsEachWordsDocumentsAndLocationsInCodePageOrder) {
    FullTextIndex index(0x407, 1252);
    index.AddPage(0, Page({"alpha", "beta"}, {"alpha", "gamma", "alpha"}));
    index.AddPage(2, Page({}, {"beta", "привет", std::string(100, 'x'), "gamma", "zebra"}));
    index.AddPage(5, Page({"gamma"}, {"delta", "über", "zebra", "über"}));
    EXPECT_EQ(index.PageCount(), 3u);
    EXPECT_EQ(index.DistinctWordCount(), 6u);
    EXPECT_EQ(index.LeftOutWordCount(), 1u);
    EXPECT_EQ(index.TooLongWordCount(), 1u);

    std::optional<Dump> dump = DumpIndex(index.Build());
    if (!dump)
        GTEST_SKIP() << "needs " << kPython << " and " << kDumper;
    EXPECT_EQ(dump->Entries, (std::vector<std::string>{
                                 "alpha 1 [(0, [0])]",
                                 "alpha 0 [(0, [1, 3])]",
                                 "beta 1 [(0, [1])]",
                                 "beta 0 [(2, [1])]",
                                 "delta 0 [(5, [1])]",
                                 "gamma 1 [(5, [0])]",
                                 "gamma 0 [(0, [2]), (2, [4])]",
                                 "zebra 0 [(2, [5]), (5, [3])]",
                                 "über 0 [(5, [2, 4])]",
                             }));
    EXPECT_TRUE(dump->ListsDecodeToTheirSize);
    EXPECT_EQ(dump->Header["docs"], 3u);
    EXPECT_EQ(dump->Header["docs-1"], 2u);
    EXPECT_EQ(dump->Header["depth"], 1u);
    EXPECT_EQ(dump->Header["leafcount"], 1u);
    EXPECT_EQ(dump->Header["root"], dump->Header["root2"]);
    EXPECT_EQ(dump->Header["nodesize"], 4096u);
    EXPECT_EQ(dump->Header["longest"], 5u);
    EXPECT_EQ(dump->Header["totalwords"], 13u);
    EXPECT_EQ(dump->Header["uniquewords"], 6u);
    EXPECT_EQ(dump->Header["len1"], 61u);
    EXPECT_EQ(dump->Header["uniquelen"], 28u);
    EXPECT_EQ(dump->Header["cp"], 1252u);
    EXPECT_EQ(dump->Header["lcid"], 0x407u);

    FullTextIndex russian(0x419, 1251);
    russian.AddPage(0, Page({"мир"}, {"ёж", "alpha", "мир"}));
    dump = DumpIndex(russian.Build());
    EXPECT_EQ(dump->Entries, (std::vector<std::string>{"alpha 0 [(0, [2])]", AsLatin1("\xB8\xE6") + " 0 [(0, [1])]",
                                                       AsLatin1("\xEC\xE8\xF0") + " 1 [(0, [0])]",
                                                       AsLatin1("\xEC\xE8\xF0") + " 0 [(0, [3])]"}));
    EXPECT_EQ(dump->Header["cp"], 1251u);
    EXPECT_EQ(dump->Header["lcid"], 0x419u);

    // Readers compare words without regard to ASCII case, which double-byte characters' trail bytes can hold.
    FullTextIndex japanese(0x411, 932);
    japanese.AddPage(0, Page({}, {"晦", "骸", "蛎"}));  // 8A 41, 8A 5B, 8A 61
    dump = DumpIndex(japanese.Build());
    EXPECT_EQ(dump->Entries,
              (std::vector<std::string>{R"(\x8a[ 0 [(0, [2])])", R"(\x8aA 0 [(0, [1])])", R"(\x8aa 0 [(0, [3])])"}));

    dump = DumpIndex(FullTextIndex(0x409, 1252).Build());
    EXPECT_TRUE(dump->Entries.empty());
    EXPECT_EQ(dump->Header["leafcount"], 1u);
}

TEST(FullTextIndex, ChainsLeavesInWordOrderUnderAnIndexNode) {
    FullTextIndex index(0x409, 1252);
    std::vector<std::string> expected;
    std::vector<std::string> filler(6000, "filler");
    filler.push_back("far");
    for (unsigned page = 0; page < 30; ++page) {
        std::vector<std::string> body;
        for (unsigned i = 0; i < 100; ++i) {
            char word[16];
            std::snprintf(word, sizeof word, "w%04u", page * 100 + i);
            body.push_back(word);
            expected.push_back(std::string(word) + " 0 [(" + std::to_string(page * 7) + ", [" + std::to_string(i + 1) +
                               "])]");
        }
        body.push_back("common");
        index.AddPage(page * 7, Page({}, body));
        if (page == 10)
            index.AddPage(page * 7 + 1, Page({}, filler));
    }
    std::optional<Dump> dump = DumpIndex(index.Build());
    if (!dump)
        GTEST_SKIP() << "needs " << kPython << " and " << kDumper;

    EXPECT_EQ(dump->Header["depth"], 2u);
    EXPECT_GT(dump->Leaves.size(), 5u);
    EXPECT_EQ(dump->Header["leafcount"], dump->Leaves.size());
    EXPECT_TRUE(dump->ListsDecodeToTheirSize);
    ASSERT_EQ(dump->Entries.size(), 3003u);
    std::string common = "common 0 [";
    for (unsigned page = 0; page < 30; ++page)
        common += (page ? ", (" : "(") + std::to_string(page * 7) + ", [101])";
    EXPECT_EQ(dump->Entries[0], common + "]");
    EXPECT_EQ(dump->Entries[1], "far 0 [(71, [6001])]");
    EXPECT_EQ(dump->Entries[2].substr(0, 30), "filler 0 [(71, [1, 2, 3, 4, 5,");
    EXPECT_EQ(std::vector<std::string>(dump->Entries.begin() + 3, dump->Entries.end()), expected);

    // The root names each leaf, in chain order, by its last word.
    ASSERT_EQ(dump->IndexEntries.size(), dump->Leaves.size());
    for (size_t i = 0; i < dump->Leaves.size(); ++i) {
        EXPECT_EQ(dump->IndexEntries[i].first, dump->Leaves[i].second);
        EXPECT_EQ(dump->IndexEntries[i].second, dump->Leaves[i].first);
    }
}

TEST(FullTextIndex, FindsEveryWordThroughSeveralIndexLevels) {
    struct Case {
        unsigned Pages;
        unsigned Filler;  // letters after the number: long words make more nodes
        unsigned Depth;
    };
    for (const Case& c : {Case{500, 7, 3}, Case{500, 90, 4}}) {
        FullTextIndex index(0x409, 1252);
        std::vector<std::string> words;
        for (unsigned page = 0; page < c.Pages; ++page) {
            std::vector<std::string> body;
            for (unsigned i = 0; i < 100; ++i)
                body.push_back(std::to_string(1000000 + (page * 100 + i) * 7919 % 1000003) +
                               std::string(c.Filler, 'k'));
            index.AddPage(page, Page({body[0], body[1]}, body));
            words.insert(words.end(), body.begin(), body.end());
        }
        std::string file = index.Build();
        EXPECT_EQ(Le(file, 0x18, 2), c.Depth);
        EXPECT_EQ(Le(file, 0x08, 4), Le(file, 0x14, 4));
        for (bool asPython3Chm : {false, true}) {
            for (const std::string& word : words)
                ASSERT_EQ(LookUp(file, word, asPython3Chm), 1u) << word << " " << asPython3Chm;
            EXPECT_FALSE(LookUp(file, "0", asPython3Chm).has_value());
            EXPECT_FALSE(LookUp(file, "zzz", asPython3Chm).has_value());
        }
    }
}

TEST(FullTextIndex, RefusesPagesOutOfTopicOrder) {
    FullTextIndex index(0x409, 1252);
    index.AddPage(3, Page({}, {"a"}));
    EXPECT_THROW(index.AddPage(3, Page({}, {"b"})), ELeafsmithError);
    EXPECT_THROW(index.AddPage(1, Page({}, {"b"})), ELeafsmithError);
    EXPECT_EQ(index.PageCount(), 1u);
}

}  // namespace
}  // namespace leafsmith::chm
