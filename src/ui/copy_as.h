// Asks for one entry of a template's file lists: a source and, optionally, where it goes.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace leafsmith {

class TfrmCopyAs : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCopyAs(QWidget* parent = nullptr);
    // "source:destination", or the source alone when the destination is empty; both trimmed.
    QString Entry() const;

    QLabel* Label1;
    QLineEdit* edtSourceFiles;
    QLabel* Label2;
    QLineEdit* edtCopyAs;
};

}  // namespace leafsmith
