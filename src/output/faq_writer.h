// The FAQ format: one page with a list of questions at the top and every topic below.
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TBlock;

class TFAQSettings : public TSittings {
public:
    TFAQSettings() : TSittings("FAQ") {}

    void Make();
    void CheckSettings() override;
    // The page from the content template (the generator line already in it), put into `out`, which
    // is closed.
    void RenderFaqPage(const std::string& contentTemplate, TextSink& out);
};

// The indented title list of the FAQ and E-book formats: `style` 1 puts a bullet in front of each
// title, 2 the outline number. `target` gives the link of a page topic ("" for none).
std::string TitleListEntry(const TBlock& topic, int32_t style, const std::string& target);
std::string TitleIndent(const TBlock& topic);
std::string TitleMark(const TBlock& topic, int32_t style);

}  // namespace leafsmith
