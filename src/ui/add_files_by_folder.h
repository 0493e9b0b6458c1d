// "Add files by folder": every file of a folder (and its sub-folders) whose name matches a mask
// replaces the text-file list.
#pragma once

#include <QDialog>

#include "core/list_editing.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QStatusBar;
class QTreeView;

namespace leafsmith {

class TfrmAddFilesByFolder : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAddFilesByFolder(QWidget* parent = nullptr);
    // The files found by the last search, in the order the list shows them.
    const StringList& Found() const { return found_; }
    // Searches with the dialog's settings and closes with OK; an invalid mask or an unreadable
    // folder is said in a message and the dialog stays open.
    void Search();

private:
    QTreeView* ShellTreeView1;
    QLineEdit* edtDirectory;
    QComboBox* cbFilter;
    QCheckBox* cbSorted;
    QCheckBox* cbIncludeSub;
    QStatusBar* StatusBar1;
    QDialogButtonBox* buttons_;
    StringList found_;
};

}  // namespace leafsmith
