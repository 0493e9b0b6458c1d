// The output driver: runs the selected format writers in the fixed order CHM, Website, E-book,
// FAQ, Single HTML.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    // Writes every selected format. First checks every setting that can be checked, so that an
    // error stops the build before any old output is removed. Lets EUsed (the user cancelled) and
    // every other error pass; a failed help file compile sets Failed and the build goes on.
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
    bool Failed = false;

private:
    ConvertedBodies bodies_;
    struct Format {
        TSittings* Writer;
        const char* Info;
        int32_t Kind;
        std::function<void()> Make;
    };
    // Gives each selected writer its settings, in the fixed order of the formats.
    std::vector<Format> SelectedFormats();
    void CheckBeforeRun(const std::vector<Format>& formats) const;
    void Prepare(TSittings& writer, const std::string& folderName);
    void PrepareWithTemplate(TSittings& writer, const std::string& folderName, const std::string& groupFolder,
                             int32_t templateNumber, TCHMProject& window);
};

}  // namespace leafsmith
