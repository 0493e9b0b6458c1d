// The Single HTML format: every topic as a heading and its text on one page, from the page template
// "singlehtml.htm" of the website's template group, or the program's own when the group has none.
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
    // A list of links to every topic's heading, a level class on each entry.
    static std::string TableOfContents(const TAllText& text);
    // The group's single page template, or the program's.
    std::string PageTemplatePath() const;
    // Where the page goes; raises ESettingError for an empty name or one that leads outside.
    std::string PagePath() const;
};

}  // namespace leafsmith
