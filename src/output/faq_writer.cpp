#include "output/faq_writer.h"

#include <algorithm>

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "text/all_text.h"
#include "text/text_stream.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

// The text between the first `begin` and the first `end` marker; empty when either is missing
// or the end stands first.
std::string Between(const std::string& text, const std::string& begin, const std::string& end) {
    size_t start = text.find(begin);
    size_t stop = text.find(end);
    if (start == std::string::npos || stop == std::string::npos)
        return {};
    start += begin.size();
    return stop > start ? text.substr(start, stop - start) : std::string();
}

}  // namespace

std::string TitleIndent(const TBlock& topic) {
    std::string indent;
    for (int32_t level = 1; level < topic.Level; ++level)
        indent += "&nbsp;&nbsp;&nbsp;&nbsp;";
    return indent;
}

std::string TitleMark(const TBlock& topic, int32_t style) {
    if (style == 1)
        return "&#8226;";
    if (style == 2)
        return topic.Number;
    return {};
}

std::string TitleListEntry(const TBlock& topic, int32_t style, const std::string& target) {
    // Each entry is a block indented by its level; a title that wraps keeps to the right of its mark.
    const int32_t level = std::clamp(topic.Level, 1, 32);
    std::string entry = "<div class=\"titleentry level" + std::to_string(level) +
                        "\" style=\"padding-left:" + std::to_string(2 * level - 1) + ".5em;text-indent:-1.5em\">" +
                        TitleMark(topic, style) + " &nbsp;";
    if (topic.IsPage)
        return entry + "<A HREF=\"" + target + "\">" + topic.Title() + "</A></div>";
    return entry + topic.Title() + "</div>";
}

void TFAQSettings::RenderFaqPage(const std::string& contentTemplate, TextSink& out) {
    const std::string linkTemplate = Between(contentTemplate, "<!--LISTBEGIN-->", "<!--LISTEND-->");
    const std::string topicTemplate = Between(contentTemplate, "<!--TopicTemplateBegin-->", "<!--TopicTemplateEnd-->");
    std::string page =
        ReplaceAll(contentTemplate, "<!--LISTBEGIN-->" + linkTemplate + "<!--LISTEND-->", "[##FAQTITLELIST##]");
    page = ReplaceAll(page, "<!--TopicTemplateBegin-->" + topicTemplate + "<!--TopicTemplateEnd-->",
                      "[##AllTITLECONTENT##]");

    std::string titleList;
    std::string links;
    for (const TBlock& topic : Text->Topics) {
        titleList += TitleListEntry(topic, Options->TitleListStyle_Faq, "#a" + std::to_string(topic.Index));
        if (topic.IsPage) {
            std::string link = ReplaceAll(linkTemplate, "($FAQLINKTITLE$)", topic.Title());
            links += ReplaceAll(link, "($FAQLINKHREF$)", "#a" + std::to_string(topic.Index));
        }
    }
    page = ReplaceAll(page, "($FAQLINKLIST$)", titleList);
    page = ReplaceAll(page, "[##FAQTITLELIST##]", links);

    // The answers, converted one after another as the page streams out.
    auto putAnswers = [&](TextSink& sink) {
        for (const TBlock& topic : Text->Topics) {
            if (!topic.IsPage)
                continue;
            const std::string anchor = "a" + std::to_string(topic.Index);
            Converter->InputLines = topic.SectionLines(2);
            std::string answer =
                ReplaceAll(topicTemplate, "($FAQTITLE$)", "<a name=\"" + anchor + "\"></a>" + topic.Title());
            std::string content;
            try {
                content = Converter->Convert();
            } catch (const EMarkupError& error) {
                throw EMarkupError("Topic \"" + topic.Title() + "\": " + error.what());
            }
            sink.Put(ReplaceAll(answer, "($FAQCONTENT$)", content));
        }
    };
    PlaceholderList answers = {{"[##AllTITLECONTENT##]", putAnswers}};
    if (CountOccurrences(page, "[##AllTITLECONTENT##]") != 1) {
        // Converted once, and even when the template shows no answers, as always.
        StringSink all;
        putAnswers(all);
        answers = {TextPlaceholder("[##AllTITLECONTENT##]", std::move(all.Text))};
    }
    const PlaceholderList head = HeadScriptPlaceholders();
    PrepareSharedTexts();
    const PlaceholderList common = CommonPlaceholders();
    ReplacePlaceholders(page, {&answers, &head, &common}, out);
}

void TFAQSettings::CheckSettings() {
    CheckTemplateFormat(Options->OutputChmProject_Faq, Options->CHMFileName_Faq, Options->CompileChm_Faq);
}

void TFAQSettings::Make() {
    const TTemplate& templ = PrepareTemplate();
    DeleteOldFiles("Cannot deleted the old files when created FAQ format. The old files might be used, continue?");
    CreateFolders(HtmlFolder());
    {
        const std::string contentTemplate = ReadContentTemplate(templ);
        std::string buffer;
        TextFileSink page(HtmlFolder() + "faq.htm", buffer);
        RenderFaqPage(contentTemplate, page);
    }
    WriteOtherTemplates(templ.OtherTemplates);
    DoInfo(this, "Copying files...");
    CopyTemplateFiles(templ.CopyFiles);
    CopyResources(HtmlFolder());
    if (Options->OutputChmProject_Faq) {
        MakeHelpProject(Options->CHMFileName_Faq, "html\\faq.htm", Options->CompileChm_Faq, "Creating Chm Project...");
    }
}

}  // namespace leafsmith
