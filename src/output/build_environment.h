// What a build needs from the program around it: the length of its pauses, a hook that lets the
// window handle its events, and the interface that answers questions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "helpproject/chm_project.h"
#include "text/text_utils.h"

namespace leafsmith {

class UserQuestions;

struct BuildEnvironment {
    int PauseMilliseconds = 2000;  // after removing old output and before each help project
    EventHook ProcessEvents;       // may be empty
    UserQuestions* Questions = nullptr;
    bool ConfineIncludes = false;    // "[INC]" reads only inside the include folder
    CompileCallback CompileMessage;  // receives the help compiler's messages; may be empty
    // When set, the pages of a format are counted here (format name, pages written, all pages)
    // instead of each file name going into the log.
    std::function<void(const std::string&, size_t, size_t)> PageProgress;
};

}  // namespace leafsmith
