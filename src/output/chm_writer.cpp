#include "output/chm_writer.h"

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "text/all_text.h"

namespace leafsmith {

int32_t DefaultPageIndex(const TAllText& text) {
    int32_t index = text.DefaultTopic >= 0 ? text.DefaultTopic : text.FirstPage;
    while (index < text.Count() - 1 && !text.Topic(index).IsPage)
        ++index;
    return index;
}

std::string TCHMSettings::ContentsList() {
    AliasLines.clear();
    MapLines.clear();
    std::string list = "<UL>";
    int32_t previous = Text->Count() > 0 ? Text->Topic(0).Level : 1;
    for (const TBlock& topic : Text->Topics) {
        const int32_t level = topic.Level;
        for (int32_t i = level; i < previous; ++i)
            list += "</UL>";
        for (int32_t i = previous; i < level; ++i)
            list += "<UL>";
        list += "<LI><OBJECT type=\"text/sitemap\">\r\n";
        list += "<param name=\"Name\" value=\"" + topic.Title() + "\">\r\n";
        if (topic.IsPage)
            list += "<param name=\"Local\" value=\"html\\" + topic.FileName + "\">\r\n";
        if (topic.Icon != -1)
            list += "<param name=\"ImageNumber\" value=\"" + std::to_string(topic.Icon) + "\">\r\n";
        list += "</OBJECT>\r\n";
        previous = level;
        if (!topic.AliasName.empty()) {
            AliasLines += topic.AliasName + "= html\\" + topic.FileName + "\r\n";
            MapLines += "#define " + topic.AliasName + " " +
                        std::to_string(topic.ContextId >= 0 ? topic.ContextId : topic.Index) + "\r\n";
        } else if (topic.ContextId >= 0) {
            const std::string id = std::to_string(topic.ContextId);
            AliasLines += "IDH_ID_" + id + "= html\\" + topic.FileName + "\r\n";
            MapLines += "#define IDH_ID_" + id + " " + id + "\r\n";
        }
    }
    for (int32_t i = 1; i < previous; ++i)
        list += "</UL>";
    return list + "</UL>";
}

void TCHMSettings::CheckSettings() {
    CheckTemplateFormat(true, Options->CHMFileName, Options->CompileChm);
}

void TCHMSettings::Make() {
    DeleteOldFiles("Cannot deleted the old files when created CHM format. The old files might be used, continue?");
    const TTemplate& templ = PrepareTemplate();
    CreateFolders(HtmlFolder());
    const std::string contentTemplate = ReplaceAll(ReadContentTemplate(templ), "($WEBSITEJS$)", "");
    WritePages(contentTemplate);
    WriteOtherTemplates(templ.OtherTemplates);
    DoInfo(this, "Copying files...");
    CopyTemplateFiles(templ.CopyFiles);
    CopyResources(HtmlFolder());

    MakeHelpProject(Options->CHMFileName, "html\\" + Text->Topic(DefaultPageIndex(*Text)).FileName, Options->CompileChm,
                    "Creating Chm Project...", ContentsList(), AliasLines, MapLines);
}

}  // namespace leafsmith
