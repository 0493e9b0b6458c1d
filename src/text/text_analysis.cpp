#include "text/text_analysis.h"

#include "core/project_option.h"
#include "core/strings.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

constexpr std::string_view PlaceholderStart = "[$$SPECIALBLOCK";
constexpr std::string_view PlaceholderEnd = "$$]";

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Three or more characters, all equal to the first.
bool IsRuleLine(std::string_view line) {
    if (line.size() < 3)
        return false;
    for (char c : line) {
        if (c != line[0])
            return false;
    }
    return true;
}

std::string JoinWithCrLf(const StringList& lines) {
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// "[BS]" in any letter case stands for one blank in the detector lists.
StringList WithBlanks(const StringList& entries) {
    StringList result;
    result.reserve(entries.size());
    for (const std::string& entry : entries)
        result.push_back(ReplaceAllNoCase(entry, "[BS]", " "));
    return result;
}

// Cuts every stretch from `open` to the closing tag that `findEnd` finds (the position of that
// tag, or npos) out of `text`, and writes what `store` returns for the content in its place. An
// opening tag without its end stays, with everything after it.
template <class FindEnd, class Store>
void CutTaggedStretches(std::string& text, std::string_view open, std::string_view close, FindEnd findEnd,
                        Store store) {
    if (text.find(open) == std::string::npos)
        return;
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t start = text.find(open, pos);
        if (start == std::string::npos)
            break;
        size_t end = findEnd(start + open.size());
        if (end == std::string::npos)
            break;
        result.append(text, pos, start - pos);
        result += store(std::string_view(text).substr(start + open.size(), end - start - open.size()));
        pos = end + close.size();
    }
    result.append(text, pos);
    text = std::move(result);
}

}  // namespace

const TProjectOption& TTextAnalysis::Settings() const {
    static const TProjectOption defaults;
    return Options ? *Options : defaults;
}

enum class FrameKind { Lines, Bullets, Numbers, Expandable };

// One level of the line pass: a run of lines at a depth, a list, or an expandable block. The pass
// keeps these on a stack of its own, so nesting depth is limited by memory, not by the call stack.
struct TTextAnalysis::LineFrame {
    FrameKind Kind;
    int32_t Depth;
    bool AfterBlock = true;        // lines: the last thing written was a block, or nothing
    bool AnyItem = false;          // lists: an item was written
    bool SkippedBlank = false;     // lists: blank lines were passed over since Resume
    size_t Resume = 0;             // lists: where the list ends when no further item follows the blanks
    bool ContentTaken = false;     // expandable blocks: the first content line was written
    size_t ChildStart = SIZE_MAX;  // where the nested line run last started
};

void TTextAnalysis::SetSigns(const std::string& arrow, const std::string& bullet, const std::string& numbering,
                             const std::string& joinLines) {
    ArrowSign = arrow;
    BulletSign = bullet;
    NumberingSign = numbering;
    JoinLinesSign = joinLines;
    ArrowSignLength = static_cast<int32_t>(arrow.size());
    BulletSignLength = static_cast<int32_t>(bullet.size());
    NumberingSignLength = static_cast<int32_t>(numbering.size());
    JoinLinesSignLength = static_cast<int32_t>(joinLines.size());
}

void TTextAnalysis::LoadSigns() {
    const TProjectOption& options = Settings();
    SetSigns(options.ArrowSign, options.BulletSign, options.NumberingSign, options.JoinLinesSign);
}

void TTextAnalysis::CopySettingsFrom(const TTextAnalysis& other) {
    AllText = other.AllText;
    OutputKind = other.OutputKind;
    Options = other.Options;
    ResourcePrefix = other.ResourcePrefix;
    SetSigns(other.ArrowSign, other.BulletSign, other.NumberingSign, other.JoinLinesSign);
    Questions = other.Questions;
    titleIndex_ = other.titleIndex_;
    titleIndexOf_ = other.titleIndexOf_;
}

std::string TTextAnalysis::Convert() {
    const TProjectOption& options = Settings();
    // An empty resource folder means the resources lie beside the pages: no prefix at all.
    std::string dest = options.DestFolder;
    if (!dest.empty() && dest.back() != '\\' && dest.back() != '/')
        dest += '\\';
    ResourcePrefix = ReplaceAll(dest, "\\", "/");

    Output.clear();
    SpecialBlocks.clear();
    DropLeadingBlankLines(InputLines);

    if (!options.EnableTextAnalysis) {
        std::string text = JoinWithCrLf(InputLines);
        if (options.HtmlEncode)
            text = EncodeHtml(text);
        Output = ReplaceAll(text, "\r\n", "<BR>") + "\r\n";
        return Output;
    }

    detectors_.NotSubheadingEnds = WithBlanks(options.NotSubheadingEnds);
    detectors_.IllustrativeEnds = WithBlanks(options.IllustrativeEnds);
    detectors_.TermsEnds = WithBlanks(options.TermsEnds);
    detectors_.ReminderStarts = WithBlanks(options.ReminderStarts);

    std::string text = JoinWithCrLf(InputLines);
    InputLines.clear();
    ReplaceAllInPlace(text, "[TEXT]\r\n", "[TEXT]");
    ReplaceAllInPlace(text, "\r\n[/TEXT]", "[/TEXT]");
    ExtractSpecialBlocks(text, "[HTML]", "[/HTML]", 'H');
    ExtractBlocks(text);
    ExtractSpecialBlocks(text, "[BACK]", "[/BACK]", 'K');
    ExtractSpecialBlocks(text, "[TABLE]", "[/TABLE]", 'T');
    ExtractSpecialBlocks(text, "[TEXT]", "[/TEXT]", 'X');
    InputLines = SplitLines(text);
    text = std::string();

    ConvertLines();

    ReplaceAllInPlace(Output, "<br>\r\n[$$SPECIALBLOCK", "[$$SPECIALBLOCK");
    ReplaceAllInPlace(Output, "$$]\r\n<br>", "$$]");
    if (!SpecialBlocks.empty())
        Output = RestoreSpecialBlocks(Output);
    return Output;
}

std::string TTextAnalysis::Placeholder(size_t localNumber) const {
    return std::string(PlaceholderStart) + std::to_string(firstBlockNumber_ + localNumber) +
           std::string(PlaceholderEnd);
}

void TTextAnalysis::ExtractSpecialBlocks(std::string& text, std::string_view open, std::string_view close, char kind) {
    auto findEnd = [&](size_t from) { return text.find(close, from); };
    CutTaggedStretches(text, open, close, findEnd, [&](std::string_view content) {
        switch (kind) {
            case 'H':
                SpecialBlocks.emplace_back(content);
                break;
            case 'X':
                SpecialBlocks.push_back("<PRE>" + std::string(content) + "</PRE>");
                break;
            case 'T':
                SpecialBlocks.push_back(SimpleTable(content));
                break;
            default:
                SpecialBlocks.push_back(BackBlock(content));
                break;
        }
        return Placeholder(SpecialBlocks.size() - 1);
    });
}

void TTextAnalysis::ExtractBlocks(std::string& text) {
    constexpr std::string_view open = "[BLOCK]";
    constexpr std::string_view close = "[/BLOCK]";
    // Balanced: inner pairs are skipped, so the stored block is the outermost pair. The next
    // opening and closing tags are looked up only once the scan has passed them, so the search
    // stays linear.
    auto findEnd = [&](size_t scan) {
        size_t nextOpen = text.find(open, scan);
        size_t nextClose = text.find(close, scan);
        for (size_t depth = 1; nextClose != std::string::npos;) {
            if (nextOpen != std::string::npos && nextOpen < nextClose) {
                ++depth;
                nextOpen = text.find(open, nextOpen + open.size());
                continue;
            }
            if (--depth == 0)
                return nextClose;
            scan = nextClose + close.size();
            nextClose = text.find(close, scan);
            if (nextOpen != std::string::npos && nextOpen < scan)
                nextOpen = text.find(open, scan);
        }
        return std::string::npos;
    };
    CutTaggedStretches(text, open, close, findEnd, [&](std::string_view content) {
        SpecialBlocks.push_back(ConvertNested(content));
        return Placeholder(SpecialBlocks.size() - 1);
    });
}

std::string TTextAnalysis::ConvertNested(std::string_view content) {
    if (nestingLevel_ + 1 > MaxBlockNesting) {
        throw EMarkupError("\"[BLOCK]\" pairs are nested more than " + std::to_string(MaxBlockNesting) +
                           " deep; nest them less deeply.");
    }
    TTextAnalysis nested;
    nested.CopySettingsFrom(*this);
    nested.nestingLevel_ = nestingLevel_ + 1;
    // The content may hold placeholders of blocks stored here before (an "[HTML]" inside the
    // "[BLOCK]"); the nested converter numbers its own blocks after them so it never takes those
    // for its own.
    nested.firstBlockNumber_ = firstBlockNumber_ + SpecialBlocks.size();
    nested.InputLines = SplitLines(content);
    if (!nested.InputLines.empty() && TrimView(nested.InputLines.front()).empty()) {
        nested.InputLines.erase(nested.InputLines.begin());
    }
    return nested.Convert();
}

std::string TTextAnalysis::BackBlock(std::string_view content) {
    return "<div class=\"BackBlock\">" + ConvertNested(content) + "</div>";
}

std::string TTextAnalysis::RestoreSpecialBlocks(const std::string& text) {
    const size_t count = SpecialBlocks.size();
    if (count == 0)
        return text;
    // Blocks go back from the last number down to 0, each into everything written so far: so a
    // block's HTML gets the blocks of lower numbers, and the text gets them all. One pass each.
    std::vector<std::string> finals(count);
    auto expand = [&](const std::string& source, size_t limit) {
        std::string result;
        result.reserve(source.size());
        size_t pos = 0;
        while (true) {
            size_t start = source.find(PlaceholderStart, pos);
            if (start == std::string::npos)
                break;
            size_t digits = start + PlaceholderStart.size();
            size_t digitsEnd = digits;
            while (digitsEnd < source.size() && digitsEnd - digits < 19 && source[digitsEnd] >= '0' &&
                   source[digitsEnd] <= '9') {
                ++digitsEnd;
            }
            bool ours = false;
            size_t local = 0;
            if (digitsEnd > digits && source.compare(digitsEnd, PlaceholderEnd.size(), PlaceholderEnd) == 0) {
                size_t number = std::stoull(source.substr(digits, digitsEnd - digits));
                ours = number >= firstBlockNumber_ && number - firstBlockNumber_ < limit;
                local = number - firstBlockNumber_;
            }
            if (ours) {
                result.append(source, pos, start - pos);
                result += finals[local];
                pos = digitsEnd + PlaceholderEnd.size();
            } else {
                result.append(source, pos, digits - pos);
                pos = digits;
            }
        }
        result.append(source, pos);
        return result;
    };
    for (size_t i = 0; i < count; ++i)
        finals[i] = expand(InlineTags(SpecialBlocks[i], false), i);
    return expand(text, count);
}

bool TTextAnalysis::StartsWithDepthPrefix(std::string_view line, int32_t depth) const {
    const size_t size = JoinLinesSign.size();
    if (size == 0 || depth == 0)
        return true;
    const size_t length = size * static_cast<size_t>(depth);
    if (line.size() < length || line.compare(0, size, JoinLinesSign) != 0)
        return false;
    // The sign repeated: the prefix equals itself shifted by one sign.
    return line.compare(size, length - size, line.substr(0, length - size)) == 0;
}

void TTextAnalysis::EmitTextLine(LineFrame& frame, const std::string& html) {
    if (!Output.empty() && !frame.AfterBlock)
        Output += "<br>";
    Output += html;
    Output += "\r\n";
    frame.AfterBlock = false;
}

void TTextAnalysis::ConvertLines() {
    lineIndex_ = 0;
    std::vector<LineFrame> stack;
    stack.push_back(LineFrame{FrameKind::Lines, 0});
    while (!stack.empty()) {
        LineFrame& frame = stack.back();
        bool done;
        switch (frame.Kind) {
            case FrameKind::Lines:
                done = LineStep(frame, stack);
                break;
            case FrameKind::Expandable:
                done = ExpandableStep(frame, stack);
                break;
            default:
                done = ListStep(frame, stack);
                break;
        }
        if (done)
            stack.pop_back();
    }
}

// Runs lines at the frame's depth until a line lacks the depth prefix. Returns false after
// pushing a list or expandable block; the frame then goes on where that one stopped.
bool TTextAnalysis::LineStep(LineFrame& frame, std::vector<LineFrame>& stack) {
    const TProjectOption& options = Settings();
    while (lineIndex_ < InputLines.size()) {
        std::string_view line = TrimView(InputLines[lineIndex_]);
        if (!line.empty() && line.front() == '`') {
            EmitTextLine(frame, InlineTags(line.substr(1), true));
            ++lineIndex_;
            continue;
        }
        if (!StartsWithDepthPrefix(line, frame.Depth))
            return true;
        line.remove_prefix(JoinLinesSign.size() * static_cast<size_t>(frame.Depth));
        if (line.empty()) {
            if (!frame.AfterBlock)
                Output += "<br>";
            frame.AfterBlock = false;
            ++lineIndex_;
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            EmitTextLine(frame, InlineTags(line, true));
            ++lineIndex_;
            continue;
        }
        if (options.HorizontalLines && IsRuleLine(line)) {
            Output += "<hr>\r\n";
            frame.AfterBlock = false;
            ++lineIndex_;
            continue;
        }
        const int32_t depth = frame.Depth;
        if (options.ExpandableBlocks && StartsWith(line, ArrowSign)) {
            frame.AfterBlock = true;
            StartExpandableBlock(line);
            stack.push_back(LineFrame{FrameKind::Expandable, depth});
            return false;
        }
        if ((options.Bullets && StartsWith(line, BulletSign)) ||
            (options.Numbering && StartsWith(line, NumberingSign))) {
            const bool numbered = !(options.Bullets && StartsWith(line, BulletSign));
            frame.AfterBlock = true;
            Output += numbered ? "<ol>" : "<ul>";
            LineFrame list{numbered ? FrameKind::Numbers : FrameKind::Bullets, depth};
            list.Resume = lineIndex_;
            stack.push_back(list);
            return false;
        }
        EmitTextLine(frame, AnalysedLine(line));
        ++lineIndex_;
    }
    return true;
}

bool TTextAnalysis::ListStep(LineFrame& frame, std::vector<LineFrame>& stack) {
    const TProjectOption& options = Settings();
    const std::string& sign = frame.Kind == FrameKind::Numbers ? NumberingSign : BulletSign;
    const bool childMadeNoProgress = frame.ChildStart == lineIndex_;
    frame.ChildStart = SIZE_MAX;
    while (lineIndex_ < InputLines.size() && !childMadeNoProgress) {
        if (!frame.SkippedBlank)
            frame.Resume = lineIndex_;
        std::string_view line = TrimView(InputLines[lineIndex_]);
        if (!StartsWithDepthPrefix(line, frame.Depth))
            break;
        line.remove_prefix(JoinLinesSign.size() * static_cast<size_t>(frame.Depth));
        if (line.empty()) {
            // Blank lines do not end a list; but when no item follows them, they belong to the
            // text after the list.
            frame.SkippedBlank = true;
            ++lineIndex_;
            continue;
        }
        if (!StartsWith(line, sign)) {
            if (!StartsWith(line, JoinLinesSign))
                break;
            frame.SkippedBlank = false;
            Output += "<br>";
            frame.ChildStart = lineIndex_;
            stack.push_back(LineFrame{FrameKind::Lines, frame.Depth + 1});
            return false;
        }
        frame.SkippedBlank = false;
        line.remove_prefix(sign.size());
        bool termTest = true;
        if (!line.empty() && line.front() == '`') {
            line.remove_prefix(1);
            termTest = false;
        }
        if (frame.AnyItem)
            Output += "</li>\r\n";
        size_t termPosition = 0;
        std::string item = termTest && options.Terms && IsTerm(line, termPosition) ? TermMarkup(line, termPosition)
                                                                                   : InlineTags(line, true);
        Output += "<li>";
        Output += item;
        frame.AnyItem = true;
        ++lineIndex_;
    }
    if (frame.SkippedBlank)
        lineIndex_ = frame.Resume;
    if (frame.AnyItem)
        Output += "</li>\r\n";
    Output += frame.Kind == FrameKind::Numbers ? "</ol>" : "</ul>";
    return true;
}

// `line` comes without its depth prefix.
void TTextAnalysis::StartExpandableBlock(std::string_view line) {
    const TProjectOption& options = Settings();
    const bool open = options.MinusIsDefault && OutputKind == KindSingleHtml;
    Output +=
        "<div class=\"ExpandableBlock\"><p><a class=\"ExpandableBlockLink\" href=\"#\" "
        "onclick=\"return ExpandCollapsibleBlockClick(this);\"><img src=\"icons/";
    Output += open ? "cminus.gif" : "cplus.gif";
    Output += "\" border=\"0\" align=\"absmiddle\"><b>";
    Output += line.substr(ArrowSign.size());
    Output += "</b></a></p><div style=\"display:";
    Output += open ? "block" : "none";
    Output += "\">";
    ++lineIndex_;
}

bool TTextAnalysis::ExpandableStep(LineFrame& frame, std::vector<LineFrame>& stack) {
    const bool childMadeNoProgress = frame.ChildStart == lineIndex_;
    frame.ChildStart = SIZE_MAX;
    while (lineIndex_ < InputLines.size() && !childMadeNoProgress) {
        std::string_view line = TrimView(InputLines[lineIndex_]);
        if (!StartsWithDepthPrefix(line, frame.Depth))
            break;
        line.remove_prefix(JoinLinesSign.size() * static_cast<size_t>(frame.Depth));
        if (StartsWith(line, BulletSign) || StartsWith(line, NumberingSign) || StartsWith(line, ArrowSign))
            break;
        if (!frame.ContentTaken) {
            Output += InlineTags(line, true);
            frame.ContentTaken = true;
            ++lineIndex_;
            continue;
        }
        if (!StartsWith(line, JoinLinesSign))
            break;
        Output += "<br>";
        frame.ChildStart = lineIndex_;
        stack.push_back(LineFrame{FrameKind::Lines, frame.Depth + 1});
        return false;
    }
    Output += "</div></div>";
    return true;
}

std::string TTextAnalysis::AnalysedLine(std::string_view line) {
    const TProjectOption& options = Settings();
    if (options.Subheadings && IsSubheading(line)) {
        return "<span class=\"subheading\">" + InlineTags(line, true) + "</span>";
    }
    size_t length = 0;
    if (options.Reminders && IsReminder(line, length)) {
        return "<span class=\"reminder\">" + InlineTags(line.substr(0, length), true) + "</span>" +
               InlineTags(line.substr(length), true);
    }
    if (options.IllustrativeTitles && IsIllustrative(line)) {
        return "<span class=\"IllustrativeTitle\">" + InlineTags(line, true) + "</span>";
    }
    size_t position = 0;
    if (options.Terms && IsTerm(line, position))
        return TermMarkup(line, position);
    return InlineTags(line, true);
}

bool TTextAnalysis::IsSubheading(std::string_view line) const {
    const TProjectOption& options = Settings();
    if (line.empty() || line.size() > static_cast<size_t>(std::max(options.SubheadingMaxLen, 0)))
        return false;
    if (line.front() >= 'a' && line.front() <= 'z')
        return false;
    if (line.find_first_of("<>*/=+|;{}^") != std::string_view::npos)
        return false;
    for (const std::string& end : detectors_.NotSubheadingEnds) {
        if (EndsWith(line, end))
            return false;
    }
    return true;
}

bool TTextAnalysis::IsReminder(std::string_view line, size_t& length) const {
    for (const std::string& start : detectors_.ReminderStarts) {
        if (StartsWithNoCase(line, start)) {
            length = start.size();
            return true;
        }
    }
    return false;
}

bool TTextAnalysis::IsIllustrative(std::string_view line) const {
    const TProjectOption& options = Settings();
    if (line.size() > static_cast<size_t>(std::max(options.IllustrativeTitleMaxLen, 0)))
        return false;
    for (const std::string& end : detectors_.IllustrativeEnds) {
        if (EndsWith(line, end))
            return true;
    }
    return false;
}

bool TTextAnalysis::IsTerm(std::string_view line, size_t& position) const {
    const TProjectOption& options = Settings();
    for (const std::string& end : detectors_.TermsEnds) {
        size_t found = line.find(end);
        if (found == std::string_view::npos)
            continue;
        const size_t fromOne = found + 1;
        if (fromOne < line.size() && fromOne <= static_cast<size_t>(std::max(options.TermsMaxLen, 0))) {
            position = found;
            return true;
        }
    }
    return false;
}

std::string TTextAnalysis::TermMarkup(std::string_view line, size_t position) {
    return "<span class=\"terms\">" + InlineTags(line.substr(0, position), true) + "</span>" +
           InlineTags(line.substr(position), true);
}

}  // namespace leafsmith
