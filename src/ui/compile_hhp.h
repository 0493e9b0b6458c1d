// The compile dialog: compiles any HTML Help project and shows the compiler's messages.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace leafsmith {

class TfrmCompileHHP : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCompileHHP(QWidget* parent = nullptr);

    void actBrowserExecute();
    void actCompileExecute();
    void actViewExecute();

    // The file question and the desktop's "open", replaceable so that tests can answer them.
    std::function<QString()> AskProjectFile;
    std::function<bool(const QString& folder)> OpenFolder;

private:
    QLineEdit* edtFileName;
    QPlainTextEdit* Memo1;
    std::string lastMessage_;  // repeated messages are shown once, also across compiles
    QString viewFolder_;
    bool compiling_ = false;
};

}  // namespace leafsmith
