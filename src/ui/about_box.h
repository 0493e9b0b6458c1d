// The about box: the product, its version, its rights notice and where to find the project.
#pragma once

#include <QDialog>

namespace leafsmith {

class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};

}  // namespace leafsmith
