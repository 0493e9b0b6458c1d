// TSittings: what the five format writers share. Removing old output, loading the template group,
// rendering a topic page from the content template, the further templates, copying files.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "helpproject/chm_project.h"
#include "output/build_environment.h"
#include "output/lfx_object.h"
#include "templates/template_group.h"
#include "text/text_analysis.h"
#include "text/text_stream.h"

namespace leafsmith {

class TAllText;
class TProjectOption;

// The user refused to go on over old output files that cannot be removed.
class EUsed : public std::exception {
public:
    const char* what() const noexcept override { return "The creation has been canceled."; }
};

// Topic bodies converted by one format and kept for the formats after it that convert them alike
// (CHM, Website and E-book do), with the notices their conversion gave.
struct ConvertedBodies {
    struct Body {
        bool Done = false;
        std::string Html;
        std::vector<std::string> Notices;
    };
    bool Keep = false;         // a later format takes them
    bool Use = false;          // an earlier format made them
    std::vector<Body> Bodies;  // by topic index, filled while Keep
};

class TSittings : public TLfxObject {
public:
    // `formatName` names the format in messages ("CHM", "Website", ...).
    explicit TSittings(std::string formatName);

    // The placeholders only this format knows in a page, replaced after the page's own ones.
    virtual PlaceholderList PagePlaceholders(int32_t topicIndex);
    // The format's placeholders, replaced after ($PROJECTTITLE$) and ($CHARSET$) in pages and
    // further templates.
    virtual PlaceholderList FormatPlaceholders();
    // Makes the shared texts the placeholders put (trees, menus) from the format's current lists,
    // unless they are up to date. Called before pages are rendered on several threads.
    virtual void PrepareSharedTexts() {}
    // ($PROJECTTITLE$), ($CHARSET$) and the format's placeholders, in this order.
    PlaceholderList CommonPlaceholders();
    std::string ReplacePagePlaceholders(const std::string& page, int32_t topicIndex);
    std::string ReplaceFormatPlaceholders(const std::string& text);

    // Removes the old format folder, asking through the environment's questions when that fails:
    // Yes goes on over the old files, Retry tries again, Cancel raises EUsed. Then pauses.
    void DeleteOldFiles(const std::string& message);
    // Loads the template group (inheriting from COMMON) and returns the template in use. Raises
    // ECantFindTemplateIni, or ESettingError for an empty group folder or a template number the
    // group does not have.
    const TTemplate& PrepareTemplate();
    // The content template's text with the generator line.
    std::string ReadContentTemplate(const TTemplate& templ);
    std::string InsertGenerator(const std::string& text) const;
    std::string InsertHeadScript(const std::string& text) const;
    // InsertHeadScript as a placeholder ("</head>" in any case), none when the script is not needed.
    PlaceholderList HeadScriptPlaceholders() const;
    // One page of the topic, its body converted by `converter` (each thread has its own), put into
    // `out`; `common` is CommonPlaceholders().
    void RenderPage(const std::string& contentTemplate, int32_t topicIndex, TLFXText& converter,
                    const PlaceholderList& common, TextSink& out);
    std::string RenderPage(const std::string& contentTemplate, int32_t topicIndex, TLFXText& converter);
    std::string ReplaceCommon(const std::string& text);
    // Renders and writes every page topic into the html folder, sending each file name.
    void WritePages(const std::string& contentTemplate);
    void WriteOtherTemplates(const StringList& entries);
    void CopyTemplateFiles(const StringList& entries);
    // Copies the project's resource folder and the program's icons matching `iconPattern`.
    void CopyResources(const std::string& target, const std::string& iconPattern = "c*.*");
    void Pause();
    // Lets the window handle its events between two steps of some length.
    void ProcessEvents() const;
    // Writes the format's help project with the window options of HelpProject and calls its Make.
    // A help file that was asked for and not written sets Failed.
    void MakeHelpProject(const std::string& compiledBaseName, const std::string& defaultTopic, bool compile,
                         const std::string& infoText, std::string tocBody = {}, const std::string& aliasText = {},
                         const std::string& mapText = {});

    // Checks, before any old output of the build is removed, what Make will need: the template
    // group and the files it names, the destinations, the resource folder, the help file. Raises
    // the error that Make would raise later, so a bad setting costs nothing.
    virtual void CheckSettings();

    const TAllText* Text = nullptr;
    const TProjectOption* Options = nullptr;
    TLFXText* Converter = nullptr;
    std::string ProjectTitle;
    std::string Charset;
    TTempletGroup TemplateGroup;
    std::string TemplateFolder;  // with a trailing "/"
    int32_t TemplateNumber = 0;
    std::string FormatFolder;  // with a trailing "/"
    TCHMProject* HelpProject = nullptr;
    std::string HtmlFolderName = "html/";
    const BuildEnvironment* Environment = nullptr;
    ConvertedBodies* Bodies = nullptr;  // shared by the formats of one build; none: convert every time
    const std::string& FormatName() const { return formatName_; }
    // A step failed that did not stop the build: the help file was not compiled.
    bool Failed = false;

protected:
    std::string HtmlFolder() const { return FormatFolder + HtmlFolderName; }
    // Logs a written page, or counts it where the environment shows progress instead.
    void PageWritten(const std::string& fileName, size_t done, size_t total);
    // The chapters above a topic, outermost first: a link for those with a page, else the title.
    // Needs PrepareParents.
    std::string Breadcrumbs(int32_t topicIndex) const;
    // Finds every topic's chapter once, before pages are rendered on several threads.
    void PrepareParents();
    // `relative` (written with either separator) below `folder`, refused with a clear error when
    // it would lead outside the format's folder.
    std::string InsideFormatFolder(const std::string& folder, const std::string& relative,
                                   const std::string& what) const;
    std::string ProgramFolder() const;
    // `name` from the group's description, as a path in the group's folder. Raises ESettingError
    // when it would lead outside the folder (through "..", an absolute path or a link).
    std::string GroupFile(const std::string& name, const std::string& what) const;
    // A file of the program's own folder that the format needs.
    std::string ProgramFile(const std::string& name) const;
    // CheckSettings of the formats made from a template group: the group, the resources, the icons
    // and, when the format writes a help project, its help file.
    void CheckTemplateFormat(bool helpProject, const std::string& compiledBaseName, bool compile);
    // Parts of CheckSettings that the writers share.
    void CheckTemplate();
    void CheckResources(const std::string& target) const;
    void CheckIcons() const;
    void CheckHelpFile(const std::string& compiledBaseName, bool compile) const;

    // The topic's body as `converter` makes it, taken from Bodies when an earlier format made it
    // (its notices given again), kept there when a later format needs it.
    std::string ConvertBody(int32_t topicIndex, TLFXText& converter);

    std::string formatName_;        // "CHM", "Website", ... for messages
    std::vector<int32_t> parents_;  // by topic index: its chapter, or -1 at the top
};

}  // namespace leafsmith
