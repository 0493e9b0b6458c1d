#include "ui/templet_ini_maker.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/files.h"
#include "text/text_utils.h"
#include "ui/copy_as.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

namespace {

const QStringList TypeItems = {"CHM Project", "Website", "E-Book", "FAQ"};

// The combo shows only the four known codes; any other code shows no type and stays as it is until
// the user picks one.
int ShownType(int32_t type) {
    return type >= 0 && type < TypeItems.size() ? type : -1;
}

// A text goes back only when it differs from what the stored bytes show, so bytes in another code
// page survive an untouched field and showing a group never marks it changed.
bool StoreText(const QLineEdit* edit, std::string& stored) {
    if (edit->text() == FromBytes(stored))
        return false;
    stored = ToBytes(edit->text());
    return true;
}

bool StoreList(const QListWidget* list, StringList& stored) {
    StringList entries;
    bool changed = static_cast<size_t>(list->count()) != stored.size();
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text();
        const size_t position = static_cast<size_t>(row);
        if (position < stored.size() && text == FromBytes(stored[position])) {
            entries.push_back(stored[position]);
        } else {
            entries.push_back(ToBytes(text));
            changed = true;
        }
    }
    if (changed)
        stored = std::move(entries);
    return changed;
}

void FillList(QListWidget* list, const StringList& entries) {
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(FromBytes(entry));
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

std::string DescriptionPath(const QString& folder) {
    return WithTrailingSlash(ToBytes(folder)) + "templates.ini";
}

}  // namespace

TfrmTempletIniMaker::TfrmTempletIniMaker(const std::string& setupDir, QWidget* parent)
    : QWidget(parent, Qt::Window), setupDir_(setupDir), group_(setupDir) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("frmTempletIniMaker");
    setWindowTitle("Template Group Ini Editor");
    AskFolder = [this](const QString& prompt) { return QFileDialog::getExistingDirectory(this, prompt); };
    BuildControls();
    gbGeneral_->setEnabled(false);
    gbTemplates_->setEnabled(false);
    UpdateActions();
    resize(600, 660);
}

void TfrmTempletIniMaker::BuildControls() {
    setStyleSheet("QLineEdit:disabled, QListWidget:disabled, QComboBox:disabled { background: palette(button); }");
    QList<QLabel*> labels;
    auto label = [&labels](const QString& text, QWidget* buddy) {
        auto* made = new QLabel(text);
        made->setBuddy(buddy);
        labels << made;
        return made;
    };
    auto edit = [this](const char* name) {
        auto* made = Named(new QLineEdit, name);
        connect(made, &QLineEdit::textChanged, this, [this] { StoreControls(); });
        return made;
    };
    auto button = [](const QString& text, const char* name) { return Named(new QPushButton(text), name); };

    edtGroupName = edit("edtGroupName");
    edtAuthor = edit("edtAuthor");
    edtEmail = edit("edtEmail");
    edtWebsite = edit("edtWebsite");
    gbGeneral_ = Named(new QGroupBox("GENERAL"), "gbGeneral");
    auto* general = new QGridLayout(gbGeneral_);
    int row = 0;
    for (auto [text, field] : {std::pair{"Group Name:", edtGroupName},
                               {"Author:", edtAuthor},
                               {"E-Mail:", edtEmail},
                               {"Website:", edtWebsite}}) {
        general->addWidget(label(text, field), row, 0);
        general->addWidget(field, row++, 1);
    }

    cbTemplets = Named(new QComboBox, "cbTemplets");
    connect(cbTemplets, &QComboBox::currentIndexChanged, this, &TfrmTempletIniMaker::cbTempletsChange);
    auto* btnTempletAdd = button("Add", "btnTempletAdd");
    btnTempletDel = button("Delete", "btnTempletDel");
    connect(btnTempletAdd, &QPushButton::clicked, this, &TfrmTempletIniMaker::btnTempletAddClick);
    connect(btnTempletDel, &QPushButton::clicked, this, &TfrmTempletIniMaker::btnTempletDelClick);
    edtTempletName = edit("edtTempletName");
    edtContentTemplet = edit("edtContentTemplet");
    edtDefault = edit("edtDefault");
    edtSample = edit("edtSample");
    edtIcon = edit("edtIcon");
    cbType = Named(new QComboBox, "cbType");
    cbType->addItems(TypeItems);
    cbType->setCurrentIndex(-1);
    connect(cbType, &QComboBox::currentIndexChanged, this, [this] { StoreControls(); });
    auto* SpeedButton1 = Named(new QToolButton, "SpeedButton1");
    SpeedButton1->setText("Unselect");
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmTempletIniMaker::SpeedButton1Click);

    static const ListTexts otherTexts{"Add a non-content Template", "Modify a non-content Template",
                                      "Templet file name:", "Destination file name:"};
    static const ListTexts copyTexts{"Add file(s) for copying", "Modity copying files",
                                     "Source file(s)(e.g. images1\\*.*):", "Destination (e.g. images\\):"};
    // A list with its Add, Edit and Delete buttons beside it.
    auto entryList = [&](QListWidget*& list, const char* listName, const char* addName, QPushButton*& editButton,
                         const char* editName, QPushButton*& deleteButton, const char* deleteName,
                         const ListTexts& texts) {
        list = Named(new QListWidget, listName);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(list, &QListWidget::itemSelectionChanged, this, &TfrmTempletIniMaker::UpdateActions);
        auto* addButton = button("Add...", addName);
        editButton = button("Edit...", editName);
        deleteButton = button("Delete", deleteName);
        QListWidget* target = list;
        connect(addButton, &QPushButton::clicked, this, [this, target, &texts] { EditEntry(target, texts, true); });
        connect(editButton, &QPushButton::clicked, this, [this, target, &texts] { EditEntry(target, texts, false); });
        connect(deleteButton, &QPushButton::clicked, this, [this, target] { DeleteEntry(target); });
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(addButton);
        buttons->addWidget(editButton);
        buttons->addWidget(deleteButton);
        buttons->addStretch(1);
        auto* box = new QHBoxLayout;
        box->addWidget(list, 1);
        box->addLayout(buttons);
        return box;
    };

    gbTemplates_ = Named(new QGroupBox("TEMPLATES"), "gbTemplates");
    auto* templates = new QGridLayout(gbTemplates_);
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(cbTemplets, 1);
    chooser->addWidget(btnTempletAdd);
    chooser->addWidget(btnTempletDel);
    row = 0;
    templates->addLayout(chooser, row++, 1);
    auto addRow = [&](const QString& text, QWidget* field, QLayout* layout = nullptr) {
        QLabel* made = label(text, field);
        templates->addWidget(made, row, 0, layout ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignVCenter | Qt::AlignLeft);
        if (layout) {
            made->setContentsMargins(0, 4, 0, 0);
            templates->addLayout(layout, row, 1);
            templates->setRowStretch(row, 1);
        } else {
            templates->addWidget(field, row, 1);
        }
        ++row;
        return made;
    };
    addRow("Templet Name:", edtTempletName);
    addRow("Content Template:", edtContentTemplet);
    QHBoxLayout* other = entryList(lbOther, "lbOther", "btnOtherAdd", btnOtherEdit, "btnOtherEdit", btnOtherDel,
                                   "btnOtherDel", otherTexts);
    addRow("Other Templates:", lbOther, other);
    QHBoxLayout* copy =
        entryList(lbCopy, "lbCopy", "btnCopyAdd", btnCopyEdit, "btnCopyEdit", btnCopyDel, "btnCopyDel", copyTexts);
    addRow("Copy files:", lbCopy, copy);
    addRow("Default Page:", edtDefault);
    addRow("Sample image:", edtSample);
    // No writer uses the icon folder, so it is not offered; a loaded value is still kept and saved.
    addRow("Icon folder:", edtIcon)->hide();
    edtIcon->hide();
    auto* type = new QHBoxLayout;
    type->addWidget(cbType, 1);
    type->addWidget(SpeedButton1);
    addRow("Type:", cbType, type);
    templates->setRowStretch(row - 1, 0);

    // Labels of both boxes share one width, so their fields line up.
    int labelWidth = 0;
    for (QLabel* made : labels)
        labelWidth = std::max(labelWidth, made->sizeHint().width());
    for (QLabel* made : labels)
        made->setMinimumWidth(labelWidth);

    actUpdate = Named(new QAction("Save", this), "actUpdate");
    actUpdate->setShortcut(QKeySequence::Save);
    addAction(actUpdate);
    connect(actUpdate, &QAction::triggered, this, [this] { actUpdateExecute(); });
    auto* btnNew = button("New templates.ini", "btnNew");
    auto* btnOpen = button("Open", "btnOpen");
    auto* btnSave = button("Save", "btnSave");
    auto* BitBtn2 = button("Load Sample", "BitBtn2");
    auto* BitBtn1 = button("Cancel", "BitBtn1");
    connect(btnNew, &QPushButton::clicked, this, &TfrmTempletIniMaker::btnNewClick);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmTempletIniMaker::btnOpenClick);
    connect(btnSave, &QPushButton::clicked, actUpdate, &QAction::trigger);
    connect(actUpdate, &QAction::changed, btnSave, [this, btnSave] { btnSave->setEnabled(actUpdate->isEnabled()); });
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmTempletIniMaker::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {btnNew, btnOpen, btnSave, BitBtn2, BitBtn1}) {
        command->setMinimumWidth(std::max(command->sizeHint().width() + 16, 88));
        commands->addWidget(command);
    }
    commands->insertStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbGeneral_);
    layout->addWidget(gbTemplates_, 1);
    layout->addLayout(commands);
}

void TfrmTempletIniMaker::StoreControls() {
    if (shownIndex_ < 0 || filling_)
        return;
    bool changed = false;
    changed |= StoreText(edtGroupName, group_.GroupName);
    changed |= StoreText(edtAuthor, group_.Author);
    changed |= StoreText(edtEmail, group_.Email);
    changed |= StoreText(edtWebsite, group_.Website);
    TTemplate& templ = group_.Items(shownIndex_);
    changed |= StoreText(edtTempletName, templ.Name);
    changed |= StoreText(edtContentTemplet, templ.ContentTemplates);
    changed |= StoreText(edtDefault, templ.Default);
    changed |= StoreText(edtSample, templ.SampleImage);
    changed |= StoreText(edtIcon, templ.IconDir);
    changed |= StoreList(lbOther, templ.OtherTemplates);
    changed |= StoreList(lbCopy, templ.CopyFiles);
    if (cbType->currentIndex() != ShownType(templ.Type)) {
        templ.Type = cbType->currentIndex();
        changed = true;
    }
    if (changed)
        modified_ = true;
    UpdateActions();
}

void TfrmTempletIniMaker::UpdateActions() {
    actUpdate->setEnabled(!group_.IniFileName.empty() && modified_);
    btnTempletDel->setEnabled(cbTemplets->currentIndex() > 0);
    const bool otherChosen = !lbOther->selectedItems().isEmpty();
    btnOtherEdit->setEnabled(otherChosen);
    btnOtherDel->setEnabled(otherChosen);
    const bool copyChosen = !lbCopy->selectedItems().isEmpty();
    btnCopyEdit->setEnabled(copyChosen);
    btnCopyDel->setEnabled(copyChosen);
}

void TfrmTempletIniMaker::ShowGroup() {
    filling_ = true;
    edtGroupName->setText(FromBytes(group_.GroupName));
    edtAuthor->setText(FromBytes(group_.Author));
    edtEmail->setText(FromBytes(group_.Email));
    edtWebsite->setText(FromBytes(group_.Website));
    cbTemplets->clear();
    for (int index = 0; index < group_.Count(); ++index)
        cbTemplets->addItem(index == 0 ? QString("COMMON") : QString("Template%1").arg(index));
    filling_ = false;
    cbTempletsChange(0);
    modified_ = false;
    UpdateActions();
}

void TfrmTempletIniMaker::cbTempletsChange(int index) {
    if (filling_ || index < 0)
        return;
    StoreControls();
    filling_ = true;
    cbTemplets->setCurrentIndex(index);
    const TTemplate& templ = group_.Items(index);
    edtTempletName->setText(FromBytes(templ.Name));
    edtContentTemplet->setText(FromBytes(templ.ContentTemplates));
    FillList(lbOther, templ.OtherTemplates);
    FillList(lbCopy, templ.CopyFiles);
    edtDefault->setText(FromBytes(templ.Default));
    edtSample->setText(FromBytes(templ.SampleImage));
    edtIcon->setText(FromBytes(templ.IconDir));
    cbType->setCurrentIndex(ShownType(templ.Type));
    filling_ = false;
    shownIndex_ = index;
    UpdateActions();
}

void TfrmTempletIniMaker::Replace(TTempletGroup group) {
    group_ = std::move(group);
    shownIndex_ = -1;
    gbGeneral_->setEnabled(true);
    gbTemplates_->setEnabled(true);
    ShowGroup();
    setWindowTitle(FromBytes(group_.IniFileName));
}

// Every group is made aside and replaces the edited one only once it has loaded: a failed Open or
// Load Sample keeps the group, file and changes that were there, so no empty group is ever saved.
void TfrmTempletIniMaker::btnOpenClick() {
    if (!AskToSave())
        return;
    const QString folder = AskFolder("Select a Templet Group folder for modifying an existent templates.ini:");
    if (folder.isEmpty())
        return;
    try {
        TTempletGroup group(setupDir_);
        group.LoadFromFile(DescriptionPath(folder));
        Replace(std::move(group));
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmTempletIniMaker::btnNewClick() {
    if (!AskToSave())
        return;
    const QString folder = AskFolder("Select a Templet Group folder for creating a new Templates.ini:");
    if (folder.isEmpty())
        return;
    try {
        TTempletGroup group(setupDir_);
        // An existing file in another case is the one to replace, not a second file beside it.
        const std::string existing = FindFileNoCase(ToBytes(folder), "templates.ini");
        if (existing.empty()) {
            group.NewGroup(DescriptionPath(folder));
        } else if (QMessageBox::warning(this, QApplication::applicationDisplayName(),
                                        "Templates.ini already exsits in this folder, override it?",
                                        QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            group.NewGroup(existing);
        } else {
            group.LoadFromFile(existing);
        }
        Replace(std::move(group));
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TfrmTempletIniMaker::BitBtn2Click() {
    if (!AskToSave())
        return;
    try {
        TTempletGroup group(setupDir_);
        group.LoadFromFile(JoinPath(setupDir_, "sample/templates.ini"));
        Replace(std::move(group));
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

bool TfrmTempletIniMaker::actUpdateExecute() {
    StoreControls();
    try {
        group_.SaveToFile();
    } catch (const std::exception& error) {
        ShowError(error);
        return false;
    }
    modified_ = false;
    UpdateActions();
    return true;
}

bool TfrmTempletIniMaker::AskToSave() {
    StoreControls();
    if (!modified_)
        return true;
    QMessageBox box(QMessageBox::Question, "Confirm", "The file has changed.\nDo you want to save the changes?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return actUpdateExecute();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TfrmTempletIniMaker::btnTempletAddClick() {
    StoreControls();
    group_.AddNew();
    ShowGroup();
    cbTempletsChange(group_.Count() - 1);
    modified_ = true;
    UpdateActions();
}

void TfrmTempletIniMaker::btnTempletDelClick() {
    const int index = cbTemplets->currentIndex();
    if (index <= 0)
        return;
    StoreControls();
    group_.Delete(index);
    // The entries after it have moved up; storing now would write into the wrong one.
    shownIndex_ = -1;
    ShowGroup();
    modified_ = true;
    UpdateActions();
}

void TfrmTempletIniMaker::SpeedButton1Click() {
    cbType->setCurrentIndex(-1);
    StoreControls();
    // A code the combo cannot show leaves it empty already; Unselect still means "no own type".
    if (shownIndex_ >= 0 && group_.Items(shownIndex_).Type != -1) {
        group_.Items(shownIndex_).Type = -1;
        modified_ = true;
        UpdateActions();
    }
}

void TfrmTempletIniMaker::EditEntry(QListWidget* list, const ListTexts& texts, bool adding) {
    QListWidgetItem* item = adding ? nullptr : list->selectedItems().value(0);
    if (!adding && !item)
        return;
    TfrmCopyAs dialog(this);
    dialog.setWindowTitle(adding ? texts.addCaption : texts.editCaption);
    dialog.Label1->setText(texts.sourceLabel);
    dialog.Label2->setText(texts.destinationLabel);
    if (item) {
        const NameValue parts = SplitNameValue(ToBytes(item->text()));
        dialog.edtSourceFiles->setText(FromBytes(parts.Name));
        dialog.edtCopyAs->setText(FromBytes(parts.Value));
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (item) {
        item->setText(dialog.Entry());
    } else {
        list->addItem(dialog.Entry());
        list->setCurrentRow(list->count() - 1);
    }
    StoreControls();
}

void TfrmTempletIniMaker::DeleteEntry(QListWidget* list) {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (chosen.isEmpty())
        return;
    delete list->takeItem(list->row(chosen.first()));
    StoreControls();
}

void TfrmTempletIniMaker::ShowError(const std::exception& error) {
    ShowErrorBox(this, error);
}

void TfrmTempletIniMaker::closeEvent(QCloseEvent* event) {
    if (!AskToSave()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace leafsmith
