#include "output/ebook_writer.h"

#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "output/faq_writer.h"
#include "output/website_writer.h"
#include "text/all_text.h"
#include "text/text_utils.h"

namespace leafsmith {

void TEBookSettings::BuildLists() {
    const int32_t style = Options->TitleListStyle_Ebook;
    TitleList.clear();
    JumpMenu =
        "<select name=\"menu1\" class=\"jumpmenu\" "
        "onChange=\"window.location=this.options[this.selectedIndex].value;\">\r\n";
    for (const TBlock& topic : Text->Topics) {
        TitleList += TitleListEntry(topic, style, topic.FileName);
        const std::string target = topic.IsPage ? topic.FileName : "#";
        const std::string mark = Options->ApplyToJumpMenu_Ebook ? TitleMark(topic, style) : std::string();
        JumpMenu +=
            "<option value=\"" + target + "\">" + TitleIndent(topic) + mark + " " + topic.Title() + "</option>\r\n";
    }
    JumpMenu += "</select>";
}

std::string TEBookSettings::ReplacePagePlaceholders(const std::string& page, int32_t topicIndex) {
    std::string result = ReplaceAll(page, "($INDEXPAGE$)", IndexPage);
    // The menu with this page's entry selected is made only for a page that shows it.
    if (result.find("($JUMPMENULIST$)") != std::string::npos) {
        const std::string value = "\"" + Text->Topic(topicIndex).FileName + "\"";
        ReplaceAllInPlace(result, "($JUMPMENULIST$)", ReplaceAll(JumpMenu, value, value + " selected"));
    }
    return result;
}

std::string TEBookSettings::ReplaceFormatPlaceholders(const std::string& text) {
    std::string result = ReplaceAll(text, "($TITLELIST$)", TitleList);
    // The jump menu with no entry selected, as the text of a script string, in any template: one
    // shared script can give every page its menu.
    if (result.find("($JUMPMENUSCRIPT$)") != std::string::npos)
        ReplaceAllInPlace(result, "($JUMPMENUSCRIPT$)", ScriptString(JumpMenu));
    return result;
}

void TEBookSettings::CheckSettings() {
    CheckTemplateFormat(Options->OutputChmProject_Ebook, Options->CHMFileName_Ebook, Options->CompileChm_Ebook);
}

void TEBookSettings::Make() {
    const TTemplate& templ = PrepareTemplate();
    IndexPage = !templ.Default.empty()
                    ? templ.Default
                    : (DefaultTopicIndex >= 0 ? Text->Topic(DefaultTopicIndex).FileName : std::string());
    DeleteOldFiles("Cannot deleted the old files when created E-book format. The old files might be used, continue?");
    CreateFolders(HtmlFolder());
    const std::string contentTemplate = ReadContentTemplate(templ);
    BuildLists();
    WritePages(contentTemplate);
    WriteOtherTemplates(templ.OtherTemplates);
    DoInfo(this, "Copying files...");
    CopyTemplateFiles(templ.CopyFiles);
    CopyResources(HtmlFolder());
    if (Options->OutputChmProject_Ebook) {
        MakeHelpProject(Options->CHMFileName_Ebook, "html\\" + IndexPage, Options->CompileChm_Ebook,
                        "Create Chm Project...");
    }
}

}  // namespace leafsmith
