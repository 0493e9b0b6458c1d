// The eight pages of the main window: their controls, named as the project file names them.
#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/option_tables.h"
#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/spin_edit.h"

namespace leafsmith {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* Edit(const char* name) {
    return Named(new QLineEdit, name);
}

QCheckBox* Check(const char* name, const QString& caption) {
    return Named(new QCheckBox(caption), name);
}

QRadioButton* Radio(const char* name, const QString& caption) {
    return Named(new QRadioButton(caption), name);
}

QPushButton* Button(const char* name, const QString& caption) {
    return Named(new QPushButton(caption), name);
}

QLabel* Label(const QString& caption, QWidget* buddy, const char* name = nullptr) {
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    if (name)
        label->setObjectName(name);
    return label;
}

QToolButton* PictureButton(const char* name, const char* picture, const QString& hint) {
    auto* button = Named(new QToolButton, name);
    button->setIcon(Picture(picture));
    button->setToolTip(hint);
    button->setAutoRaise(false);
    return button;
}

QListWidget* List(const char* name, bool several) {
    auto* list = Named(new QListWidget, name);
    list->setSelectionMode(several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    return list;
}

QComboBox* TableList(const char* name, const auto& rows) {
    auto* combo = Named(new QComboBox, name);
    for (std::string_view row : rows)
        combo->addItem(QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size())));
    combo->setMaxVisibleItems(20);
    return combo;
}

// An edit with its folder button beside it.
QHBoxLayout* WithFolderButton(QLineEdit* edit, QToolButton* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}

QFormLayout* Form() {
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

QGroupBox* Group(const QString& title, QLayout* content, const char* name = nullptr) {
    auto* group = new QGroupBox(title);
    if (name)
        group->setObjectName(name);
    group->setLayout(content);
    return group;
}

// Radio buttons that belong together; a project may leave all of them unchecked.
void Together(QWidget* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* button : buttons)
        group->addButton(button);
}

}  // namespace

QWidget* TfrmMain::Page(const QString& heading, QLayout* content, bool fill) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(heading);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    title->setFont(font);
    layout->addWidget(title);
    layout->addLayout(content, fill ? 1 : 0);
    if (!fill)
        layout->addStretch(1);
    // The labels of all the forms on a page share one column width, so their fields line up.
    const QList<QFormLayout*> forms = page->findChildren<QFormLayout*>();
    int widest = 0;
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole); label && label->widget())
                widest = std::max(widest, label->widget()->sizeHint().width());
        }
    }
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole); label && label->widget())
                label->widget()->setMinimumWidth(widest);
        }
    }
    return page;
}

QWidget* TfrmMain::GeneralPage() {
    auto* basic = Form();
    auto* title = Edit("edtProjectTitle");
    basic->addRow(Label("Project Title:", title), title);

    auto* resource = Form();
    auto* source = Edit("edtSourcePath");
    auto* sourceButton = PictureButton("btnSourcePath", "toolbar/folder", "Choose the folder");
    resource->addRow(Label("Source path:", source), WithFolderButton(source, sourceButton));
    auto* destination = Edit("edtDestFolder");
    resource->addRow(Label("Destination folder name:", destination), destination);

    auto* included = Form();
    auto* include = Edit("edtIncludePath");
    auto* includeButton = PictureButton("btnIncludePath", "toolbar/folder", "Choose the folder");
    included->addRow(Label("Included files path:", include), WithFolderButton(include, includeButton));

    auto* layout = new QVBoxLayout;
    layout->addWidget(Group("Basic Infomation", basic));
    layout->addWidget(Group("Resource (images, flash files, etc.)", resource));
    layout->addWidget(Group("Included files:", included));
    return Page("General", layout);
}

QWidget* TfrmMain::TextFilesPage() {
    auto* files = List("lbFileList", true);
    auto* moves = new QVBoxLayout;
    moves->addWidget(PictureButton("sbAllup", "toolbar/top", "Move to top"));
    moves->addWidget(PictureButton("sbUp", "toolbar/up", "Move up a level"));
    moves->addWidget(PictureButton("sbDown", "toolbar/down", "Move down a level"));
    moves->addWidget(PictureButton("sbAllDown", "toolbar/bottom", "Move to bottom"));
    moves->addStretch(1);

    auto* commands = new QVBoxLayout;
    commands->addWidget(Button("btnAddFilesByFolder", "Add Files by Folder..."));
    commands->addWidget(Button("btnAddFiles", "&Add Files..."));
    commands->addWidget(Button("btnSelectAll", "Select All"));
    commands->addWidget(Button("btnSortItems", "Sort itmes"));
    commands->addWidget(Button("btnDelete", "Delete"));
    commands->addSpacing(12);
    commands->addWidget(Check("cbRemoveDup", "Remove Duplicates"));
    commands->addStretch(1);

    auto* layout = new QHBoxLayout;
    layout->addLayout(moves);
    layout->addWidget(files, 1);
    layout->addLayout(commands);
    return Page("Text Files", layout, true);
}

QWidget* TfrmMain::SeparatingPage() {
    auto* levelSign = Radio("rbLevelSign", "By level tags each that occupies a whole line");
    auto* numOfSigns = Radio("rbNumOfSigns", "By the number of the tags in front of the title lines");
    Together(this, {levelSign, numOfSigns});
    auto* levels = Form();
    auto* addOne = Edit("edtAddOne");
    auto* minusOne = Edit("edtMinusOne");
    auto* backTo = Edit("edtBackTo");
    for (QLineEdit* edit : {addOne, minusOne, backTo})
        edit->setMaximumWidth(160);
    levels->addRow(Label("Add a level:", addOne, "lblAddOne"), addOne);
    levels->addRow(Label("Reduce a level:", minusOne, "lblMinusOne"), minusOne);
    levels->addRow(Label("Back to the root:", backTo, "lblBackTo"), backTo);
    auto* hierarchy = new QVBoxLayout;
    hierarchy->addWidget(levelSign);
    hierarchy->addWidget(numOfSigns);
    hierarchy->addLayout(levels);

    auto* useLevelSigns = Check("cbUseLevelSigns", "Use hierarchical list");
    useLevelSigns->setVisible(false);

    auto* block1 = Radio("rbBlock1", "One file is one topic");
    auto* oneOrMore = Radio("rbOneOrMorePerFile", "One or more topics per file. Separated by");
    Together(this, {block1, oneOrMore});
    auto* block2 = Radio("rbBlock2", "Blank Line(s)");
    auto* block3 = Radio("rbBlock3", "Tags occupying whole lines");
    auto* block4 = Radio("rbBlock4", "Tags in front of the title lines");
    Together(this, {block2, block3, block4});

    auto* atLeast = Named(new TSpinEdit(1, 999), "edtAtLeast");
    auto* lineSign = Edit("edtLineSign");
    auto* headSign = Edit("edtHeadSign");
    lineSign->setMaximumWidth(160);
    headSign->setMaximumWidth(160);
    auto* ways = new QGridLayout;
    ways->addWidget(block2, 0, 0);
    ways->addWidget(Label("At least", atLeast, "lblAtLeast"), 0, 1, Qt::AlignRight);
    auto* atLeastRow = new QHBoxLayout;
    atLeastRow->addWidget(atLeast);
    atLeastRow->addWidget(Label("lines", atLeast, "lblLines"));
    atLeastRow->addStretch(1);
    ways->addLayout(atLeastRow, 0, 2);
    ways->addWidget(block3, 1, 0);
    ways->addWidget(Label("Tag string:", lineSign, "lblLineSign"), 1, 1, Qt::AlignRight);
    ways->addWidget(lineSign, 1, 2);
    ways->addWidget(block4, 2, 0);
    ways->addWidget(Label("Tag string:", headSign, "lblHeadSign"), 2, 1, Qt::AlignRight);
    ways->addWidget(headSign, 2, 2);
    ways->setColumnStretch(2, 1);
    auto* waysBox = new QWidget;
    waysBox->setLayout(ways);
    waysBox->setContentsMargins(24, 0, 0, 0);

    auto* separating = new QVBoxLayout;
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(block1);
    firstRow->addSpacing(24);
    firstRow->addWidget(Check("cbFileNameTitle", "Use file names as titles"));
    firstRow->addStretch(1);
    separating->addLayout(firstRow);
    separating->addWidget(oneOrMore);
    separating->addWidget(waysBox);

    auto* layout = new QVBoxLayout;
    layout->addWidget(Group("How to arrange in a hierarchy", hierarchy));
    layout->addWidget(useLevelSigns);
    layout->addWidget(Group("Separating text into topics ", separating));
    auto* previewRow = new QHBoxLayout;
    previewRow->addStretch(1);
    auto* preview = Button("btnPreviewStucture", "Preview Structure");
    preview->setIcon(Picture("toolbar/preview"));
    previewRow->addWidget(preview);
    layout->addLayout(previewRow);
    return Page("Separating", layout);
}

QWidget* TfrmMain::TextAnalysisPage() {
    auto marker = [](const char* check, const QString& caption, const char* edit, const char* label) {
        auto* row = new QHBoxLayout;
        auto* sign = Edit(edit);
        sign->setMaximumWidth(80);
        row->addWidget(Check(check, caption));
        row->addStretch(1);
        row->addWidget(Label("Begin with", sign, label));
        row->addWidget(sign);
        return row;
    };
    auto* general = new QVBoxLayout;
    general->addLayout(marker("cbArrow", "Expandable Blocks", "edtArrowSign", "lblArrowSign"));
    general->addLayout(marker("cbBullet", "Bullets", "edtBulletSign", "lblBulletSign"));
    general->addLayout(marker("cbNumbering", "Numbering", "edtNumberingSign", "lblNumberingSign"));
    auto* joinRow = new QHBoxLayout;
    auto* joinLines = Edit("edtJoinLines");
    joinLines->setMaximumWidth(80);
    joinRow->addStretch(1);
    joinRow->addWidget(Label("Join lines with :", joinLines, "lblJoinLines"));
    joinRow->addWidget(joinLines);
    general->addLayout(joinRow);
    general->addWidget(Check("cbHR", "Horizontal lines"));
    general->addStretch(1);

    // A group headed by its check box: a list with Add and Delete, and a length limit where it has one.
    auto analysed = [](const char* group, const char* check, const QString& caption, const QString& listCaption,
                       const char* list, const char* add, const char* del, const char* limit, int maximum) {
        auto* layout = new QGridLayout;
        layout->addWidget(Check(check, caption), 0, 0, 1, 3);
        auto* entries = List(list, false);
        entries->setMinimumHeight(72);
        layout->addWidget(Label(listCaption, entries), 1, 0, Qt::AlignTop);
        layout->addWidget(entries, 1, 1);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(Button(add, "Add"));
        buttons->addWidget(Button(del, "Delete"));
        buttons->addStretch(1);
        layout->addLayout(buttons, 1, 2);
        if (limit) {
            auto* spin = Named(new TSpinEdit(1, maximum), limit);
            layout->addWidget(Label("Shorter than:", spin), 2, 0);
            layout->addWidget(spin, 2, 1, Qt::AlignLeft);
        }
        layout->setColumnStretch(1, 1);
        return Group(QString(), layout, group);
    };
    auto* groups = new QGridLayout;
    groups->addWidget(Group("General", general, "gbTextAnaGeneral"), 0, 0);
    groups->addWidget(analysed("gbSubheadings", "cbSubheading", "Subheadings", "Not end with:", "lbNotSubheadingEnds",
                               "btnSubheadingAdd", "btnSubheadingDel", "seSubheadingMaxLen", 99999),
                      0, 1);
    groups->addWidget(analysed("gbIllustrativeTitle", "cbIllustrativeTitle",
                               "Illustrative Sentences:", "End with:", "lbIllustrativeEnds", "btnIllustrativeAdd",
                               "btnIllustrativeDel", "seIllustrativeTitleMaxLen", 99999),
                      1, 0);
    groups->addWidget(analysed("gbTerms", "cbTerms", "Terms", "From beginning to :", "lbTermsEnds", "btnTermsAdd",
                               "btnTermsDel", "seTermsMaxLen", 99999),
                      1, 1);
    groups->addWidget(analysed("gbReminders", "cbReminders", "Reminders", "String on the beginning :", "lbReminders",
                               "btnRemindersAdd", "btnRemindersDel", nullptr, 0),
                      2, 0, 1, 2);

    auto* layout = new QVBoxLayout;
    auto* switches = new QHBoxLayout;
    switches->addWidget(Check("cbEnableTextAnalysis", "Enable Text Analysis"));
    switches->addSpacing(24);
    switches->addWidget(Check("cbHtmlEncode", "HTML encode "));
    switches->addStretch(1);
    layout->addLayout(switches);
    layout->addLayout(groups);
    return Page("Text Analysis", layout);
}

QWidget* TfrmMain::HtmlFilesPage() {
    auto* names = Form();
    auto* extension = Edit("edtExtension");
    extension->setMaximumWidth(120);
    names->addRow(Label("Extension :", extension), extension);
    auto* start = Named(new TSpinEdit(0, 999999), "seStart");
    start->setMaximumWidth(120);
    names->addRow(Label("The counter start with:", start), start);
    auto* length = Named(new TSpinEdit(1, 10), "seLength");
    length->setMaximumWidth(120);
    names->addRow(Label("Min length(fill zero to proper):", length), length);
    auto* head = Edit("edtHead");
    head->setMaximumWidth(240);
    names->addRow(Label("Begin with:", head), head);

    auto* properties = Form();
    auto* encoding = TableList("cbEncoding", EncodingItems);
    properties->addRow(Label("Encoding :", encoding), encoding);

    auto* layout = new QVBoxLayout;
    layout->addWidget(Group("Output file names", names));
    layout->addWidget(Group("HTML properties", properties));
    return Page("HTML Files", layout);
}

QWidget* TfrmMain::ChmCommonPage() {
    auto* contents = Form();
    auto* font = Named(new QComboBox, "cbFont");
    font->setEditable(true);
    font->addItems(QFontDatabase::families());
    font->setInsertPolicy(QComboBox::NoInsert);
    contents->addRow(Label("Font:", font), font);
    auto* size = Edit("edtFontSize");
    size->setMaximumWidth(80);
    contents->addRow(Label("Point size:", size), size);
    auto* characterSet = TableList("cbCharacterSet", CharacterSetItems);
    contents->addRow(Label("Character Set:", characterSet), characterSet);

    auto* international = Form();
    auto* language = TableList("cbLanguage", LanguageItems);
    international->addRow(Label("Language:", language), language);

    auto* layout = new QVBoxLayout;
    layout->addWidget(Group("Contents", contents));
    layout->addWidget(Group("International settings", international));
    return Page("CHM Common", layout);
}

QWidget* TfrmMain::OutputSettingsPage() {
    auto* formats = new QGridLayout;
    const std::initializer_list<std::pair<const char*, const char*>> rows = {{"cbChm", "btnChm"},
                                                                             {"cbWebsite", "btnWebsite"},
                                                                             {"cbEbook", "btnEbook"},
                                                                             {"cbFAQ", "btnFAQ"},
                                                                             {"cbSingleHTML", "btnSingleHTML"}};
    const char* captions[] = {"CHM Project", "Website", "E-book", "FAQ", "SingleHTML"};
    int row = 0;
    for (const auto& [check, button] : rows) {
        formats->addWidget(Check(check, captions[row]), row, 0);
        formats->addWidget(Button(button, "Settings..."), row, 1);
        ++row;
    }
    formats->setColumnStretch(2, 1);

    auto* folder = new QVBoxLayout;
    auto* outDir = Edit("edtOutDir");
    folder->addWidget(Label("Output folder (if it does not exist, it will be created):", outDir));
    folder->addLayout(WithFolderButton(outDir, PictureButton("btnOutDir", "toolbar/folder", "Choose the folder")));

    auto* layout = new QVBoxLayout;
    layout->addWidget(Group("Output Options", formats));
    layout->addWidget(Group("Output Folder:", folder));
    return Page("Output Settings", layout);
}

QWidget* TfrmMain::CreatePage() {
    mmMakeInfo_ = Named(new QPlainTextEdit, "mmMakeInfo");
    mmMakeInfo_->setReadOnly(true);
    mmMakeInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmMakeInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* browse = Button("btnBrowser", "&Browse");
    browse->setIcon(Picture("toolbar/browse"));
    auto* make = Button("btnMake", "Create");
    make->setIcon(Picture("toolbar/create"));
    make->setDefault(true);
    buttons->addWidget(browse);
    buttons->addWidget(make);
    auto* layout = new QVBoxLayout;
    layout->addWidget(Label("Information:", mmMakeInfo_));
    layout->addWidget(mmMakeInfo_, 1);
    layout->addLayout(buttons);
    return Page("Create", layout, true);
}

void TfrmMain::BuildPages() {
    pcMain_ = Named(new QTabWidget, "pcMain");
    pcMain_->setTabPosition(QTabWidget::South);
    pcMain_->setDocumentMode(true);
    pcMain_->addTab(GeneralPage(), "General");
    pcMain_->addTab(TextFilesPage(), "Text Files");
    pcMain_->addTab(SeparatingPage(), "Separating");
    pcMain_->addTab(TextAnalysisPage(), "Text Analysis");
    pcMain_->addTab(HtmlFilesPage(), "HTML Files");
    pcMain_->addTab(ChmCommonPage(), "CHM Common");
    pcMain_->addTab(OutputSettingsPage(), "Output Settings");
    pcMain_->addTab(CreatePage(), "Create");
    setCentralWidget(pcMain_);
    // A disabled field shows the face of a button, so that what cannot be edited looks it.
    setStyleSheet("QLineEdit:disabled, QSpinBox:disabled, QListWidget:disabled { background: palette(button); }");
}

}  // namespace leafsmith
