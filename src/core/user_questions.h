// Questions and notices to the user from inside the library. The window answers them with
// message boxes; leafsmith-build answers at the terminal or by its options.
#pragma once

#include <string>

namespace leafsmith {

enum class Answer { Yes, No, Cancel, Retry, Abort, Ok };

class UserQuestions {
public:
    virtual ~UserQuestions() = default;

    // An error notice with one OK button; the work goes on afterwards.
    virtual void ShowError(const std::string& text) = 0;
    // A confirmation with the buttons Yes, Cancel and Retry; returns one of them.
    virtual Answer AskYesCancelRetry(const std::string& text) = 0;
    // An error with the buttons Abort and Retry; returns one of them.
    virtual Answer AskAbortRetry(const std::string& text) = 0;
};

}  // namespace leafsmith
