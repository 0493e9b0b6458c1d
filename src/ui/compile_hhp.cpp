#include "ui/compile_hhp.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/files.h"
#include "core/strings.h"
#include "helpproject/help_compiler.h"
#include "ui/pictures.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

TfrmCompileHHP::TfrmCompileHHP(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Compile CHM Project");
    setObjectName("frmCompileHHP");
    AskProjectFile = [this] { return QFileDialog::getOpenFileName(this, "Open", QString(), "hhp file (*.hhp)"); };
    OpenFolder = [](const QString& folder) { return QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };

    edtFileName = new QLineEdit;
    edtFileName->setObjectName("edtFileName");
    auto* browse = new QPushButton("&Browser...");
    browse->setObjectName("Button1");
    auto* actBrowser = new QAction(this);
    actBrowser->setShortcut(Qt::CTRL | Qt::Key_O);
    addAction(actBrowser);
    connect(actBrowser, &QAction::triggered, this, &TfrmCompileHHP::actBrowserExecute);
    connect(browse, &QPushButton::clicked, this, &TfrmCompileHHP::actBrowserExecute);
    auto* file = new QHBoxLayout;
    auto* label = new QLabel("Project file:");
    label->setBuddy(edtFileName);
    file->addWidget(label);
    file->addWidget(edtFileName, 1);
    file->addWidget(browse);

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* compile = new QPushButton(Picture("toolbar/create"), "C&ompile");
    compile->setObjectName("BitBtn2");
    auto* view = new QPushButton(Picture("toolbar/browse"), "&View");
    view->setObjectName("BitBtn3");
    auto* close = new QPushButton("&Close");
    close->setObjectName("BitBtn1");
    connect(compile, &QPushButton::clicked, this, &TfrmCompileHHP::actCompileExecute);
    connect(view, &QPushButton::clicked, this, &TfrmCompileHHP::actViewExecute);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(compile);
    buttons->addWidget(view);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

void TfrmCompileHHP::actBrowserExecute() {
    const QString chosen = AskProjectFile();
    if (!chosen.isEmpty())
        edtFileName->setText(chosen);
}

void TfrmCompileHHP::actCompileExecute() {
    if (compiling_)
        return;
    compiling_ = true;
    setEnabled(false);  // the window keeps painting, but nothing starts a second compile
    const std::string path = ToBytes(edtFileName->text());
    auto message = [this](const std::string& text) {
        if (text == lastMessage_ || TrimView(text).empty())
            return;
        Memo1->appendPlainText(ShownText(text));
        lastMessage_ = text;
    };
    CompileHHP(path, message, message, [] { QApplication::processEvents(QEventLoop::AllEvents, 20); });
    viewFolder_ = FromBytes(WithTrailingSlash(FolderOf(path)));
    setEnabled(true);
    compiling_ = false;
}

void TfrmCompileHHP::actViewExecute() {
    if (viewFolder_.isEmpty()) {
        QMessageBox::information(this, windowTitle(),
                                 "There is nothing to show yet: compile a project first, and View opens its folder.");
        return;
    }
    OpenFolder(viewFolder_);
}

}  // namespace leafsmith
