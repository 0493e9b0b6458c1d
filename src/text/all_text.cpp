#include "text/all_text.h"

#include <algorithm>

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"

namespace leafsmith {

namespace {

constexpr size_t MaxFileNameLength = 255;

// Cuts the run of whole `sign` copies from the front of `line` and counts them.
int64_t CountHeadSigns(std::string_view& line, std::string_view sign) {
    int64_t count = 0;
    while (!sign.empty() && line.substr(0, sign.size()) == sign) {
        line.remove_prefix(sign.size());
        ++count;
    }
    return count;
}

std::string FileNameWithoutExtension(const std::string& path) {
    std::string name = FileNameOf(path);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return name;
    return name.substr(0, dot);
}

// Finds "open...]" in `title`; when the text between is a whole number, stores it, removes the
// tag and returns true.
bool TakeNumberAttribute(std::string& title, std::string_view open, int32_t& target) {
    size_t start = title.find(open);
    if (start == std::string::npos)
        return false;
    size_t close = title.find(']', start + open.size());
    if (close == std::string::npos)
        return false;
    std::optional<int32_t> value =
        ParseInt32(std::string_view(title).substr(start + open.size(), close - start - open.size()), true);
    if (!value)
        return false;
    target = *value;
    title.erase(start, close + 1 - start);
    return true;
}

// The picture of a tree node: the topic's icon number less one, else the given picture.
int32_t TreeImage(int32_t icon, int32_t otherwise) {
    return icon >= 1 ? icon - 1 : otherwise;
}

}  // namespace

std::string FormatCounter(int64_t value, int32_t width) {
    std::string digits = std::to_string(value);
    if (width > 0 && digits.size() < static_cast<size_t>(width))
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

std::string TBlock::SectionText(int n) const {
    StringList lines = SectionLines(n);
    std::string text;
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

StringList TBlock::SectionLines(int n) const {
    size_t start = 0;
    for (int section = 1; section < n; ++section) {
        if (section > static_cast<int>(SectionLengths.size()))
            return {};
        int32_t length = SectionLengths[static_cast<size_t>(section - 1)];
        if (length <= 0)
            return {};  // that section took all remaining lines
        start += static_cast<size_t>(length);
    }
    if (n < 1 || n > static_cast<int>(SectionLengths.size()) || start >= Lines.size())
        return {};
    int32_t length = SectionLengths[static_cast<size_t>(n - 1)];
    size_t end = length <= 0 ? Lines.size() : std::min(Lines.size(), start + static_cast<size_t>(length));
    return StringList(Lines.begin() + static_cast<std::ptrdiff_t>(start),
                      Lines.begin() + static_cast<std::ptrdiff_t>(end));
}

void TAllText::ReadProject(const TProjectOption& options) {
    AssignSeparatingOptions(options);
    LoadFiles(options.FileList);
    BuildStructure();
}

void TAllText::AssignSeparatingOptions(const TProjectOption& options) {
    Options = &options;
    if (options.SplitOneTopicPerFile) {
        SeparateMode = 1;
    } else if (options.SplitByBlankLines) {
        SeparateMode = 2;
    } else if (options.SplitByTagLines) {
        SeparateMode = 3;
    } else if (options.SplitByTitleTags) {
        SeparateMode = 4;
    }
    HeadSign = options.HeadSign;
    LineSign = options.LineSign;
    AtLeastBlankLines = options.AtLeastBlankLines;
    FileNameTitle = options.FileNameTitle;
    UseLevelSigns = options.UseLevelSigns;
    AddOneSign = options.AddOneSign;
    MinusOneSign = options.MinusOneSign;
    BackToRootSign = options.BackToRootSign;
    NumOfSigns = options.NumOfSigns;
}

void TAllText::CheckSeparatingOptions() const {
    if (SeparateMode < 1 || SeparateMode > 4) {
        throw ESettingError("Unknown way of separating topics (" + std::to_string(SeparateMode) + ").");
    }
    if (SeparateMode == 2 && AtLeastBlankLines < 1) {
        throw ESettingError("Topics are separated by blank lines, but the number of blank lines between topics is " +
                            std::to_string(AtLeastBlankLines) + "; it must be at least 1.");
    }
    if (SeparateMode == 4 && HeadSign.empty()) {
        throw ESettingError(
            "Topics begin at title lines marked by a tag in front, but that tag is empty; enter the tag of the title "
            "lines.");
    }
    const std::string prefix = Options ? Options->FileNamePrefix : std::string();
    const std::string extension = Options ? Options->FileExtension : std::string();
    const int32_t width = Options ? Options->CounterLength : 0;
    if (prefix.size() + extension.size() + static_cast<size_t>(std::max(width, 11)) > MaxFileNameLength) {
        throw ESettingError(
            "Page file names would be longer than 255 bytes: shorten the file name prefix, the "
            "extension or the counter length (" +
            std::to_string(width) + ").");
    }
}

std::string TAllText::PageFileName(int32_t index) const {
    if (Options == nullptr)
        return FormatCounter(index, 0);
    return Options->FileNamePrefix +
           FormatCounter(static_cast<int64_t>(index) + Options->CounterStart, Options->CounterLength) +
           Options->FileExtension;
}

void TAllText::AddTopic(StringList&& lines, int64_t level, const std::string& path, int64_t lineNumber) {
    size_t first = 0;
    while (first < lines.size() && lines[first].empty())
        ++first;
    size_t end = lines.size();
    while (end > first && TrimView(lines[end - 1]).empty())
        --end;
    if (first == end)
        return;  // nothing but blank lines: no topic

    level = std::max<int64_t>(level, 1);
    if (level > MaxTopicLevel) {
        throw EStuctureError("More than " + std::to_string(MaxTopicLevel) + " levels nested at:" + path +
                             " Line: " + std::to_string(lineNumber));
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(end), lines.end());
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(first));

    TBlock& topic = Topics.emplace_back();
    topic.Index = static_cast<int32_t>(Topics.size() - 1);
    topic.Lines = std::move(lines);
    topic.Level = static_cast<int32_t>(level);
    topic.FileName = PageFileName(topic.Index);
    ParseTitleAttributes(topic);
    // Trailing blank lines are gone, so any body line left makes the body non-empty.
    topic.HasBody = topic.Lines.size() > 1;
    if (topic.HasBody && DefaultTopic == -1)
        DefaultTopic = topic.Index;
}

void TAllText::ParseTitleAttributes(TBlock& topic) {
    std::string& title = topic.Lines[0];
    if (!TakeNumberAttribute(title, "[ICON", topic.Icon))
        topic.Icon = -1;
    if (!TakeNumberAttribute(title, "[ID=", topic.ContextId))
        topic.ContextId = -1;

    size_t alias = title.find("[A=");
    if (alias != std::string::npos) {
        size_t close = title.find(']', alias + 3);
        if (close != std::string::npos) {
            topic.AliasName = title.substr(alias + 3, close - alias - 3);
            title.erase(alias, close + 1 - alias);
        }
    }
    if (title.find("[DEFAULT]") != std::string::npos) {
        DefaultTopic = topic.Index;
        title = ReplaceAll(title, "[DEFAULT]", "");
    }
    title = Trim(title);
}

// Reads the text files line by line and collects topics according to the separating mode.
class TopicSplitter {
public:
    explicit TopicSplitter(TAllText& text) : text_(text) {}

    void Feed(const std::string& path, std::string_view bytes) {
        BeginBytes(path);
        TakeBytes(bytes);
        EndBytes();
    }

    // A file in blocks: BeginBytes, TakeBytes for each block in order (until it returns false, at
    // the Ctrl+Z that ends a file), EndBytes.
    void BeginBytes(const std::string& path) {
        path_ = &path;
        lineNumber_ = 0;
        atFileStart_ = true;
        carry_.clear();
        BeginFile();
    }

    bool TakeBytes(std::string_view block) {
        if (atFileStart_)
            block = SkipUtf8Bom(block);
        atFileStart_ = false;
        const size_t end = block.find('\x1A');  // Ctrl+Z ends a file
        block = block.substr(0, end);
        size_t start = 0;
        for (size_t lineEnd; (lineEnd = block.find('\n', start)) != std::string_view::npos; start = lineEnd + 1) {
            std::string_view line = block.substr(start, lineEnd - start);
            if (!carry_.empty()) {  // the line began in the block before
                carry_ += line;
                line = carry_;
            }
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            ++lineNumber_;
            Line(line, TrimView(line));
            carry_.clear();
        }
        carry_ += block.substr(start);
        return end == std::string_view::npos;
    }

    void EndBytes() {
        if (!carry_.empty()) {
            ++lineNumber_;
            Line(carry_, TrimView(carry_));
            carry_.clear();
        }
        EndFile();
    }

private:
    // A level tag line changes the current level and belongs to no topic.
    bool CheckLevelTag(std::string_view trimmed) {
        if (text_.UseLevelSigns) {
            if (trimmed == text_.AddOneSign) {
                ++currentLevel_;
            } else if (trimmed == text_.MinusOneSign) {
                --currentLevel_;
            } else if (trimmed == text_.BackToRootSign) {
                currentLevel_ = 1;
            } else {
                return false;
            }
            return true;
        }
        if (trimmed == text_.AddOneSign || trimmed == text_.MinusOneSign || trimmed == text_.BackToRootSign) {
            currentLevel_ = 1;
            return true;
        }
        return false;
    }

    void Check(int64_t lineNumber) {
        CheckOnly(lineNumber);
        pendingLevel_ = currentLevel_;
    }

    // The test of Check without taking the current level. At the end of a file (modes 1 and 3)
    // the pending level stays that of the topic just added, so the next topic is still compared
    // with it: otherwise one tag at the end of a file and one at the start of the next would add
    // two levels unnoticed.
    void CheckOnly(int64_t lineNumber) const {
        if (pendingLevel_ + 1 < currentLevel_) {
            throw EStuctureError("More than one level added at:" + *path_ + " Line: " + std::to_string(lineNumber));
        }
    }

    bool atFileStart_ = true;
    std::string carry_;  // the start of a line whose end is in the next block

    void Collect(std::string_view line) {
        if (pending_.empty())
            pendingStartLine_ = lineNumber_;
        pending_.emplace_back(line);
    }

    void FlushTopic() {
        text_.AddTopic(std::move(pending_), pendingLevel_, *path_, pendingStartLine_);
        pending_.clear();
    }

    void BeginFile() {
        seenContent_ = false;
        topicOpen_ = false;
        if (text_.SeparateMode == 1 && text_.FileNameTitle) {
            pending_.push_back(FileNameWithoutExtension(*path_));
            pendingStartLine_ = 1;
        }
    }

    void Line(std::string_view line, std::string_view trimmed) {
        if (CheckLevelTag(trimmed))
            return;
        switch (text_.SeparateMode) {
            case 1:
                OneTopicPerFileLine(line, trimmed);
                break;
            case 2:
                BlankLineSeparatedLine(line, trimmed);
                break;
            case 3:
                TagLineSeparatedLine(line, trimmed);
                break;
            default:
                TitleTagLine(trimmed);
                break;
        }
    }

    void EndFile() {
        switch (text_.SeparateMode) {
            case 1:
                // A file without text (only its name as title) made no check yet: make it now, so
                // level tags in the file place its own topic, as they do in a file with text.
                if (!seenContent_ && !pending_.empty())
                    Check(lineNumber_);
                if (!pending_.empty()) {
                    FlushTopic();
                    CheckOnly(lineNumber_);
                }
                break;
            case 2:
                if (!pending_.empty())
                    FlushTopic();
                break;
            case 3:
                if (!pending_.empty()) {
                    FlushTopic();
                    CheckOnly(lineNumber_);
                }
                break;
            default:
                if (topicOpen_)
                    CloseTitledTopic();
                break;
        }
    }

    void OneTopicPerFileLine(std::string_view line, std::string_view trimmed) {
        if (!seenContent_) {
            if (trimmed.empty())
                return;
            seenContent_ = true;
            Check(lineNumber_);
        }
        Collect(line);
    }

    void BlankLineSeparatedLine(std::string_view line, std::string_view trimmed) {
        bool firstOfLoad = !seenNonTagLine_;
        seenNonTagLine_ = true;
        if (trimmed.empty()) {
            ++blankCount_;
            return;
        }
        if (!seenContent_) {
            seenContent_ = true;
            blankCount_ = 0;  // leading blank lines of a file never separate
        }
        if (blankCount_ >= text_.AtLeastBlankLines) {
            if (!pending_.empty())
                FlushTopic();
            blankCount_ = 0;
        }
        for (; blankCount_ > 0; --blankCount_)
            Collect("");
        Collect(line);
        if (!firstOfLoad)
            Check(lineNumber_);
        blankCount_ = 0;
    }

    void TagLineSeparatedLine(std::string_view line, std::string_view trimmed) {
        if (trimmed == text_.LineSign) {
            // The pending level stays that of the topic just added: the next topic's first line
            // is checked against it, so level tags before a separator count like those after it.
            if (!pending_.empty())
                FlushTopic();
            return;
        }
        if (pending_.empty())
            Check(lineNumber_);
        Collect(line);
    }

    void TitleTagLine(std::string_view trimmed) {
        if (trimmed.substr(0, text_.HeadSign.size()) == text_.HeadSign) {
            if (topicOpen_)
                CloseTitledTopic();
            int64_t count = CountHeadSigns(trimmed, text_.HeadSign);
            if (text_.NumOfSigns)
                pendingLevel_ = count;
            topicOpen_ = true;
        }
        if (topicOpen_)
            Collect(trimmed);
    }

    void CloseTitledTopic() {
        FlushTopic();
        if (!text_.NumOfSigns)
            Check(lineNumber_);
        topicOpen_ = false;
    }

    TAllText& text_;
    const std::string* path_ = nullptr;
    int64_t lineNumber_ = 0;
    int64_t currentLevel_ = 1;
    int64_t pendingLevel_ = 1;
    StringList pending_;
    int64_t pendingStartLine_ = 0;
    bool seenContent_ = false;     // a non-blank line of this file was met (modes 1 and 2)
    bool seenNonTagLine_ = false;  // any line that is not a level tag was met in this load (mode 2)
    int64_t blankCount_ = 0;       // blank lines since the last non-blank line (mode 2)
    bool topicOpen_ = false;       // a title line of this file opened a topic (mode 4)
};

void TAllText::LoadFiles(const StringList& paths) {
    CheckSeparatingOptions();
    TopicSplitter splitter(*this);
    // Read in blocks, so that a large file is never held whole beside its topics.
    constexpr size_t BlockSize = 8 << 20;
    for (const std::string& path : paths) {
        splitter.BeginBytes(path);
        try {
            ReadFileInBlocks(Options ? Options->ResolvePath(path) : path, BlockSize,
                             [&](std::string_view block) { return splitter.TakeBytes(block); });
        } catch (const EFileError& error) {
            throw EFileError("Cannot read the text file \"" + path + "\": " + error.Reason(), error.Reason());
        }
        splitter.EndBytes();
    }
    if (Topics.empty())
        throw ENoTopics();
}

void TAllText::LoadTexts(const std::vector<TextFileData>& files) {
    CheckSeparatingOptions();
    TopicSplitter splitter(*this);
    for (const TextFileData& file : files)
        splitter.Feed(file.Path, file.Bytes);
    if (Topics.empty())
        throw ENoTopics();
}

void TAllText::BuildStructure() {
    struct Open {
        int32_t Level;
        int32_t LastChild;
        int32_t ChildCount;
        std::string ChildPrefix;  // what the children's numbers begin with
    };
    std::vector<Open> open;  // the chain of ancestors of the topic at hand
    int32_t rootCount = 0;
    int32_t lastRoot = -1;
    const size_t count = Topics.size();
    for (size_t i = 0; i < count; ++i) {
        TBlock& topic = Topics[i];
        while (!open.empty() && open.back().Level >= topic.Level)
            open.pop_back();
        int32_t previousSibling;
        std::string childPrefix;
        if (open.empty()) {
            ++rootCount;
            childPrefix = std::to_string(rootCount);
            topic.Number = childPrefix + ".";
            previousSibling = lastRoot;
            lastRoot = topic.Index;
        } else {
            Open& parent = open.back();
            ++parent.ChildCount;
            topic.Number = parent.ChildPrefix + "." + std::to_string(parent.ChildCount);
            childPrefix = topic.Number;
            previousSibling = parent.LastChild;
            parent.LastChild = topic.Index;
        }
        if (previousSibling >= 0)
            Topics[static_cast<size_t>(previousSibling)].IsLastSibling = false;
        topic.IsLastSibling = true;
        topic.HasChildren = i + 1 < count && Topics[i + 1].Level > topic.Level;
        open.push_back(Open{topic.Level, -1, 0, std::move(childPrefix)});
    }

    int32_t previousPage = -1;
    for (TBlock& topic : Topics) {
        topic.IsPage = topic.HasBody || !topic.HasChildren;
        if (!topic.IsPage)
            continue;
        if (previousPage < 0) {
            FirstPage = topic.Index;
        } else {
            topic.PrevPage = previousPage;
            Topics[static_cast<size_t>(previousPage)].NextPage = topic.Index;
        }
        previousPage = topic.Index;
    }
    if (previousPage >= 0)
        LastPage = previousPage;
}

std::vector<int32_t> TAllText::Parents() const {
    std::vector<int32_t> parents(Topics.size(), -1);
    std::vector<int32_t> open;  // the ancestors of the topic at hand, innermost last
    for (const TBlock& topic : Topics) {
        while (!open.empty() && Topics[static_cast<size_t>(open.back())].Level >= topic.Level)
            open.pop_back();
        parents[static_cast<size_t>(topic.Index)] = open.empty() ? -1 : open.back();
        open.push_back(topic.Index);
    }
    return parents;
}

std::vector<TopicTreeNode> TAllText::FillTree() const {
    std::vector<TopicTreeNode> nodes;
    nodes.reserve(Topics.size());
    const std::vector<int32_t> parents = Parents();
    for (const TBlock& topic : Topics) {
        const int32_t parent = parents[static_cast<size_t>(topic.Index)];
        if (parent >= 0) {
            nodes[static_cast<size_t>(parent)].ImageIndex = TreeImage(Topics[static_cast<size_t>(parent)].Icon, 0);
        }
        nodes.push_back(
            TopicTreeNode{topic.Index, parent, TreeImage(topic.Icon, 8), topic.Lines.empty() ? "" : topic.Lines[0]});
    }
    return nodes;
}

}  // namespace leafsmith
