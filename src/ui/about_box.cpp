#include "ui/about_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/pictures.h"

namespace leafsmith {

namespace {

QLabel* Named(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Quorvane Leafsmith");
    setObjectName("frmAbout");

    auto* header = new QWidget;
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(0x20, 0x2a, 0x33));
    header->setPalette(white);
    auto* headerLayout = new QHBoxLayout(header);
    auto* name = Named("Quorvane Leafsmith " + QApplication::applicationVersion(), "lbSoftName");
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    name->setFont(big);
    headerLayout->addWidget(name, 1);
    auto* picture = new QLabel;
    picture->setPixmap(Picture("about").pixmap(64, 64));
    headerLayout->addWidget(picture);

    auto* copyright = Named("Copyright \u00a9 2026 the Leafsmith developers.", "lbCopyright");
    auto* notice = Named(
        "Leafsmith turns plain text files into help files, websites, e-books, FAQ pages and single\n"
        "HTML pages. It is free software: you may use, study, share and change it under the terms\n"
        "of the licence that comes with it. It comes with no warranty, to the extent the law allows.",
        "Label1");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->addWidget(copyright);
    body->addSpacing(8);
    body->addWidget(notice);
    body->addSpacing(8);
    body->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(header);
    layout->addLayout(body);
    setFixedSize(sizeHint());
}

}  // namespace leafsmith
