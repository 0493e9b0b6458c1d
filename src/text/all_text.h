// The text model: the project's text files split into an ordered tree of topics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/errors.h"

namespace leafsmith {

class TProjectOption;
using StringList = std::vector<std::string>;

// No topic was found in all the text files.
class ENoTopics : public ELeafsmithError {
public:
    ENoTopics() : ELeafsmithError("No topics in the text file(s)!") {}
};

// The hierarchy cannot be built: a jump of more than one level, or nesting deeper than we support.
class EStuctureError : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

// Deeper hierarchies are refused: nothing reads well that deep, and outline numbers, indents and
// contents trees grow with the depth for every topic.
constexpr int32_t MaxTopicLevel = 100;

// One topic. Line 0 of Lines is the title, the lines after it the body.
class TBlock {
public:
    // Lines of section n (1 = title, 2 = body) joined with CR LF, without a trailing CR LF.
    std::string SectionText(int n) const;
    StringList SectionLines(int n) const;
    std::string Title() const { return SectionText(1); }
    std::string Body() const { return SectionText(2); }

    int32_t ContextId = -1;  // from "[ID=n]" in the title line
    std::string AliasName;   // from "[A=name]"
    int32_t Index = 0;
    StringList Lines;
    std::vector<int32_t> SectionLengths{1, 0};  // 0 takes all remaining lines
    int32_t Level = 1;
    bool IsLastSibling = false;
    bool HasChildren = false;
    std::string FileName;
    int32_t PrevPage = 0;
    int32_t NextPage = 0;
    int32_t Icon = -1;  // from "[ICONn]"
    std::string Number;
    bool HasBody = false;
    bool IsPage = false;
};

// A text file's name (used in messages) and its bytes.
struct TextFileData {
    std::string Path;
    std::string Bytes;
};

// One node of the topic tree as the structure preview shows it. Parent is the index of the
// parent node in the list, or -1 for a top node. ImageIndex picks the picture.
struct TopicTreeNode {
    int32_t TopicIndex;
    int32_t Parent;
    int32_t ImageIndex;
    std::string Text;
};

class TAllText {
public:
    TAllText() = default;

    // Copies the separating options of a project (mode, signs, blank lines) and keeps `options`
    // for the page file names and for taking relative text-file paths from the project's folder.
    void AssignSeparatingOptions(const TProjectOption& options);
    // AssignSeparatingOptions, LoadFiles of the project's text files and BuildStructure: the topic
    // tree exactly as a build reads it.
    void ReadProject(const TProjectOption& options);

    // Reads and splits the text files in list order. Raises EFileError (a file that cannot be
    // read), ESettingError (a separating option that cannot work), EStuctureError and ENoTopics.
    // A UTF-8 byte order mark at the start of a file is skipped.
    void LoadFiles(const StringList& paths);
    // The same for texts already in memory.
    void LoadTexts(const std::vector<TextFileData>& files);

    // Numbers the topics, links siblings and children, and chains the pages. Without recursion,
    // so any depth is safe.
    void BuildStructure();

    int32_t Count() const { return static_cast<int32_t>(Topics.size()); }
    const TBlock& Topic(int32_t index) const { return Topics[static_cast<size_t>(index)]; }

    // The tree for the structure preview, one node per topic in topic order: a topic is a child
    // of the most recent topic of a lower level; a topic with none is a top node.
    std::vector<TopicTreeNode> FillTree() const;
    // By topic index: the index of the topic's chapter, or -1 for a top-level topic.
    std::vector<int32_t> Parents() const;
    static int32_t TopicIndexOfNode(const TopicTreeNode& node) { return node.TopicIndex; }

    std::vector<TBlock> Topics;
    const TProjectOption* Options = nullptr;
    std::string HeadSign = "*";
    std::string LineSign = "{Para}";
    int32_t AtLeastBlankLines = 0;
    bool UseLevelSigns = false;
    std::string AddOneSign = "{>}";
    std::string MinusOneSign = "{<}";
    std::string BackToRootSign = "{|<}";
    bool NumOfSigns = true;
    bool FileNameTitle = false;
    int32_t SeparateMode = 1;  // 1 file, 2 blank lines, 3 tag lines, 4 tags in front of titles
    int32_t DefaultTopic = -1;
    int32_t FirstPage = 0;
    int32_t LastPage = 0;

private:
    friend class TopicSplitter;
    void CheckSeparatingOptions() const;
    // Cleans the collected lines and appends them as a topic; lines that are all blank give none.
    void AddTopic(StringList&& lines, int64_t level, const std::string& path, int64_t lineNumber);
    void ParseTitleAttributes(TBlock& topic);
    std::string PageFileName(int32_t index) const;
};

// The counter written with at least `width` digits, zeros in front.
std::string FormatCounter(int64_t value, int32_t width);

}  // namespace leafsmith
