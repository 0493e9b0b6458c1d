// The build command: from the project's options to its outputs and the final message.
#pragma once

#include <memory>
#include <string>

#include "output/build_environment.h"
#include "text/all_text.h"

namespace leafsmith {

class TLfxObject;
class TProjectOption;

// The four user interactions of a build.
class MakeSink {
public:
    virtual ~MakeSink() = default;
    virtual void ClearLog() = 0;
    // Appends `text` to the log as one entry (a text beginning with CR LF shows an empty line first).
    virtual void OutOnInfo(TLfxObject* sender, const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask(const std::string& text) = 0;
    // A message with one button.
    virtual void Tell(const std::string& text) = 0;
};

// CompletedWithErrors: every format was written, but a help file that was asked for was not
// compiled; the log says why.
enum class MakeResult { NoOutputFolder, Declined, Completed, CompletedWithErrors, Cancelled };

// What outlives a build: the folder that Browse opens and the last compile message, which the next
// build's compile messages are compared with.
struct BuildSession {
    std::string BrowseTarget;
    std::string LastCompileMessage;
    // With KeepText the build's text model is handed over in Text instead of being freed, for a
    // program that ends right after the build and need not give it back line by line.
    bool KeepText = false;
    std::unique_ptr<TAllText> Text;
};

// Runs one build. Writes the derived font, language and default topic into the options' help
// window objects. Holds a lock on the output folder while it runs. Any failure other than a cancel
// or a failed compile leaves as an exception (ENoTopics, EStuctureError, ECantFindTemplateIni,
// EFileError, ESettingError, EMarkupError, EFolderInUse).
MakeResult RunMake(TProjectOption& options, MakeSink& sink, const BuildEnvironment& environment, BuildSession& session);

// The confirmation text for the selected formats.
std::string StartQuestion(const TProjectOption& options);

}  // namespace leafsmith
