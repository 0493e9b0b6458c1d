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
