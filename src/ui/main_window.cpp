#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "core/files.h"
#include "output/settings.h"
#include "ui/about_box.h"
#include "ui/add_files_by_folder.h"
#include "ui/compile_hhp.h"
#include "ui/designer.h"
#include "ui/list_box_extend_event.h"
#include "ui/output_settings.h"
#include "ui/pictures.h"
#include "ui/preview_structure.h"
#include "ui/spin_edit.h"
#include "ui/templet_ini_maker.h"
#include "ui/templet_manager.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

namespace {

constexpr int CreatePageIndex = 7;
constexpr int OutputSettingsPageIndex = 6;

QString ProjectFilter() {
    return "Project File (*.lfx)";
}

}  // namespace

template <typename T>
T* TfrmMain::Control(const char* name) const {
    return findChild<T*>(name);
}

TfrmMain::TfrmMain(const std::string& setupDir, const std::string& projectPath, QWidget* parent)
    : QMainWindow(parent), Options(setupDir), FormatCopy(setupDir), setupDir_(setupDir) {
    titlePrefix_ = QApplication::applicationDisplayName() + " - ";
    setWindowIcon(Picture("leafsmith"));
    AskOpenFile = [this](const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(this, caption, QString(), filter);
    };
    AskSaveFile = [this](const QString& caption, const QString& filter, const QString& suggested) {
        QString chosen = QFileDialog::getSaveFileName(this, caption, suggested, filter);
        if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
            chosen += ".lfx";
        return chosen;
    };
    AskTextFiles = [this] {
        return QFileDialog::getOpenFileNames(this, "Add Files", QString(), "Text Files (*.txt);;All Files (*)");
    };
    AskFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, "Select a folder:", start);
    };
    OpenWithDesktop = [](const QString& target) {
        const QUrl url =
            target.contains("://") || target.startsWith("mailto:") ? QUrl(target) : QUrl::fromLocalFile(target);
        return QDesktopServices::openUrl(url);
    };

    BuildPages();
    BuildActions();
    listEditor_ = std::make_unique<TListBoxExtendEvent>(Control<QListWidget>("lbFileList"));
    listEditor_->SetRemoveDuplicates(Control<QCheckBox>("cbRemoveDup")->isChecked());

    Guarded([&] {
        if (projectPath.empty()) {
            LoadProject(JoinPath(setupDir_, "default.lfx"), "");
        } else {
            LoadProject(projectPath, projectPath);
        }
    });
    ProjectChanged = false;
    OptionsToForm();
    QSettings settings;
    ShowSamplesMenu(settings.value("ShowSamplesMenu", actShowSamples_->isChecked()).toBool());
    resize(820, 640);

    // The dialogs that live as long as the program, made after the main window.
    designer_ = new TfrmDesigner(this);
    selection_ = new TfrmSelectTemplet(setupDir_, this);
    settings_ = new TfrmSetting(setupDir_, designer_, selection_, this);
    about_ = new TfrmAbout(this);
    compile_ = new TfrmCompileHHP(this);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildActions() {
    auto action = [this](const char* name, const QString& caption, const char* picture = nullptr) {
        auto* made = new QAction(caption, this);
        made->setObjectName(name);
        if (picture)
            made->setIcon(Picture(picture));
        return made;
    };
    QAction* actNew = action("actNew", "New Project", "toolbar/new");
    actNew->setIconText("New");
    actNew->setShortcut(QKeySequence::New);
    QAction* actOpenProject = action("actOpenProject", "Open", "toolbar/open");
    QAction* actSave = action("actSave", "Save", "toolbar/save");
    actSave->setShortcut(QKeySequence::Save);
    QAction* actSaveAs = action("actSaveAs", "Save As...");
    QAction* fileExit = action("FileExit1", "E&xit");
    QAction* actMake = action("actMake", "Create", "toolbar/create");
    actMake->setShortcut(Qt::Key_F9);
    QAction* actBrowser = action("actBrowser", "&Browse", "toolbar/browse");
    QAction* actHelp = action("actHowToUse", "&How to use...", "toolbar/help");
    actHelp->setIconText("Help");
    actHelp->setShortcut(QKeySequence::HelpContents);
    actShowSamples_ = action("actShowSamples", "Show Samples Menu");
    actShowSamples_->setCheckable(true);
    actShowSamples_->setChecked(true);
    QAction* actAbout = action("actAbout", "&About");
    actPrevious_ = action("actPrevious", "Previous", "toolbar/previous");
    actPrevious_->setToolTip("Go back to the previous tab");
    actNext_ = action("actNext", "Next", "toolbar/next");
    actNext_->setToolTip("Go to the next tab");

    connect(actNew, &QAction::triggered, this, [this] { actNewExecute(); });
    connect(actOpenProject, &QAction::triggered, this, [this] { actOpenProjectExecute(); });
    connect(actSave, &QAction::triggered, this, [this] { Guarded([this] { SaveProject(); }); });
    connect(actSaveAs, &QAction::triggered, this, [this] { Guarded([this] { actSaveAsExecute(); }); });
    connect(fileExit, &QAction::triggered, this, &QWidget::close);
    connect(actMake, &QAction::triggered, this, [this] { actMakeExecute(); });
    connect(actBrowser, &QAction::triggered, this, [this] { actBrowserExecute(); });
    connect(actHelp, &QAction::triggered, this, [this] { HowToUse(); });
    connect(actShowSamples_, &QAction::triggered, this, [this](bool shown) { ShowSamplesMenu(shown); });
    connect(actAbout, &QAction::triggered, this, [this] { about_->exec(); });
    connect(actPrevious_, &QAction::triggered, this, [this] { pcMain_->setCurrentIndex(pcMain_->currentIndex() - 1); });
    connect(actNext_, &QAction::triggered, this, [this] { pcMain_->setCurrentIndex(pcMain_->currentIndex() + 1); });
    auto updatePaging = [this](int page) {
        actPrevious_->setEnabled(page > 0);
        actNext_->setEnabled(page < pcMain_->count() - 1);
    };
    connect(pcMain_, &QTabWidget::currentChanged, this, updatePaging);
    updatePaging(pcMain_->currentIndex());

    QMenu* project = menuBar()->addMenu("&Project");
    project->addActions({actNew, actOpenProject, actSave, actSaveAs});
    project->addSeparator();
    project->addAction(fileExit);
    QMenu* templates = menuBar()->addMenu("&Template");
    QAction* manager = templates->addAction("Template Group Manager...");
    manager->setObjectName("actTemplateManager");
    connect(manager, &QAction::triggered, this, [this] {
        TfrmTempletManager dialog(setupDir_, this);
        dialog.exec();
    });
    QAction* editor = templates->addAction("Templates.ini Editor...");
    editor->setObjectName("actTemplatesIniEditor");
    connect(editor, &QAction::triggered, this, [this] { (new TfrmTempletIniMaker(setupDir_, this))->show(); });
    QMenu* toolsMenu = menuBar()->addMenu("T&ools");
    QAction* compile = toolsMenu->addAction("Compile CHM Project...");
    compile->setObjectName("actCompileProject");
    connect(compile, &QAction::triggered, this, [this] { compile_->exec(); });
    examplesMenu_ = menuBar()->addMenu("Ex&amples");
    const std::pair<const char*, const char*> examples[] = {
        {"Example 1 (All formats)", "Examples/Example1.lfx"},
        {"Example 2 (E-book)", "Examples/Example2.lfx"},
        {"Example 3 (FAQ)", "Examples/Example3.lfx"},
        {"Example 4 (One file a topic)", "Examples/Example4.lfx"},
    };
    for (const auto& [caption, file] : examples) {
        const std::string path = JoinPath(setupDir_, file);
        QAction* example = examplesMenu_->addAction(caption);
        example->setObjectName(QString("actExample") + file[16]);
        connect(example, &QAction::triggered, this, [this, path] { OpenProjectFile(path); });
    }
    examplesMenu_->addSeparator();
    QAction* folder = examplesMenu_->addAction("Browser Examples Folder");
    connect(folder, &QAction::triggered, this, [this] { OpenWithDesktop(FromBytes(JoinPath(setupDir_, "Examples"))); });
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(actHelp);
    help->addAction(actShowSamples_);
    help->addSeparator();
    help->addAction(actAbout);

    QToolBar* tools = addToolBar("Tools");
    tools->setObjectName("ToolBar1");
    tools->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tools->setMovable(false);
    tools->addActions({actNew, actOpenProject, actSave});
    tools->addSeparator();
    tools->addAction(actMake);
    tools->addSeparator();
    tools->addActions({actPrevious_, actNext_});
    tools->addSeparator();
    tools->addAction(actHelp);

    auto* welcome = new QLabel("Welcome to use Quorvane Leafsmith");
    statusBar()->addWidget(welcome, 1);
    statusBar()->addWidget(new QLabel, 1);

    // The buttons of the pages.
    auto clicked = [this](const char* button, auto handler) {
        connect(Control<QAbstractButton>(button), &QAbstractButton::clicked, this, handler);
    };
    Control<QPushButton>("btnMake")->addAction(actMake);
    clicked("btnMake", [this] { actMakeExecute(); });
    clicked("btnBrowser", [this] { actBrowserExecute(); });
    clicked("btnPreviewStucture", [this] { btnPreviewStuctureClick(); });
    clicked("btnSourcePath", [this] { SelectAFolder("edtSourcePath"); });
    clicked("btnIncludePath", [this] { SelectAFolder("edtIncludePath"); });
    clicked("btnOutDir", [this] { SelectAFolder("edtOutDir"); });
    clicked("sbUp", [this] { listEditor_->MoveUp(); });
    clicked("sbDown", [this] { listEditor_->MoveDown(); });
    clicked("sbAllup", [this] { listEditor_->MoveToTop(); });
    clicked("sbAllDown", [this] { listEditor_->MoveToBottom(); });
    clicked("btnSelectAll", [this] { listEditor_->SelectAll(); });
    clicked("btnDelete", [this] { listEditor_->DeleteSelected(); });
    clicked("btnSortItems", [this] { listEditor_->SortItems(); });
    clicked("cbRemoveDup", [this](bool checked) { listEditor_->SetRemoveDuplicates(checked); });
    QAction* addFiles = action("actSelectFile", "&Add Files...");
    addFiles->setShortcut(Qt::CTRL | Qt::Key_O);
    addAction(addFiles);
    connect(addFiles, &QAction::triggered, this, [this] {
        const QStringList files = AskTextFiles();
        if (!files.isEmpty())
            listEditor_->AddFiles(files);
    });
    clicked("btnAddFiles", [addFiles] { addFiles->trigger(); });
    clicked("btnAddFilesByFolder", [this] {
        TfrmAddFilesByFolder dialog(this);
        if (dialog.exec() == QDialog::Accepted)
            listEditor_->SetEntries(dialog.Found());
    });
    Control<QListWidget>("lbFileList")->installEventFilter(this);

    for (const auto& [add, del, target] : {std::tuple{"btnSubheadingAdd", "btnSubheadingDel", "lbNotSubheadingEnds"},
                                           std::tuple{"btnIllustrativeAdd", "btnIllustrativeDel", "lbIllustrativeEnds"},
                                           std::tuple{"btnTermsAdd", "btnTermsDel", "lbTermsEnds"},
                                           std::tuple{"btnRemindersAdd", "btnRemindersDel", "lbReminders"}}) {
        const char* listName = target;
        clicked(add, [this, listName] { AddToListBox(listName); });
        clicked(del, [this, listName] { DelFromListBox(listName); });
    }

    // The enabling rules run when one of their controls is clicked.
    for (const char* name : {"rbBlock1", "rbOneOrMorePerFile", "rbBlock2", "rbBlock3", "rbBlock4"})
        clicked(name, [this] { rbBlock1Click(); });
    for (const char* name : {"rbLevelSign", "rbNumOfSigns"})
        clicked(name, [this] { rbNumOfSignsClick(); });
    for (const char* name : {"cbSubheading", "cbIllustrativeTitle", "cbTerms", "cbReminders"})
        clicked(name, [this] { cbSubheadingClick(); });
    clicked("cbEnableTextAnalysis", [this] { cbEnableTextAnalysisClick(); });
    for (const char* name : {"cbArrow", "cbBullet", "cbNumbering"})
        clicked(name, [this] { cbArrowClick(); });
    for (const char* name : {"cbChm", "cbWebsite", "cbEbook", "cbFAQ", "cbSingleHTML"})
        clicked(name, [this] { EnableDisableOutputButton(); });
    int format = 0;
    for (const char* name : {"btnChm", "btnWebsite", "btnEbook", "btnFAQ", "btnSingleHTML"}) {
        const int shown = format++;
        clicked(name, [this, shown] { OpenFormatSettings(shown); });
    }

    // A destination folder is a name inside the output, not a path from its root.
    auto* destination = Control<QLineEdit>("edtDestFolder");
    connect(destination, &QLineEdit::editingFinished, this, [this, destination] {
        if (destination->text().startsWith('\\')) {
            QMessageBox::warning(this, QApplication::applicationDisplayName(),
                                 "Destination folder name cannot begin with \"\\\"!");
            destination->setFocus();
            destination->selectAll();
        }
    });
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    // In the text-file list, Del (with any modifier keys) deletes and Ctrl+A selects everything.
    if (watched == listEditor_->ListBox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            listEditor_->DeleteSelected();
            return true;
        }
        if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier) {
            listEditor_->SelectAll();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Controls and options -------------------------------------------------------------------------

FormValues TfrmMain::ReadForm() const {
    FormValues form;
    for (const ControlBinding& binding : MainFormBindings) {
        QWidget* widget = Control<QWidget>(binding.Control);
        switch (binding.Kind) {
            case Transfer::Text:
            case Transfer::TrimmedText: {
                QString text;
                if (auto* edit = qobject_cast<QLineEdit*>(widget))
                    text = edit->text();
                else if (auto* combo = qobject_cast<QComboBox*>(widget))
                    text = combo->currentText();
                auto shown = std::find_if(shownTexts_.begin(), shownTexts_.end(),
                                          [&](const auto& entry) { return entry.first == binding.Control; });
                form.emplace_back(shown != shownTexts_.end() && FromBytes(shown->second) == text ? shown->second
                                                                                                 : ToBytes(text));
                break;
            }
            case Transfer::Integer:
                form.emplace_back(ToBytes(static_cast<TSpinEdit*>(widget)->Text()));
                break;
            case Transfer::Check:
                form.emplace_back(static_cast<QAbstractButton*>(widget)->isChecked());
                break;
            case Transfer::Index:
                form.emplace_back(static_cast<int32_t>(static_cast<QComboBox*>(widget)->currentIndex()));
                break;
            case Transfer::List:
                form.emplace_back(TListBoxExtendEvent(static_cast<QListWidget*>(widget)).Entries());
                break;
        }
    }
    return form;
}

void TfrmMain::WriteForm(const FormValues& values) {
    shownTexts_.clear();
    for (size_t i = 0; i < MainFormBindings.size(); ++i) {
        const ControlBinding& binding = MainFormBindings[i];
        QWidget* widget = Control<QWidget>(binding.Control);
        const ControlValue& value = values[i];
        switch (binding.Kind) {
            case Transfer::Text:
            case Transfer::TrimmedText: {
                const std::string& bytes = std::get<std::string>(value);
                shownTexts_.emplace_back(binding.Control, bytes);
                if (auto* edit = qobject_cast<QLineEdit*>(widget))
                    edit->setText(FromBytes(bytes));
                else if (auto* combo = qobject_cast<QComboBox*>(widget))
                    combo->setCurrentText(FromBytes(bytes));
                break;
            }
            case Transfer::Integer:
                static_cast<TSpinEdit*>(widget)->SetText(FromBytes(std::get<std::string>(value)));
                break;
            case Transfer::Check: {
                auto* button = static_cast<QAbstractButton*>(widget);
                // A stored project may check none of a group of radio buttons.
                QButtonGroup* group = button->group();
                const bool exclusive = group && group->exclusive();
                if (exclusive)
                    group->setExclusive(false);
                button->setChecked(std::get<bool>(value));
                if (exclusive)
                    group->setExclusive(true);
                break;
            }
            case Transfer::Index: {
                auto* combo = static_cast<QComboBox*>(widget);
                const int32_t row = std::get<int32_t>(value);
                combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
                break;
            }
            case Transfer::List:
                if (widget == listEditor_->ListBox)
                    listEditor_->SetEntries(std::get<StringList>(value));
                else
                    TListBoxExtendEvent(static_cast<QListWidget*>(widget)).SetEntries(std::get<StringList>(value));
                break;
        }
    }
    listEditor_->SetRemoveDuplicates(Control<QCheckBox>("cbRemoveDup")->isChecked());
}

void TfrmMain::FormToOptions() {
    const FormValues form = ReadForm();
    if (leafsmith::IsFormChanged(form, FormatCopy, Options))
        ProjectChanged = true;
    leafsmith::FormToOptions(form, FormatCopy, Options);
}

void TfrmMain::OptionsToForm() {
    WriteForm(OptionsToFormValues(Options));
    CopyFormatSettings(Options, FormatCopy);
    SetCaption();
    pcMain_->setCurrentIndex(0);
    ApplyEnablingRules();
}

bool TfrmMain::IsFormChanged() const {
    return leafsmith::IsFormChanged(ReadForm(), FormatCopy, Options);
}

void TfrmMain::SetCaption() {
    setWindowTitle(titlePrefix_ +
                   (CurrentProjectPath.empty() ? QString("Unnamed.lfx") : FromBytes(FileNameOf(CurrentProjectPath))));
}

// --- Enabling rules --------------------------------------------------------------------------------

void TfrmMain::rbBlock1Click() {
    auto checked = [this](const char* name) { return Control<QAbstractButton>(name)->isChecked(); };
    const SeparationEnabling rule =
        SeparationRule(checked("rbBlock1"), checked("rbBlock2"), checked("rbBlock3"), checked("rbBlock4"));
    for (const char* name : {"rbBlock2", "rbBlock3", "rbBlock4"})
        Control<QWidget>(name)->setEnabled(rule.OtherChoices);
    Control<QWidget>("cbFileNameTitle")->setEnabled(rule.FileNameTitle);
    for (const char* name : {"lblAtLeast", "lblLines", "edtAtLeast"})
        Control<QWidget>(name)->setEnabled(rule.AtLeast);
    for (const char* name : {"lblLineSign", "edtLineSign"})
        Control<QWidget>(name)->setEnabled(rule.LineSign);
    for (const char* name : {"lblHeadSign", "edtHeadSign"})
        Control<QWidget>(name)->setEnabled(rule.HeadSign);
}

void TfrmMain::rbNumOfSignsClick() {
    const HierarchyEnabling rule = HierarchyRule(Control<QAbstractButton>("rbNumOfSigns")->isChecked());
    for (const char* name : {"lblAddOne", "lblMinusOne", "lblBackTo", "edtAddOne", "edtMinusOne", "edtBackTo"})
        Control<QWidget>(name)->setEnabled(rule.LevelTags);
    if (rule.ForceTitleTags) {
        Control<QAbstractButton>("rbOneOrMorePerFile")->setChecked(true);
        Control<QAbstractButton>("rbBlock4")->setChecked(true);
        rbBlock1Click();
    }
    for (const char* name : {"rbBlock1", "rbBlock2", "rbBlock3"})
        Control<QWidget>(name)->setEnabled(rule.OtherSeparations);
}

void TfrmMain::cbSubheadingClick() {
    for (const auto& [group, heading] :
         {std::pair{"gbSubheadings", "cbSubheading"}, std::pair{"gbIllustrativeTitle", "cbIllustrativeTitle"},
          std::pair{"gbTerms", "cbTerms"}, std::pair{"gbReminders", "cbReminders"}}) {
        const bool on = Control<QAbstractButton>(heading)->isChecked();
        for (QWidget* child : Control<QGroupBox>(group)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->objectName() != heading)
                child->setEnabled(on);
        }
    }
}

void TfrmMain::cbEnableTextAnalysisClick() {
    const bool on = Control<QAbstractButton>("cbEnableTextAnalysis")->isChecked();
    for (const char* group : {"gbTextAnaGeneral", "gbSubheadings", "gbIllustrativeTitle", "gbTerms", "gbReminders"}) {
        for (QWidget* child : Control<QGroupBox>(group)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->setEnabled(on);
    }
    if (on) {
        cbSubheadingClick();
        cbArrowClick();
    }
}

void TfrmMain::cbArrowClick() {
    auto checked = [this](const char* name) { return Control<QAbstractButton>(name)->isChecked(); };
    const ListMarkerEnabling rule = ListMarkerRule(checked("cbArrow"), checked("cbBullet"), checked("cbNumbering"));
    for (const char* name : {"lblArrowSign", "edtArrowSign"})
        Control<QWidget>(name)->setEnabled(rule.Arrow);
    for (const char* name : {"lblBulletSign", "edtBulletSign"})
        Control<QWidget>(name)->setEnabled(rule.Bullet);
    for (const char* name : {"lblNumberingSign", "edtNumberingSign"})
        Control<QWidget>(name)->setEnabled(rule.Numbering);
    for (const char* name : {"lblJoinLines", "edtJoinLines"})
        Control<QWidget>(name)->setEnabled(rule.JoinLines);
}

void TfrmMain::EnableDisableOutputButton() {
    for (const auto& [check, button] :
         {std::pair{"cbChm", "btnChm"}, std::pair{"cbWebsite", "btnWebsite"}, std::pair{"cbEbook", "btnEbook"},
          std::pair{"cbFAQ", "btnFAQ"}, std::pair{"cbSingleHTML", "btnSingleHTML"}}) {
        Control<QWidget>(button)->setEnabled(Control<QAbstractButton>(check)->isChecked());
    }
}

void TfrmMain::ApplyEnablingRules() {
    rbBlock1Click();
    rbNumOfSignsClick();
    EnableDisableOutputButton();
    cbEnableTextAnalysisClick();
}

// --- Page handlers ---------------------------------------------------------------------------------

void TfrmMain::SelectAFolder(const char* field) {
    auto* edit = Control<QLineEdit>(field);
    const QString start = QDir(edit->text()).exists() ? edit->text() : QString();
    const QString chosen = AskFolder(start);
    if (!chosen.isEmpty())
        edit->setText(chosen);
}

void TfrmMain::AddToListBox(const char* list) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        this, "Add a string",
        "Entre a string (Replace blank spaces on the head or the tail with \"[BS]\"): ", QLineEdit::Normal, QString(),
        &accepted);
    if (!accepted)
        return;
    TListBoxExtendEvent editor(Control<QListWidget>(list));
    StringList entries = editor.Entries();
    if (AddToStringList(entries, ToBytes(text)))
        editor.SetEntries(entries);
}

void TfrmMain::DelFromListBox(const char* list) {
    TListBoxExtendEvent(Control<QListWidget>(list)).DeleteSelected();
}

// --- Project commands ------------------------------------------------------------------------------

void TfrmMain::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const EUsed&) {
    } catch (const std::exception& error) {
        ShowErrorBox(this, error);
    }
}

void TfrmMain::LoadProject(const std::string& path, const std::string& shownPath) {
    TProjectOption loaded(setupDir_);
    loaded.LoadFromFile(path);
    Options = loaded;
    CurrentProjectPath = shownPath;
}

bool TfrmMain::AskToSave() {
    if (!ProjectChanged)
        return true;
    QMessageBox box(QMessageBox::Question, "Confirm", "The project has changed.\nDo you want to save the changes?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveProject();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TfrmMain::actNewExecute() {
    Guarded([this] {
        FormToOptions();
        if (!AskToSave())
            return;
        LoadProject(JoinPath(setupDir_, "default.lfx"), "");
        ProjectChanged = false;
        mmMakeInfo_->clear();
        Session.BrowseTarget.clear();
        OptionsToForm();
    });
}

void TfrmMain::actOpenProjectExecute() {
    Guarded([this] {
        FormToOptions();
        if (!AskToSave())
            return;
        const QString chosen = AskOpenFile("Open", ProjectFilter());
        if (chosen.isEmpty())
            return;
        LoadProject(ToBytes(chosen), ToBytes(chosen));
        ProjectChanged = false;
        mmMakeInfo_->clear();
        repaint();
        Session.BrowseTarget.clear();
        OptionsToForm();
    });
}

void TfrmMain::OpenProjectFile(const std::string& path) {
    Guarded([&] {
        FormToOptions();
        if (!AskToSave())
            return;
        LoadProject(path, path);
        ProjectChanged = false;
        mmMakeInfo_->clear();
        Session.BrowseTarget.clear();
        OptionsToForm();
    });
}

bool TfrmMain::SaveProject() {
    if (CurrentProjectPath.empty())
        return actSaveAsExecute();
    FormToOptions();
    Options.SaveToFile(CurrentProjectPath);
    ProjectChanged = false;
    return true;
}

bool TfrmMain::actSaveAsExecute() {
    const QString suggested = CurrentProjectPath.empty() ? QString("Unnamed.lfx") : FromBytes(CurrentProjectPath);
    const QString chosen = AskSaveFile("Save As", ProjectFilter(), suggested);
    if (chosen.isEmpty())
        return false;
    FormToOptions();
    Options.SaveToFile(ToBytes(chosen));
    CurrentProjectPath = ToBytes(chosen);
    ProjectChanged = false;
    OptionsToForm();
    return true;
}

// --- The build ---------------------------------------------------------------------------------------

void TfrmMain::SetBuilding(bool building) {
    building_ = building;
    // While a build runs, nothing may start another one, load a project or change its settings.
    for (const char* name : {"actNew", "actOpenProject", "actSave", "actSaveAs", "actMake"})
        Control<QAction>(name)->setEnabled(!building);
    for (const char* name : {"btnMake", "btnPreviewStucture", "btnBrowser"})
        Control<QWidget>(name)->setEnabled(!building);
    examplesMenu_->setEnabled(!building);
    for (int page = 0; page < pcMain_->count(); ++page) {
        if (page != CreatePageIndex)
            pcMain_->widget(page)->setEnabled(!building);
    }
}

void TfrmMain::actMakeExecute() {
    if (building_)
        return;
    Guarded([this] {
        FormToOptions();
        pcMain_->setCurrentIndex(CreatePageIndex);
        SetBuilding(true);
        struct Restore {
            TfrmMain* window;
            ~Restore() { window->SetBuilding(false); }
        } restore{this};
        bool stopping = false;
        auto processEvents = [this, &stopping] {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            if (closeAfterBuild_ && !stopping) {
                stopping = true;
                throw EUsed();
            }
        };
        TWindowSink sink(this, mmMakeInfo_, processEvents);
        BuildEnvironment environment;
        environment.ProcessEvents = processEvents;
        environment.Questions = &sink;
        const MakeResult result = RunMake(Options, sink, environment, Session);
        if (result == MakeResult::NoOutputFolder) {
            pcMain_->setCurrentIndex(OutputSettingsPageIndex);
            Control<QLineEdit>("edtOutDir")->setFocus();
        }
    });
    if (closeAfterBuild_) {
        closeAfterBuild_ = false;
        close();
    }
}

void TfrmMain::actBrowserExecute() {
    if (!Session.BrowseTarget.empty())
        OpenWithDesktop(FromBytes(Options.ResolvePath(Session.BrowseTarget)));
}

void TfrmMain::OpenFormatSettings(int format) {
    settings_->SetPage(format);
    settings_->CopyFrom(FormatCopy);
    if (format < 4) {
        try {
            settings_->RefreshTemplatePreview(format);
        } catch (const std::exception& error) {
            QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                            ShownText(error.what()) + " Please select a new template.", QMessageBox::Yes, this);
            box.exec();
        }
    }
    if (settings_->exec() == QDialog::Accepted)
        settings_->CopyTo(FormatCopy);
}

void TfrmMain::btnPreviewStuctureClick() {
    Guarded([this] {
        FormToOptions();
        TfrmPreviewStructure preview(Options, this);
        preview.exec();
    });
}

// --- Help, samples, closing ------------------------------------------------------------------------

void TfrmMain::ShowSamplesMenu(bool shown) {
    actShowSamples_->setChecked(shown);
    examplesMenu_->menuAction()->setVisible(shown);
}

void TfrmMain::HowToUse() {
    const QString manual = FromBytes(JoinPath(setupDir_, "manual.chm"));
    QProcess query;
    query.start("xdg-mime", {"query", "default", "application/vnd.ms-htmlhelp"});
    const bool known = query.waitForFinished(3000) && !query.readAllStandardOutput().trimmed().isEmpty();
    if (known && OpenWithDesktop(manual))
        return;
    const QString pages = FromBytes(JoinPath(setupDir_, "manual-html/index.htm"));
    QString text =
        "There is no program for help files (.chm) on this system. Install one, for example with:\n\n"
        "    sudo apt install xchm\n\nThe manual is \"" +
        manual + "\".";
    if (QFileInfo::exists(pages)) {
        if (QMessageBox::question(this, QApplication::applicationDisplayName(),
                                  text + "\n\nOpen the manual's web pages instead?") == QMessageBox::Yes) {
            OpenWithDesktop(pages);
        }
        return;
    }
    QMessageBox::information(this, QApplication::applicationDisplayName(), text);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (building_) {
        event->ignore();
        if (QMessageBox::question(this, QApplication::applicationDisplayName(),
                                  "A build is running. Stop it and close the window?") == QMessageBox::Yes) {
            closeAfterBuild_ = true;
        }
        return;
    }
    // Open templates.ini editors ask about their own changes first; one that stays keeps the program open.
    for (auto* editor : findChildren<TfrmTempletIniMaker*>()) {
        if (!editor->close()) {
            event->ignore();
            return;
        }
    }
    bool mayClose = false;
    Guarded([&] {
        FormToOptions();
        mayClose = AskToSave();
    });
    if (!mayClose) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue("ShowSamplesMenu", actShowSamples_->isChecked());
    event->accept();
}

}  // namespace leafsmith
