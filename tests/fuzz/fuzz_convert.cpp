// Fuzz target: the converter with every rule switched on. The first two bytes choose the output
// kind, the encoding and the signs; the rest is the topic body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/project_option.h"
#include "core/strings.h"
#include "core/user_questions.h"
#include "text/all_text.h"
#include "text/text_analysis.h"

namespace {

class SilentQuestions : public leafsmith::UserQuestions {
public:
    void ShowError(const std::string&) override {}
    leafsmith::Answer AskYesCancelRetry(const std::string&) override { return leafsmith::Answer::Cancel; }
    leafsmith::Answer AskAbortRetry(const std::string&) override { return leafsmith::Answer::Abort; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint8_t choice = data[0];
    const uint8_t signs = data[1];
    std::string body(reinterpret_cast<const char*>(data + 2), size - 2);

    leafsmith::TProjectOption options;
    options.EnableTextAnalysis = true;
    options.HtmlEncode = choice & 8;
    options.HorizontalLines = options.Subheadings = options.IllustrativeTitles = options.Terms = true;
    options.Reminders = options.ExpandableBlocks = options.Bullets = options.Numbering = true;
    options.MinusIsDefault = choice & 16;
    options.SubheadingMaxLen = 30;
    options.IllustrativeTitleMaxLen = 60;
    options.TermsMaxLen = 20;
    options.NotSubheadingEnds = {".", ":", "[BS]"};
    options.IllustrativeEnds = {":"};
    options.TermsEnds = {"[bs]-[bs]", "="};
    options.ReminderStarts = {"Note:", ""};
    options.ArrowSign = (signs & 1) ? "+" : "->";
    options.BulletSign = (signs & 2) ? "*" : "";
    options.NumberingSign = (signs & 4) ? "#" : "1.";
    options.JoinLinesSign = (signs & 8) ? "-" : ((signs & 16) ? "" : "  ");
    options.DestFolder = (signs & 32) ? "" : "img";
    options.IncludePath = "/nonexistent-leafsmith-include";

    leafsmith::TAllText text;
    text.Options = &options;
    text.SeparateMode = 3;
    text.LoadTexts({{"t.txt", "Intro\nx\n{Para}\nA & B\ny\n"}});
    text.BuildStructure();

    SilentQuestions questions;
    leafsmith::TLFXText converter;
    converter.Options = &options;
    converter.LoadSigns();
    converter.AllText = &text;
    converter.Questions = &questions;
    converter.OutputKind = choice % 5;
    converter.InputLines = leafsmith::SplitLines(body);
    try {
        (void)converter.Convert();
        converter.InputLines = leafsmith::SplitLines(body);
        (void)converter.Convert();  // one object converts topic after topic
    } catch (const leafsmith::EMarkupError&) {
    }
    return 0;
}
