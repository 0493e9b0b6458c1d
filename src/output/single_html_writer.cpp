#include "output/single_html_writer.h"

#include <algorithm>

#include "core/errors.h"
#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "text/all_text.h"
#include "text/text_utils.h"

namespace leafsmith {

std::string TSingleHTMLSettings::AllContent(const TAllText& text) {
    std::string content;
    for (const TBlock& topic : text.Topics) {
        const std::string heading = std::to_string(std::min(topic.Level, 6));
        Converter->InputLines = topic.SectionLines(2);
        content += "<A name=\"a" + std::to_string(topic.Index) + "\"></A><H" + heading + ">" + topic.Number + " " +
                   topic.Title() + "</H" + heading + "></P>";
        if (!topic.IsPage)
            continue;
        try {
            content += "<P>" + Converter->Convert() + "<P>";
        } catch (const EMarkupError& error) {
            throw EMarkupError("Topic \"" + topic.Title() + "\": " + error.what());
        }
    }
    return content;
}

void TSingleHTMLSettings::CheckSettings() {
    ProgramFile("singlehtml.htm");
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
    std::string page = InsertGenerator(ReadTextFile(ProgramFile("singlehtml.htm")));
    DeleteOldFiles(
        "Cannot deleted the old files when created Single HTML format. The old files might be used, continue?");
    CreateFolders(FormatFolder);
    const std::string path = PagePath();
    page = ReplaceAll(page, "($PROJECTTITLE$)", ProjectTitle);
    page = ReplaceAll(page, "($CHARSET$)", Charset);
    page = ReplaceAll(page, "($ALLCONTENT$)", AllContent(text));
    page = InsertHeadScript(page);
    WriteTextFile(path, page);
    CopyResources(FormatFolder);
}

}  // namespace leafsmith
