// The Single HTML format: every topic as a heading and its text on one page, from the program's
// own page template "singlehtml.htm".
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TSingleHTMLSettings : public TSittings {
public:
    TSingleHTMLSettings() : TSittings("Single HTML") {}

    void Make(const TAllText& text);
    std::string AllContent(const TAllText& text);
};

}  // namespace leafsmith
