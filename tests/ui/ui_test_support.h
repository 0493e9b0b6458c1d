// What the window tests share: the folder of the program's data and an answerer of message boxes.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
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

// A timer of 10 ms that measures how long the event loop went without running: the window's
// responsiveness. `onPause` hears of every pause longer than 100 ms.
class Heartbeat : public QObject {
public:
    explicit Heartbeat(std::function<void(qint64 pause)> onPause = {}) : onPause_(std::move(onPause)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 pause = clock_.elapsed() - last_;
            if (pause > 100 && onPause_)
                onPause_(pause);
            Longest = std::max(Longest, pause);
            last_ = clock_.elapsed();
            ++Ticks;
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        timer_.start(10);
    }
    void Stop() { timer_.stop(); }
    qint64 Elapsed() const { return clock_.elapsed(); }
    qint64 Longest = 0;
    int Ticks = 0;

private:
    std::function<void(qint64)> onPause_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    QTimer timer_;
};

}  // namespace leafsmith::testing
