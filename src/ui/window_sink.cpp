#include "ui/window_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "ui/text_codec.h"

namespace leafsmith {

namespace {

// Between two looks at the window's events, at most this long passes while the log grows.
constexpr qint64 EventIntervalMs = 30;

QMessageBox::StandardButton Box(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QApplication::applicationDisplayName(), ShownText(text), buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QString ShownText(const std::string& text) {
    QString shown = FromBytes(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

void ShowErrorBox(QWidget* parent, const std::exception& error) {
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), ShownText(error.what()));
}

TWindowSink::TWindowSink(QWidget* window, QPlainTextEdit* log, std::function<void()> processEvents)
    : window_(window), log_(log), processEvents_(std::move(processEvents)) {
    sinceEvents_.start();
}

void TWindowSink::ClearLog() {
    log_->clear();
}

void TWindowSink::OutOnInfo(TLfxObject*, const std::string& text) {
    log_->appendPlainText(ShownText(text));
    if (processEvents_ && sinceEvents_.elapsed() >= EventIntervalMs) {
        sinceEvents_.restart();
        processEvents_();
    }
}

bool TWindowSink::Ask(const std::string& text) {
    return Box(window_, QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TWindowSink::Tell(const std::string& text) {
    // The final message of a build has a single Yes button; the missing-folder notice an OK button.
    const bool missingFolder = text == "You haven't selected output folder.";
    Box(window_, QMessageBox::Information, text, missingFolder ? QMessageBox::Ok : QMessageBox::Yes);
}

void TWindowSink::ShowError(const std::string& text) {
    Box(window_, QMessageBox::Critical, text, QMessageBox::Ok);
}

Answer TWindowSink::AskYesCancelRetry(const std::string& text) {
    switch (Box(window_, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::Retry)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return Answer::Cancel;
    }
}

Answer TWindowSink::AskAbortRetry(const std::string& text) {
    return Box(window_, QMessageBox::Critical, text, QMessageBox::Abort | QMessageBox::Retry) == QMessageBox::Retry
               ? Answer::Retry
               : Answer::Abort;
}

}  // namespace leafsmith
