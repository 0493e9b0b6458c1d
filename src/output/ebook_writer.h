// The E-book format: linked pages with a title list, a jump menu that opens the chosen page, and
// a link to the index page.
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TEBookSettings : public TSittings {
public:
    TEBookSettings() : TSittings("E-book") {}

    void Make();
    void CheckSettings() override;
    // Builds TitleList and JumpMenu over the topic tree.
    void BuildLists();
    void PrepareSharedTexts() override;
    PlaceholderList PagePlaceholders(int32_t topicIndex) override;
    PlaceholderList FormatPlaceholders() override;

    std::string TitleList;
    std::string JumpMenu;
    std::string IndexPage;
    std::string TitleScript;  // "ebookjs.dat" without its last line break
    int32_t DefaultTopicIndex = -1;

private:
    std::shared_ptr<const SharedText> sharedTitleList_;
    std::shared_ptr<const SharedText> sharedJumpMenu_;
    std::shared_ptr<const SharedText> sharedJumpMenuScript_;
};

}  // namespace leafsmith
