// The common base of the output driver and the format writers: an info event that carries
// progress texts up to the build log.
#pragma once

#include <functional>
#include <string>

namespace leafsmith {

class TLfxObject;

using InfoEvent = std::function<void(TLfxObject* sender, const std::string& text)>;

class TLfxObject {
public:
    virtual ~TLfxObject() = default;

    // Sends `text` to OnInfo with this object as sender. Shaped as an info handler itself, so an
    // owner connects a child's OnInfo to its own DoInfo.
    void DoInfo(TLfxObject* sender, const std::string& text) {
        (void)sender;
        if (OnInfo)
            OnInfo(this, text);
    }

    InfoEvent OnInfo;
};

}  // namespace leafsmith
