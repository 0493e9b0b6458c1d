#include "output/single_html_writer.h"

#include <algorithm>

#include "core/errors.h"
#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "text/all_text.h"
#include "text/text_stream.h"
#include "text/text_utils.h"

namespace leafsmith {

namespace {

// What a topic's heading on the page says: its outline number and title.
std::string HeadingText(const TBlock& topic) {
    return topic.Number + " " + topic.Title();
}

}  // namespace

void TSingleHTMLSettings::PutAllContent(const TAllText& text, TextSink& out) {
    for (const TBlock& topic : text.Topics) {
        const std::string heading = std::to_string(std::min(topic.Level, 6));
        out.Put("<A name=\"a" + std::to_string(topic.Index) + "\"></A><H" + heading + ">" + HeadingText(topic) + "</H" +
                heading + "></P>");
        if (!topic.IsPage)
            continue;
        Converter->InputLines = topic.SectionLines(2);
        std::string content;
        try {
            content = Converter->Convert();
        } catch (const EMarkupError& error) {
            throw EMarkupError("Topic \"" + topic.Title() + "\": " + error.what());
        }
        out.Put("<P>");
        out.Put(content);
        out.Put("<P>");
    }
}

std::string TSingleHTMLSettings::TableOfContents(const TAllText& text) {
    std::string list = "<ul class=\"toc\">\r\n";
    for (const TBlock& topic : text.Topics) {
        list += "<li class=\"level" + std::to_string(std::clamp(topic.Level, 1, 6)) + "\"><a href=\"#a" +
                std::to_string(topic.Index) + "\">" + HeadingText(topic) + "</a></li>\r\n";
    }
    return list + "</ul>";
}

std::string TSingleHTMLSettings::PageTemplatePath() const {
    if (!TemplateFolder.empty() && FileExists(TemplateFolder + "singlehtml.htm"))
        return GroupFile("singlehtml.htm", "The single page template");
    return ProgramFile("singlehtml.htm");
}

std::string TSingleHTMLSettings::AllContent(const TAllText& text) {
    StringSink out;
    PutAllContent(text, out);
    return std::move(out.Text);
}

void TSingleHTMLSettings::CheckSettings() {
    PageTemplatePath();
    PagePath();
    CheckResources(FormatFolder);
    CheckIcons();
}

std::string TSingleHTMLSettings::PagePath() const {
    const std::string fileName = Options->SingleHtmlFileName;
    if (TrimView(fileName).empty()) {
        throw ESettingError("The Single HTML format has no file name; enter one in the output settings.");
    }
    return InsideFormatFolder(FormatFolder, fileName, "The Single HTML file name");
}

void TSingleHTMLSettings::Make(const TAllText& text) {
    std::string page = InsertGenerator(ReadTextFile(PageTemplatePath()));
    DeleteOldFiles(
        "Cannot deleted the old files when created Single HTML format. The old files might be used, continue?");
    CreateFolders(FormatFolder);
    const std::string path = PagePath();
    page = ReplaceAll(page, "($PROJECTTITLE$)", ProjectTitle);
    page = ReplaceAll(page, "($CHARSET$)", Charset);
    {
        // The topics are converted one after another as the page streams out; a page that shows
        // them more than once, or not at all, gets them converted once beforehand, as always.
        PlaceholderList content = {{"($ALLCONTENT$)", [this, &text](TextSink& out) { PutAllContent(text, out); }}};
        if (CountOccurrences(page, "($ALLCONTENT$)") != 1)
            content = {TextPlaceholder("($ALLCONTENT$)", AllContent(text))};
        PlaceholderList contents;
        if (page.find("($TABLEOFCONTENTS$)") != std::string::npos)
            contents = {TextPlaceholder("($TABLEOFCONTENTS$)", TableOfContents(text))};
        const PlaceholderList head = HeadScriptPlaceholders();
        std::string buffer;
        TextFileSink file(path, buffer);
        ReplacePlaceholders(page, {&content, &contents, &head}, file);
    }
    CopyResources(FormatFolder);
}

}  // namespace leafsmith
