#include "text/text_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/files.h"
#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith {
namespace {

// Puts the text in pieces cut at random, some of them marked as parts of a shared text.
void PutInPieces(TextSink& out, const std::string& text, std::mt19937& random, const SharedText* shared) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = std::min(text.size() - at, size_t{1} + random() % 7);
        out.Put(std::string_view(text).substr(at, length), random() % 2 ? shared : nullptr);
        at += length;
    }
}

TEST(TextStream, ReplacesAsOneReplacementAfterAnotherOverTheWholeText) {
    std::mt19937 random(7);
    const std::string alphabet = "($AB)<HEAD>x";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (size_t i = random() % 40; i > 0; --i)
            text += alphabet[random() % alphabet.size()];
        if (round % 3 == 0)
            text += "($AB$)($A($AB$)</Head>";
        // The second value holds the third placeholder, which must then be replaced too; the
        // first value is a shared text.
        auto shared = std::make_shared<SharedText>("x($AB$)y($A");
        const PlaceholderList placeholders = {SharedPlaceholder("($A", shared),
                                              TextPlaceholder("B)", "[($AB$)]"),
                                              TextPlaceholder("($AB$)", "!"),
                                              {"<head>", [](TextSink& out) { out.Put("<H>"); }, true}};
        std::string expected = ReplaceAll(text, "($A", shared->Text());
        expected = ReplaceAll(expected, "B)", "[($AB$)]");
        expected = ReplaceAll(expected, "($AB$)", "!");
        expected = ReplaceAllNoCase(expected, "<head>", "<H>");

        StringSink out;
        std::vector<std::unique_ptr<ReplacingSink>> stages;
        TextSink* first = &out;
        for (auto placeholder = placeholders.rbegin(); placeholder != placeholders.rend(); ++placeholder) {
            stages.push_back(std::make_unique<ReplacingSink>(*first, *placeholder));
            first = stages.back().get();
        }
        SharedText textAsShared(text);
        PutInPieces(*first, text, random, &textAsShared);
        first->Close();
        ASSERT_EQ(out.Text, expected) << "text: " << text;

        ASSERT_EQ(ReplacePlaceholders(text, {&placeholders}), expected) << "text: " << text;
    }
}

TEST(TextStream, MarksEveryEntryOfASharedText) {
    SharedText menu("<option value=\"1.htm\">a</option><option value=\"1.htm\">\"1.htm\"</option>");
    StringSink out;
    PutMarked(out, menu, "\"1.htm\"", " selected");
    EXPECT_EQ(out.Text, ReplaceAll(menu.Text(), "\"1.htm\"", "\"1.htm\" selected"));
}

TEST(TextStream, WritesTheFileAsWriteTextFileWould) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "text_stream";
    std::filesystem::create_directories(folder);
    std::mt19937 random(3);
    std::string buffer;
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (size_t i = random() % 30; i > 0; --i)
            text += "ab\r\n"[random() % 4];
        if (round == 0)
            text = std::string(700000, 'x') + "\r";
        const std::string expected = (folder / "expected.htm").string();
        const std::string actual = (folder / "actual.htm").string();
        WriteTextFile(expected, text);
        {
            TextFileSink sink(actual, buffer);
            PutInPieces(sink, text, random, nullptr);
            sink.Close();
        }
        ASSERT_EQ(ReadFileBytes(actual), ReadFileBytes(expected)) << "text: " << ShowControlCharacters(text);
    }
    // Without Close (an error on the way) no file is left.
    {
        TextFileSink sink((folder / "unfinished.htm").string(), buffer);
        sink.Put("half a page");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "unfinished.htm"));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace leafsmith
