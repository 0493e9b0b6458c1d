// The output driver: runs the selected format writers in the fixed order CHM, Website, E-book,
// FAQ, Single HTML.
#pragma once

#include <memory>
#include <string>

#include "output/build_environment.h"
#include "output/chm_writer.h"
#include "output/ebook_writer.h"
#include "output/faq_writer.h"
#include "output/lfx_object.h"
#include "output/single_html_writer.h"
#include "output/website_writer.h"
#include "text/text_analysis.h"

namespace leafsmith {

class TAllText;
class TProjectOption;

class TOut : public TLfxObject {
public:
    TOut();

    void SetText(const TAllText* text) { Text = text; }
    // Writes every selected format. Lets EUsed (the user cancelled) and every other error pass.
    void Run();

    const TAllText* Text = nullptr;
    std::unique_ptr<TLFXText> Converter;
    TProjectOption* Options = nullptr;
    std::unique_ptr<TFAQSettings> FaqWriter;
    std::unique_ptr<TCHMSettings> ChmWriter;
    std::unique_ptr<TEBookSettings> EbookWriter;
    std::unique_ptr<TWebsiteSettings> WebsiteWriter;
    std::unique_ptr<TSingleHTMLSettings> SingleHtmlWriter;
    std::string OutputFolder;  // with a trailing "/"
    std::string Charset;
    BuildEnvironment Environment;

private:
    void Prepare(TSittings& writer, const std::string& folderName, int32_t kind);
    void PrepareWithTemplate(TSittings& writer, const std::string& folderName, int32_t kind,
                             const std::string& groupFolder, int32_t templateNumber, TCHMProject& window);
};

}  // namespace leafsmith
