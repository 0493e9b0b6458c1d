// How a build talks to the user from the window: its log goes into the "Create" page's memo, its
// questions and notices are message boxes with the build's own texts.
#pragma once

#include <QElapsedTimer>
#include <functional>

#include "build/build_command.h"
#include "core/user_questions.h"

class QPlainTextEdit;
class QWidget;

namespace leafsmith {

class TWindowSink : public MakeSink, public UserQuestions {
public:
    // `processEvents` lets the window handle its events; the sink calls it between log lines so that
    // a long build keeps the window painted.
    TWindowSink(QWidget* window, QPlainTextEdit* log, std::function<void()> processEvents);

    void ClearLog() override;
    void OutOnInfo(TLfxObject* sender, const std::string& text) override;
    bool Ask(const std::string& text) override;
    void Tell(const std::string& text) override;

    void ShowError(const std::string& text) override;
    Answer AskYesCancelRetry(const std::string& text) override;
    Answer AskAbortRetry(const std::string& text) override;

private:
    QWidget* window_;
    QPlainTextEdit* log_;
    std::function<void()> processEvents_;
    QElapsedTimer sinceEvents_;
};

// The library's text for a message box or the log: line breaks as Qt shows them.
QString ShownText(const std::string& text);
// An error's own message in an error box over `parent`.
void ShowErrorBox(QWidget* parent, const std::exception& error);

}  // namespace leafsmith
