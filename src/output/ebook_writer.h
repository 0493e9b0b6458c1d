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
    std::string ReplacePagePlaceholders(const std::string& page, int32_t topicIndex) override;
    std::string ReplaceFormatPlaceholders(const std::string& text) override;

    std::string TitleList;
    std::string JumpMenu;
    std::string IndexPage;
    int32_t DefaultTopicIndex = -1;
};

}  // namespace leafsmith
