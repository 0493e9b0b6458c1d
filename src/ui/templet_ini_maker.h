// The templates.ini editor: a form over the description file of one template group.
#pragma once

#include <QWidget>
#include <exception>
#include <functional>
#include <string>

#include "templates/template_group.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace leafsmith {

class TfrmTempletIniMaker : public QWidget {
    Q_OBJECT

public:
    // `setupDir` is the folder of the program's data, whose "sample" folder holds the sample group.
    // The editor is a top-level window even with a parent, and deletes itself when closed.
    explicit TfrmTempletIniMaker(const std::string& setupDir, QWidget* parent = nullptr);

    // Copies the controls into the group; a value that differs from the stored one sets Modified.
    void StoreControls();
    bool Modified() const { return modified_; }
    // The description file being edited; "" until one is chosen.
    const std::string& FilePath() const { return group_.IniFileName; }

    // The folder picker, replaceable so that tests can answer it. Returns "" for Cancel.
    std::function<QString(const QString& prompt)> AskFolder;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct ListTexts {
        QString addCaption;
        QString editCaption;
        QString sourceLabel;
        QString destinationLabel;
    };

    void BuildControls();
    void btnNewClick();
    void btnOpenClick();
    void BitBtn2Click();
    bool actUpdateExecute();
    void btnTempletAddClick();
    void btnTempletDelClick();
    void SpeedButton1Click();
    void EditEntry(QListWidget* list, const ListTexts& texts, bool adding);
    void DeleteEntry(QListWidget* list);

    // Stores the controls and asks whether to save a changed group; false when the user cancels
    // or saving fails.
    bool AskToSave();
    // Puts a freshly made group in place and shows it.
    void Replace(TTempletGroup group);
    void ShowGroup();
    void cbTempletsChange(int index);
    void UpdateActions();
    void ShowError(const std::exception& error);

    std::string setupDir_;
    TTempletGroup group_;
    int shownIndex_ = -1;
    bool modified_ = false;
    bool filling_ = false;  // the controls are being filled from the group, not edited

    QGroupBox* gbGeneral_;
    QGroupBox* gbTemplates_;
    QLineEdit* edtGroupName;
    QLineEdit* edtAuthor;
    QLineEdit* edtEmail;
    QLineEdit* edtWebsite;
    QComboBox* cbTemplets;
    QLineEdit* edtTempletName;
    QLineEdit* edtContentTemplet;
    QListWidget* lbOther;
    QPushButton* btnOtherEdit;
    QPushButton* btnOtherDel;
    QListWidget* lbCopy;
    QPushButton* btnCopyEdit;
    QPushButton* btnCopyDel;
    QLineEdit* edtDefault;
    QLineEdit* edtSample;
    QLineEdit* edtIcon;
    QComboBox* cbType;
    QPushButton* btnTempletDel;
    QAction* actUpdate;
};

}  // namespace leafsmith
