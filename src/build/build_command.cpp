#include "build/build_command.h"

#include <new>

#include "core/errors.h"
#include "core/files.h"
#include "core/folder_lock.h"
#include "core/option_tables.h"
#include "core/project_option.h"
#include "core/strings.h"
#include "output/out.h"
#include "text/all_text.h"

namespace leafsmith {

std::string StartQuestion(const TProjectOption& options) {
    std::string formats;
    if (options.OutputChm)
        formats += "* CHM\r\n";
    if (options.OutputWebsite)
        formats += "* Website\r\n";
    if (options.OutputEbook)
        formats += "* E-book\r\n";
    if (options.OutputFaq)
        formats += "* FAQ\r\n";
    if (options.OutputSingleHtml)
        formats += "* Single HTML\r\n";
    return "You will create the following formats:\r\n" + formats + "\r\n" + "Are you sure to start the creation?";
}

MakeResult RunMake(TProjectOption& options, MakeSink& sink, const BuildEnvironment& environment,
                   BuildSession& session) {
    sink.ClearLog();
    if (TrimView(options.OutDir).empty()) {
        sink.Tell("You haven't selected output folder.");
        return MakeResult::NoOutputFolder;
    }
    if (!sink.Ask(StartQuestion(options)))
        return MakeResult::Declined;
    options.CheckNamesAndPaths();
    const std::string outputFolder = WithTrailingSlash(options.ResolvePath(options.OutDir));
    CreateFolders(outputFolder);
    FolderLock lock(outputFolder);
    sink.OutOnInfo(nullptr, "Reading the text files...");

    // Both live until the end of this function, on every path.
    auto textModel = std::make_unique<TAllText>();
    TAllText& text = *textModel;
    TOut out;
    try {
        text.ReadProject(options);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(
            "There is not enough memory to read and split the text files; the build was stopped "
            "before it wrote anything.");
    }

    out.OnInfo = [&sink](TLfxObject* sender, const std::string& info) { sink.OutOnInfo(sender, info); };
    out.SetText(&text);
    out.OutputFolder = outputFolder;
    out.Options = &options;
    out.Charset = CharsetName(options.EncodingIndex);
    out.Environment = environment;

    const std::string language = LanguageString(options.LanguageIndex);
    const std::string font = FontString(options.ContentsFont, options.ContentsFontSize, options.CharacterSetIndex);
    auto compileMessage = [&sink, &session](const std::string& message) {
        if (message == session.LastCompileMessage || TrimView(message).empty())
            return;
        sink.OutOnInfo(nullptr, message);
        session.LastCompileMessage = message;
    };
    out.Environment.CompileMessage = compileMessage;
    for (TCHMProject* window : {&options.ChmWindow, &options.WebsiteWindow, &options.EbookWindow, &options.FaqWindow}) {
        window->Font = font;
        window->Language = language;
    }
    options.ChmWindow.DefaultTopic = text.Topic(DefaultPageIndex(text)).FileName;

    out.Converter->Options = &options;
    out.Converter->LoadSigns();
    out.Converter->AllText = &text;
    out.Converter->Questions = environment.Questions;
    out.Converter->ConfineIncludes = environment.ConfineIncludes;

    std::string outcome = "completed succussfully.";
    MakeResult result = MakeResult::Completed;
    try {
        out.Run();
        if (out.Failed) {
            outcome = "completed with errors; see the log.";
            result = MakeResult::CompletedWithErrors;
        }
    } catch (const EUsed&) {
        outcome = "canceled.";
        result = MakeResult::Cancelled;
        sink.OutOnInfo(nullptr, "\r\nCanceled.");
    }
    session.BrowseTarget = options.OutDir;
    sink.Tell("The creation has been " + outcome);
    if (session.KeepText)
        session.Text = std::move(textModel);
    return result;
}

}  // namespace leafsmith
