#include "ui/copy_as.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace leafsmith {

TfrmCopyAs::TfrmCopyAs(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCopyAs");
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    edtSourceFiles = new QLineEdit;
    edtSourceFiles->setObjectName("edtSourceFiles");
    Label1->setBuddy(edtSourceFiles);
    Label2 = new QLabel;
    Label2->setObjectName("Label2");
    edtCopyAs = new QLineEdit;
    edtCopyAs->setObjectName("edtCopyAs");
    Label2->setBuddy(edtCopyAs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("BitBtn2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(edtSourceFiles);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addWidget(edtCopyAs);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

QString TfrmCopyAs::Entry() const {
    const QString source = edtSourceFiles->text().trimmed();
    const QString destination = edtCopyAs->text().trimmed();
    return destination.isEmpty() ? source : source + ":" + destination;
}

}  // namespace leafsmith
