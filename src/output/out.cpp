#include "output/out.h"

#include <algorithm>
#include <new>

#include "core/errors.h"
#include "core/files.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "text/all_text.h"

namespace leafsmith {

TOut::TOut()
    : Converter(std::make_unique<TLFXText>()),
      FaqWriter(std::make_unique<TFAQSettings>()),
      ChmWriter(std::make_unique<TCHMSettings>()),
      EbookWriter(std::make_unique<TEBookSettings>()),
      WebsiteWriter(std::make_unique<TWebsiteSettings>()),
      SingleHtmlWriter(std::make_unique<TSingleHTMLSettings>()) {
    for (TSittings* writer : std::initializer_list<TSittings*>{FaqWriter.get(), ChmWriter.get(), EbookWriter.get(),
                                                               WebsiteWriter.get(), SingleHtmlWriter.get()}) {
        writer->OnInfo = [this](TLfxObject* sender, const std::string& text) { DoInfo(sender, text); };
    }
}

void TOut::Prepare(TSittings& writer, const std::string& folderName) {
    writer.Options = Options;
    writer.FormatFolder = OutputFolder + folderName;
    writer.ProjectTitle = Options->ProjectTitle;
    writer.Charset = Charset;
    writer.Converter = Converter.get();
    writer.Environment = &Environment;
    writer.Text = Text;
    writer.Bodies = &bodies_;
}

void TOut::PrepareWithTemplate(TSittings& writer, const std::string& folderName, const std::string& groupFolder,
                               int32_t templateNumber, TCHMProject& window) {
    Prepare(writer, folderName);
    writer.TemplateFolder = groupFolder.empty() ? std::string() : WithTrailingSlash(Options->ResolvePath(groupFolder));
    writer.TemplateNumber = templateNumber;
    writer.HelpProject = &window;
    writer.HtmlFolderName = "html/";
}

std::vector<TOut::Format> TOut::SelectedFormats() {
    std::vector<Format> formats;
    if (Options->OutputChm) {
        PrepareWithTemplate(*ChmWriter, "CHM/", Options->TempletChm, Options->TempletNoChm, Options->ChmWindow);
        formats.push_back({ChmWriter.get(), "\r\nMaking CHM format...", KindChm, [this] { ChmWriter->Make(); }});
    }
    if (Options->OutputWebsite) {
        PrepareWithTemplate(*WebsiteWriter, "WEB/", Options->TempletChm_WebSite, Options->TempletNoChm_WebSite,
                            Options->WebsiteWindow);
        WebsiteWriter->StartFromRoot = Options->StartFromRoot;
        WebsiteWriter->DrawLine = Options->DrawLine;
        WebsiteWriter->AutoCollapse = Options->AutoCollapse;
        WebsiteWriter->FolderInsteadOfBook = Options->FolderInsteadOfBook;
        WebsiteWriter->DefaultTopicIndex = DefaultPageIndex(*Text);
        formats.push_back(
            {WebsiteWriter.get(), "\r\nMaking Website format...", KindWebsite, [this] { WebsiteWriter->Make(); }});
    }
    if (Options->OutputEbook) {
        PrepareWithTemplate(*EbookWriter, "eBook/", Options->TempletChm_Ebook, Options->TempletNoChm_Ebook,
                            Options->EbookWindow);
        EbookWriter->DefaultTopicIndex = DefaultPageIndex(*Text);
        formats.push_back(
            {EbookWriter.get(), "\r\nMaking E-Book format...", KindEbook, [this] { EbookWriter->Make(); }});
    }
    if (Options->OutputFaq) {
        PrepareWithTemplate(*FaqWriter, "FAQ/", Options->TempletChm_Faq, Options->TempletNoChm_Faq, Options->FaqWindow);
        formats.push_back({FaqWriter.get(), "\r\nMaking FAQ format...", KindFaq, [this] { FaqWriter->Make(); }});
    }
    if (Options->OutputSingleHtml) {
        Prepare(*SingleHtmlWriter, "SingleHTML/");
        // The single page takes its look from the website's group, when that group has one.
        SingleHtmlWriter->TemplateFolder = Options->TempletChm_WebSite.empty()
                                               ? std::string()
                                               : WithTrailingSlash(Options->ResolvePath(Options->TempletChm_WebSite));
        formats.push_back({SingleHtmlWriter.get(), "\r\nMaking SingleHTML format...", KindSingleHtml,
                           [this] { SingleHtmlWriter->Make(*Text); }});
    }
    return formats;
}

void TOut::CheckBeforeRun(const std::vector<Format>& formats) const {
    for (const Format& format : formats)
        format.Writer->CheckSettings();

    // Every selected format's old folder is removed; nothing the build reads may lie inside one.
    std::vector<std::pair<std::string, std::string>> inputs = {
        {"The project's folder", Options->ResolvePath(".")},
        {"The program's folder", Options->SetupDir},
    };
    for (const std::string& file : Options->FileList)
        inputs.emplace_back("The text file", Options->ResolvePath(file));
    if (!Options->SourcePath.empty())
        inputs.emplace_back("The resource folder", Options->ResolvePath(ReplaceAll(Options->SourcePath, "\\", "/")));
    if (!Options->IncludePath.empty())
        inputs.emplace_back("The include folder", Options->ResolvePath(ReplaceAll(Options->IncludePath, "\\", "/")));
    for (const Format& format : formats) {
        if (!format.Writer->TemplateFolder.empty())
            inputs.emplace_back("The template group", format.Writer->TemplateFolder);
    }
    for (const Format& format : formats) {
        std::string removed = format.Writer->FormatFolder;
        while (removed.size() > 1 && removed.back() == '/')
            removed.pop_back();
        for (const auto& [what, path] : inputs) {
            if (!path.empty() && IsInsideFolderOnDisk(path, removed)) {
                throw ESettingError(what + " \"" + path + "\" lies inside \"" + removed +
                                    "\", which the build removes before it writes the " + format.Writer->FormatName() +
                                    " format; choose another output folder.");
            }
        }
    }
}

void TOut::Run() {
    const std::vector<Format> formats = SelectedFormats();
    CheckBeforeRun(formats);
    // CHM, Website and E-book pages convert the bodies alike: the first of them keeps its bodies
    // for the others, and they are dropped after the last.
    auto convertsAlike = [](const Format& format) {
        return format.Kind == KindChm || format.Kind == KindWebsite || format.Kind == KindEbook;
    };
    const size_t alike = static_cast<size_t>(std::count_if(formats.begin(), formats.end(), convertsAlike));
    size_t alikeMade = 0;
    bodies_ = {};
    for (const Format& format : formats) {
        if (Environment.ProcessEvents)
            Environment.ProcessEvents();
        DoInfo(this, format.Info);
        Converter->OutputKind = format.Kind;
        const bool sharesBodies = convertsAlike(format);
        bodies_.Use = sharesBodies && alikeMade > 0;
        bodies_.Keep = sharesBodies && alikeMade == 0 && alike > 1;
        try {
            format.Make();
            if (sharesBodies && ++alikeMade == alike)
                bodies_ = {};
        } catch (const std::bad_alloc&) {
            throw EOutOfMemory("There is not enough memory to make the " + format.Writer->FormatName() +
                               " format; the build was stopped." +
                               (&format == &formats.front() ? "" : " The formats before it are complete."));
        }
        Failed = Failed || format.Writer->Failed;
    }
    DoInfo(this, "\r\nDone.");
}

}  // namespace leafsmith
