// The CHM format: one page per topic, the contents list, aliases and context numbers, and the
// HTML Help project that compiles them.
#pragma once

#include "output/settings.h"

namespace leafsmith {

class TCHMSettings : public TSittings {
public:
    TCHMSettings() : TSittings("CHM") {}

    void Make();
    void CheckSettings() override;
    // The contents list over all topics; fills AliasLines and MapLines on the way.
    std::string ContentsList();

    std::string AliasLines;
    std::string MapLines;
};

// The index of the topic a format opens with: the default topic, or the first page when there is
// none; a default topic without a page of its own gives way to the next page after it.
int32_t DefaultPageIndex(const TAllText& text);

}  // namespace leafsmith
