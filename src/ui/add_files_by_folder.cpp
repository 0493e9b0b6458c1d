#include "ui/add_files_by_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/errors.h"
#include "text/text_utils.h"
#include "ui/list_box_extend_event.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

TfrmAddFilesByFolder::TfrmAddFilesByFolder(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Add files by folder");
    setObjectName("frmAddFilesByFolder");

    auto* folders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    folders->setRootPath("/");
    ShellTreeView1 = new QTreeView;
    ShellTreeView1->setObjectName("ShellTreeView1");
    ShellTreeView1->setModel(folders);
    for (int column = 1; column < folders->columnCount(); ++column)
        ShellTreeView1->hideColumn(column);
    ShellTreeView1->header()->hide();
    // The tree opens at the user's home folder without choosing it: the folder field starts empty,
    // and a highlighted folder that the search would not use would mislead.
    ShellTreeView1->scrollTo(folders->index(QDir::homePath()));

    edtDirectory = new QLineEdit;
    edtDirectory->setObjectName("edtDirectory");
    connect(ShellTreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, folders](const QModelIndex& current) { edtDirectory->setText(folders->filePath(current)); });
    cbFilter = new QComboBox;
    cbFilter->setObjectName("cbFilter");
    cbFilter->setEditable(true);
    cbFilter->addItems({"*.txt", "*.*"});
    cbSorted = new QCheckBox("&Sort By Name");
    cbSorted->setObjectName("cbSorted");
    cbSorted->setChecked(true);
    cbIncludeSub = new QCheckBox("&Include Subfolders");
    cbIncludeSub->setObjectName("cbIncludeSub");
    cbIncludeSub->setChecked(true);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->hide();
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    buttons_->button(QDialogButtonBox::Cancel)->setObjectName("BitBtn2");
    connect(buttons_, &QDialogButtonBox::accepted, this, &TfrmAddFilesByFolder::Search);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow("Folder: ", edtDirectory);
    form->addRow("Filter:", cbFilter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ShellTreeView1, 1);
    layout->addLayout(form);
    layout->addWidget(cbSorted);
    layout->addWidget(cbIncludeSub);
    layout->addWidget(buttons_);
    layout->addWidget(StatusBar1);
    resize(480, 520);
}

void TfrmAddFilesByFolder::Search() {
    const std::string mask = ToBytes(cbFilter->currentText());
    if (const size_t position = InvalidMaskPosition(mask)) {
        QMessageBox::critical(
            this, QApplication::applicationDisplayName(),
            QString("'%1' is an invalid mask at (%2)").arg(FromBytes(mask)).arg(static_cast<qulonglong>(position)));
        return;
    }
    StatusBar1->show();
    buttons_->setEnabled(false);
    ListEntries list = EntriesIgnoringCase();
    list.SortMode = cbSorted->isChecked();
    try {
        FindFilesByMask(ToBytes(edtDirectory->text()), mask, cbIncludeSub->isChecked(), [&](const std::string& path) {
            StatusBar1->showMessage(FromBytes(path));
            AddItems(list, {path}, false);
            QApplication::processEvents();
        });
    } catch (const ELeafsmithError& error) {
        buttons_->setEnabled(true);
        ShowErrorBox(this, error);
        return;
    }
    found_ = list.Items;
    accept();
}

}  // namespace leafsmith
