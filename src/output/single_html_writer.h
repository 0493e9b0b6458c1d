// The Single HTML format: every topic as a heading and its text on one page, from the program's
// own page template "singlehtml.htm".
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TSingleHTMLSettings : public TSittings {
public:
    TSingleHTMLSettings() : TSittings("Single HTML") {}

    void Make(const TAllText& text);
    void CheckSettings() override;
    // Every topic's heading and converted text, the one after the other.
    void PutAllContent(const TAllText& text, TextSink& out);
    std::string AllContent(const TAllText& text);
    // Where the page goes; raises ESettingError for an empty name or one that leads outside.
    std::string PagePath() const;
};

}  // namespace leafsmith
