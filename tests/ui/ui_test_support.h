// What the window tests share: the folder of the program's data and an answerer of message boxes.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <deque>
#include <string>

namespace leafsmith::testing {

inline std::string DataFolder() {
    const char* folder = std::getenv("LEAFSMITH_BIN_DIR");
    return folder ? folder : "build/bin";
}

// Answers the message boxes that open, in order, and keeps their texts.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers) : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || answers_.empty())
                return;
            Texts << box->text();
            box->button(answers_.front())->click();
            answers_.pop_front();
        });
        timer_.start(10);
    }
    QStringList Texts;

private:
    std::deque<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

}  // namespace leafsmith::testing
