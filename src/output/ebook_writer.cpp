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

void TEBookSettings::PrepareSharedTexts() {
    if (!sharedTitleList_ || sharedTitleList_->Text() != TitleList)
        sharedTitleList_ = std::make_shared<SharedText>(TitleList);
    if (!sharedJumpMenu_ || sharedJumpMenu_->Text() != JumpMenu) {
        sharedJumpMenu_ = std::make_shared<SharedText>(JumpMenu);
        sharedJumpMenuScript_ = std::make_shared<SharedText>(ScriptString(JumpMenu));
    }
}

PlaceholderList TEBookSettings::PagePlaceholders(int32_t topicIndex) {
    // The page's own entry of the menu is marked as the menu streams into the page, and only when
    // the page shows the menu.
    auto menu = [menu = sharedJumpMenu_, value = "\"" + Text->Topic(topicIndex).FileName + "\""](TextSink& out) {
        PutMarked(out, *menu, value, " selected");
    };
    return {TextPlaceholder("($INDEXPAGE$)", IndexPage), {"($JUMPMENULIST$)", menu}};
}

PlaceholderList TEBookSettings::FormatPlaceholders() {
    // ($EBOOKJS$): the program's script that fills the jump menu and title list of a page, with
    // the two placeholders below in it. ($JUMPMENUSCRIPT$): the menu with no entry selected, as the
    // text of a script string, in any template; one shared script can give every page its menu.
    return {TextPlaceholder("($EBOOKJS$)", TitleScript), SharedPlaceholder("($TITLELIST$)", sharedTitleList_),
            SharedPlaceholder("($JUMPMENUSCRIPT$)", sharedJumpMenuScript_)};
}

void TEBookSettings::CheckSettings() {
    CheckTemplateFormat(Options->OutputChmProject_Ebook, Options->CHMFileName_Ebook, Options->CompileChm_Ebook);
    ProgramFile("ebookjs.dat");
}

void TEBookSettings::Make() {
    const TTemplate& templ = PrepareTemplate();
    IndexPage = !templ.Default.empty()
                    ? templ.Default
                    : (DefaultTopicIndex >= 0 ? Text->Topic(DefaultTopicIndex).FileName : std::string());
    DeleteOldFiles("Cannot deleted the old files when created E-book format. The old files might be used, continue?");
    CreateFolders(HtmlFolder());
    const std::string contentTemplate = ReadContentTemplate(templ);
    TitleScript = ReadTextFile(ProgramFile("ebookjs.dat"));
    if (TitleScript.size() >= 2 && TitleScript.compare(TitleScript.size() - 2, 2, "\r\n") == 0)
        TitleScript.resize(TitleScript.size() - 2);
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
