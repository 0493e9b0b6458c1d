#include "output/out.h"

#include "core/files.h"
#include "core/project_option.h"
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

void TOut::Prepare(TSittings& writer, const std::string& folderName, int32_t kind) {
    writer.Options = Options;
    writer.FormatFolder = OutputFolder + folderName;
    writer.ProjectTitle = Options->ProjectTitle;
    writer.Charset = Charset;
    writer.Converter = Converter.get();
    writer.Environment = &Environment;
    writer.Text = Text;
    Converter->OutputKind = kind;
}

void TOut::PrepareWithTemplate(TSittings& writer, const std::string& folderName, int32_t kind,
                               const std::string& groupFolder, int32_t templateNumber, TCHMProject& window) {
    Prepare(writer, folderName, kind);
    writer.TemplateFolder = groupFolder.empty() ? std::string() : WithTrailingSlash(Options->ResolvePath(groupFolder));
    writer.TemplateNumber = templateNumber;
    writer.HelpProject = &window;
    writer.HtmlFolderName = "html/";
}

void TOut::Run() {
    auto startFormat = [&](const char* info) {
        if (Environment.ProcessEvents)
            Environment.ProcessEvents();
        DoInfo(this, info);
    };
    if (Options->OutputChm) {
        startFormat("\r\nMaking CHM format...");
        PrepareWithTemplate(*ChmWriter, "CHM/", KindChm, Options->TempletChm, Options->TempletNoChm,
                            Options->ChmWindow);
        ChmWriter->Make();
    }
    if (Options->OutputWebsite) {
        startFormat("\r\nMaking Website format...");
        PrepareWithTemplate(*WebsiteWriter, "WEB/", KindWebsite, Options->TempletChm_WebSite,
                            Options->TempletNoChm_WebSite, Options->WebsiteWindow);
        WebsiteWriter->StartFromRoot = Options->StartFromRoot;
        WebsiteWriter->DrawLine = Options->DrawLine;
        WebsiteWriter->AutoCollapse = Options->AutoCollapse;
        WebsiteWriter->FolderInsteadOfBook = Options->FolderInsteadOfBook;
        WebsiteWriter->DefaultTopicIndex = DefaultPageIndex(*Text);
        WebsiteWriter->Make();
    }
    if (Options->OutputEbook) {
        startFormat("\r\nMaking E-Book format...");
        PrepareWithTemplate(*EbookWriter, "eBook/", KindEbook, Options->TempletChm_Ebook, Options->TempletNoChm_Ebook,
                            Options->EbookWindow);
        EbookWriter->DefaultTopicIndex = DefaultPageIndex(*Text);
        EbookWriter->Make();
    }
    if (Options->OutputFaq) {
        startFormat("\r\nMaking FAQ format...");
        PrepareWithTemplate(*FaqWriter, "FAQ/", KindFaq, Options->TempletChm_Faq, Options->TempletNoChm_Faq,
                            Options->FaqWindow);
        FaqWriter->Make();
    }
    if (Options->OutputSingleHtml) {
        startFormat("\r\nMaking SingleHTML format...");
        Prepare(*SingleHtmlWriter, "SingleHTML/", KindSingleHtml);
        SingleHtmlWriter->Make(*Text);
    }
    DoInfo(this, "\r\nDone.");
}

}  // namespace leafsmith
