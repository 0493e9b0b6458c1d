// Fuzz target: topic splitting and the structure pass. The first bytes choose the separating
// options, the rest is split into up to three text files at "\x01" bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/project_option.h"
#include "text/all_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t mode = data[0];
    const uint8_t flags = data[1];
    std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);

    leafsmith::TProjectOption options;
    options.FileExtension = ".htm";
    options.CounterStart = 1;
    options.CounterLength = flags >> 5;
    leafsmith::TAllText text;
    text.Options = &options;
    text.SeparateMode = 1 + mode % 4;
    text.UseLevelSigns = flags & 1;
    text.NumOfSigns = flags & 2;
    text.FileNameTitle = flags & 4;
    text.AtLeastBlankLines = 1 + ((flags >> 3) & 3);
    text.HeadSign = (flags & 16) ? "**" : "*";
    text.LineSign = "--";
    text.AddOneSign = ">";
    text.MinusOneSign = "<";
    text.BackToRootSign = "|";

    std::vector<leafsmith::TextFileData> files;
    size_t start = 0;
    while (files.size() < 3) {
        size_t split = rest.find('\x01', start);
        files.push_back({"f" + std::to_string(files.size()) + ".txt",
                         rest.substr(start, split == std::string::npos ? split : split - start)});
        if (split == std::string::npos)
            break;
        start = split + 1;
    }
    try {
        text.LoadTexts(files);
    } catch (const leafsmith::ELeafsmithError&) {
        return 0;
    }
    text.BuildStructure();

    // The invariants every later stage relies on.
    if (text.Count() == 0)
        __builtin_trap();
    int32_t page = text.FirstPage;
    int32_t pages = 0;
    for (int32_t i = 0; i < text.Count(); ++i) {
        const leafsmith::TBlock& topic = text.Topic(i);
        if (topic.Index != i || topic.Lines.empty() || topic.Level < 1 || topic.Level > leafsmith::MaxTopicLevel)
            __builtin_trap();
        if (topic.Number.empty())
            __builtin_trap();
        if (topic.IsPage)
            ++pages;
    }
    for (int32_t walked = 1; page != text.LastPage; ++walked) {
        if (walked > pages || !text.Topic(page).IsPage)
            __builtin_trap();
        page = text.Topic(page).NextPage;
    }
    if (text.DefaultTopic < -1 || text.DefaultTopic >= text.Count())
        __builtin_trap();
    (void)text.FillTree();
    return 0;
}
