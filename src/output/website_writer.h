// The Website format: one page per topic and a contents tree drawn in the browser by the script
// library "webjs.dat" from a sequence of calls generated here.
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TWebsiteSettings : public TSittings {
public:
    TWebsiteSettings() : TSittings("Website") {}

    void Make();
    void CheckSettings() override;
    // The tree calls for the topic tree (the Navigation value).
    std::string BuildNavigation() const;
    void PrepareSharedTexts() override;
    PlaceholderList FormatPlaceholders() override;

    bool StartFromRoot = false;
    bool DrawLine = false;
    bool AutoCollapse = false;
    bool FolderInsteadOfBook = false;
    int32_t DefaultTopicIndex = -1;
    std::string ScriptLibrary;
    std::string Navigation;

private:
    std::shared_ptr<const SharedText> sharedNavigation_;
    std::shared_ptr<const SharedText> sharedTreeScript_;  // ($TREESCRIPT$)
};

// A title as a script string: backslashes and quotation marks escaped, and line breaks, which
// would end the string.
std::string ScriptString(const std::string& text);

// The script inside the first <script> element of `html` (the tree library of "webjs.dat"), for a
// script file; without the element, all of `html`. Without its last line break either way.
std::string ScriptOfElement(const std::string& html);

}  // namespace leafsmith
