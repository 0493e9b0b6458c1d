// The converter: turns the body lines of one topic into an HTML fragment. Special blocks, lists,
// expandable blocks, rules, analysed lines, and the inline tags of every piece of text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/errors.h"

namespace leafsmith {

class TAllText;
class TProjectOption;
class UserQuestions;
using StringList = std::vector<std::string>;

// Output format codes.
enum OutputKindCode : int32_t { KindChm = 0, KindWebsite = 1, KindEbook = 2, KindFaq = 3, KindSingleHtml = 4 };

// Markup the converter refuses to follow (blocks nested beyond what it handles).
class EMarkupError : public ELeafsmithError {
public:
    using ELeafsmithError::ELeafsmithError;
};

// "[BLOCK]" content is converted by a converter of its own, which may meet "[BLOCK]" again. This
// bounds that nesting, so the input can never exhaust the stack.
constexpr int32_t MaxBlockNesting = 32;

class TTextAnalysis {
public:
    TTextAnalysis() = default;
    virtual ~TTextAnalysis() = default;

    void SetSigns(const std::string& arrow, const std::string& bullet, const std::string& numbering,
                  const std::string& joinLines);
    // SetSigns from the options' arrow, bullet, numbering and join-lines signs.
    void LoadSigns();
    // Takes the topic tree, output kind, options, resource prefix, signs and question interface of
    // `other`, for converting nested content.
    void CopySettingsFrom(const TTextAnalysis& other);

    // The HTML of InputLines. Clears Output and SpecialBlocks first, so one object converts topic
    // after topic. Raises EMarkupError for "[BLOCK]" pairs nested more than MaxBlockNesting deep.
    std::string Convert();

    // The HTML of one piece of text: optionally HTML-encoded (when `encode` and the HtmlEncode
    // option are both set), then every inline tag replaced.
    std::string InlineTags(std::string_view text, bool encode);
    // The HTML table of the content of a "[TABLE]" block.
    std::string SimpleTable(std::string_view content);

    std::string Output;
    int32_t ArrowSignLength = 0;
    int32_t BulletSignLength = 0;
    int32_t NumberingSignLength = 0;
    int32_t JoinLinesSignLength = 0;
    const TAllText* AllText = nullptr;
    int32_t OutputKind = KindChm;
    const TProjectOption* Options = nullptr;
    std::string ResourcePrefix;
    StringList SpecialBlocks;  // the stored HTML of the special blocks of the current Convert
    std::string ArrowSign;
    std::string BulletSign;
    std::string NumberingSign;
    std::string JoinLinesSign;
    StringList InputLines;
    // Where "[INC]" reports a file it cannot read; no notice when unset.
    UserQuestions* Questions = nullptr;
    // "[INC]" reads only files inside the include folder (links resolved), for text from others.
    bool ConfineIncludes = false;

private:
    struct LineFrame;
    // The options, or the defaults of a new project when none are set.
    const TProjectOption& Settings() const;
    enum class PairKind;

    std::string Placeholder(size_t localNumber) const;
    void ExtractSpecialBlocks(std::string& text, std::string_view open, std::string_view close, char kind);
    void ExtractBlocks(std::string& text);
    std::string ConvertNested(std::string_view content);
    std::string BackBlock(std::string_view content);
    std::string RestoreSpecialBlocks(const std::string& text);

    void ConvertLines();
    void EmitTextLine(LineFrame& frame, const std::string& html);
    bool LineStep(LineFrame& frame, std::vector<LineFrame>& stack);
    bool ListStep(LineFrame& frame, std::vector<LineFrame>& stack);
    bool ExpandableStep(LineFrame& frame, std::vector<LineFrame>& stack);
    void StartExpandableBlock(std::string_view line);
    bool StartsWithDepthPrefix(std::string_view line, int32_t depth) const;

    std::string AnalysedLine(std::string_view line);
    bool IsSubheading(std::string_view line) const;
    bool IsReminder(std::string_view line, size_t& length) const;
    bool IsIllustrative(std::string_view line) const;
    bool IsTerm(std::string_view line, size_t& position) const;
    std::string TermMarkup(std::string_view line, size_t position);

    std::string ReplaceTagPairs(std::string_view text, std::string_view open, std::string_view close, PairKind kind);
    std::string PairHtml(PairKind kind, const StringList& args);
    std::string TopicLink(const StringList& args);
    std::string IncludeFile(const std::string& name);
    int32_t FindTopicByTitle(const std::string& title);

    struct DetectorLists {  // the option lists with "[BS]" turned into blanks
        StringList NotSubheadingEnds;
        StringList IllustrativeEnds;
        StringList TermsEnds;
        StringList ReminderStarts;
    };

    DetectorLists detectors_;
    size_t lineIndex_ = 0;
    int32_t nestingLevel_ = 0;     // how deep inside "[BLOCK]"/"[BACK]" content this converter works
    size_t firstBlockNumber_ = 0;  // placeholders of this converter start here (see ConvertNested)
    std::shared_ptr<std::unordered_map<std::string, int32_t>> titleIndex_;
    const TAllText* titleIndexOf_ = nullptr;
};

// The converter class the build uses; it adds nothing.
class TLFXText : public TTextAnalysis {};

}  // namespace leafsmith
