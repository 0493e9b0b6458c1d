// A spin field whose text is read as typed: the options take the text, and "02" or an emptied field
// must reach them as such. Out of range values are brought into range when the focus leaves.
#pragma once

#include <QLineEdit>
#include <QSpinBox>

namespace leafsmith {

class TSpinEdit : public QSpinBox {
public:
    TSpinEdit(int minimum, int maximum, QWidget* parent = nullptr) : QSpinBox(parent) {
        setRange(minimum, maximum);
        setAccelerated(true);
    }
    QString Text() const { return lineEdit()->text(); }
    // Digits only; a text out of range, or empty, stays while it is typed ("02" stays "02").
    QValidator::State validate(QString& input, int&) const override {
        if (input.isEmpty())
            return QValidator::Intermediate;
        for (QChar c : input) {
            if (!c.isDigit())
                return QValidator::Invalid;
        }
        bool number = false;
        const int value = input.toInt(&number);
        if (!number)
            return QValidator::Invalid;
        return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }
    void SetText(const QString& text) {
        bool number = false;
        const int value = text.toInt(&number);
        if (number && value >= minimum() && value <= maximum() && QString::number(value) == text)
            setValue(value);
        else
            lineEdit()->setText(text);
    }
};

}  // namespace leafsmith
