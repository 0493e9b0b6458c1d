#include "ui/output_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/project_option.h"
#include "templates/template_group.h"
#include "ui/designer.h"
#include "ui/templet_manager.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

namespace {

const char* const Captions[] = {"CHM Project Settings", "Website Settings", "E-Book Settings", "FAQ Settings",
                                "Single HTML Settings"};
// The controls of each format's template choice and help project, by format.
const char* const TemplateImages[] = {"imgTempletCHM", "imgTempletWebsite", "imgTempletEbook", "imgTempletFaq"};
const char* const TemplateLabels[] = {"lblTempName_chm", "lblTempName_Website", "lblTempName_ebook", "lblTempName_faq"};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

struct TextBinding {
    const char* Control;
    std::string TProjectOption::*Field;
};
struct FlagBinding {
    const char* Control;
    bool TProjectOption::*Field;
};

const TextBinding TextBindings[] = {
    {"edtCHMFileName", &TProjectOption::CHMFileName},
    {"edtCHMFileName_website", &TProjectOption::CHMFileName_WebSite},
    {"edtCHMFileName_ebook", &TProjectOption::CHMFileName_Ebook},
    {"edtCHMFileName_faq", &TProjectOption::CHMFileName_Faq},
    {"edtSingleHtmlFileName", &TProjectOption::SingleHtmlFileName},
};

const FlagBinding FlagBindings[] = {
    {"cbCompileChm", &TProjectOption::CompileChm},
    {"cbPlusMinus", &TProjectOption::PlusMinus},
    {"cbStartFromRoot", &TProjectOption::StartFromRoot},
    {"cbDrawLine", &TProjectOption::DrawLine},
    {"cbFolderInsteadOfBook", &TProjectOption::FolderInsteadOfBook},
    {"cbAutoCollapse", &TProjectOption::AutoCollapse},
    {"cbOutputChmProject_Website", &TProjectOption::OutputChmProject_WebSite},
    {"cbCompileChm_Website", &TProjectOption::CompileChm_WebSite},
    {"cbOutputChmProject_Ebook", &TProjectOption::OutputChmProject_Ebook},
    {"cbCompileChm_Ebook", &TProjectOption::CompileChm_Ebook},
    {"cbApplyToJumpMenu_Ebook", &TProjectOption::ApplyToJumpMenu_Ebook},
    {"cbOutputChmProject_Faq", &TProjectOption::OutputChmProject_Faq},
    {"cbCompileChm_Faq", &TProjectOption::CompileChm_Faq},
    {"cbMinusIsDefault", &TProjectOption::MinusIsDefault},
};

constexpr std::array<TCHMProject TProjectOption::*, 4> WindowFields = {
    &TProjectOption::ChmWindow, &TProjectOption::WebsiteWindow, &TProjectOption::EbookWindow,
    &TProjectOption::FaqWindow};
constexpr std::array<std::string TProjectOption::*, 4> FolderFields = {
    &TProjectOption::TempletChm, &TProjectOption::TempletChm_WebSite, &TProjectOption::TempletChm_Ebook,
    &TProjectOption::TempletChm_Faq};
constexpr std::array<int32_t TProjectOption::*, 4> NumberFields = {
    &TProjectOption::TempletNoChm, &TProjectOption::TempletNoChm_WebSite, &TProjectOption::TempletNoChm_Ebook,
    &TProjectOption::TempletNoChm_Faq};

}  // namespace

TfrmSetting::TfrmSetting(const std::string& setupDir, TfrmDesigner* designer, TfrmSelectTemplet* selection,
                         QWidget* parent)
    : QDialog(parent), setupDir_(setupDir), designer_(designer), selection_(selection) {
    setObjectName("frmSetting");
    pages_ = new QStackedWidget;
    pages_->addWidget(ChmPage());
    pages_->addWidget(WebsitePage());
    pages_->addWidget(EbookPage());
    pages_->addWidget(FaqPage());
    pages_->addWidget(SingleHtmlPage());
    auto* buttons = new QDialogButtonBox;
    auto* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(buttons);
    setStyleSheet("QLineEdit:disabled { background: palette(button); }");
    for (const char* output : {"cbOutputChmProject_Website", "cbOutputChmProject_Ebook", "cbOutputChmProject_Faq"}) {
        auto* box = findChild<QCheckBox*>(output);
        box->setChecked(true);
        connect(box, &QCheckBox::clicked, this, [this, box] { OutputChmProjectClick(box); });
    }
}

QWidget* TfrmSetting::TemplateGroup(int format, const char* image, const char* label, const char* button,
                                    const QString& caption) {
    auto* picture = Named(new QLabel, image);
    picture->setFixedSize(200, 160);
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setAlignment(Qt::AlignCenter);
    auto* name = Named(new QLabel, label);
    name->setWordWrap(true);
    auto* choose = Named(new QPushButton(caption), button);
    connect(choose, &QPushButton::clicked, this, [this, format] { SelectTemplate(format); });
    auto* side = new QVBoxLayout;
    side->addWidget(name);
    side->addStretch(1);
    side->addWidget(choose);
    auto* layout = new QHBoxLayout;
    layout->addWidget(picture);
    layout->addLayout(side, 1);
    auto* group = new QGroupBox(" Template ");
    group->setLayout(layout);
    return group;
}

QWidget* TfrmSetting::HelpProjectGroup(int format, const char* output, const char* fileName, const char* compile,
                                       const char* designer) {
    auto* layout = new QGridLayout;
    int row = 0;
    if (output)
        layout->addWidget(Named(new QCheckBox("Output CHM Project"), output), row++, 0, 1, 3);
    auto* name = Named(new QLineEdit, fileName);
    auto* nameLabel = new QLabel("CHM File Name:");
    nameLabel->setBuddy(name);
    layout->addWidget(nameLabel, row, 0);
    layout->addWidget(name, row, 1);
    layout->addWidget(new QLabel(".chm"), row++, 2);
    layout->addWidget(Named(new QCheckBox("Compile CHM Project"), compile), row++, 0, 1, 3);
    auto* open = Named(new QPushButton("Visual CHM Designer..."), designer);
    connect(open, &QPushButton::clicked, this, [this, format] { OpenDesigner(format); });
    layout->addWidget(open, row, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    auto* group = new QGroupBox("CHM");
    group->setLayout(layout);
    return group;
}

QWidget* TfrmSetting::ChmPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(TemplateGroup(0, "imgTempletCHM", "lblTempName_chm", "btnTemplet_Chm", "Select a template.."));
    layout->addWidget(HelpProjectGroup(0, nullptr, "edtCHMFileName", "cbCompileChm", "btnCHMSetting"));
    layout->addStretch(1);
    return page;
}

QWidget* TfrmSetting::WebsitePage() {
    auto* toc = new QVBoxLayout;
    auto* plusMinus = Named(new QCheckBox("Plus/minus squares"), "cbPlusMinus");
    plusMinus->hide();
    toc->addWidget(plusMinus);
    toc->addWidget(Named(new QCheckBox("Start line from the root"), "cbStartFromRoot"));
    toc->addWidget(Named(new QCheckBox("Draw lines between items"), "cbDrawLine"));
    toc->addWidget(Named(new QCheckBox("Use folders instead of books"), "cbFolderInsteadOfBook"));
    toc->addWidget(Named(new QCheckBox("Only expend a single heading"), "cbAutoCollapse"));
    auto* tocGroup = new QGroupBox("TOC");
    tocGroup->setLayout(toc);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        TemplateGroup(1, "imgTempletWebsite", "lblTempName_Website", "btnTemplet_Website", "Select a template..."));
    layout->addWidget(HelpProjectGroup(1, "cbOutputChmProject_Website", "edtCHMFileName_website",
                                       "cbCompileChm_Website", "btnCHMSetting_Website"));
    layout->addWidget(tocGroup);
    layout->addStretch(1);
    return page;
}

namespace {

QGroupBox* TitleListStyle(QWidget* owner, const char* bullet, const char* numbering, QWidget* extra = nullptr) {
    auto* bulletButton = Named(new QRadioButton("Bullet"), bullet);
    auto* numberingButton = Named(new QRadioButton("Numbering"), numbering);
    auto* together = new QButtonGroup(owner);
    together->addButton(bulletButton);
    together->addButton(numberingButton);
    auto* layout = new QHBoxLayout;
    layout->addWidget(bulletButton);
    layout->addWidget(numberingButton);
    if (extra) {
        layout->addSpacing(24);
        layout->addWidget(extra);
    }
    layout->addStretch(1);
    auto* group = new QGroupBox(" Title list style ");
    group->setLayout(layout);
    return group;
}

}  // namespace

QWidget* TfrmSetting::EbookPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        TemplateGroup(2, "imgTempletEbook", "lblTempName_ebook", "btnTemplet_Ebook", "Select a template..."));
    layout->addWidget(HelpProjectGroup(2, "cbOutputChmProject_Ebook", "edtCHMFileName_ebook", "cbCompileChm_Ebook",
                                       "btnCHMSetting_Ebook"));
    layout->addWidget(TitleListStyle(this, "rbBullet_Ebook", "rbNumbering_Ebook",
                                     Named(new QCheckBox("Apply to Jump Menus"), "cbApplyToJumpMenu_Ebook")));
    layout->addStretch(1);
    return page;
}

QWidget* TfrmSetting::FaqPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(TemplateGroup(3, "imgTempletFaq", "lblTempName_faq", "btnTemplet_Faq", "Select a template..."));
    layout->addWidget(
        HelpProjectGroup(3, "cbOutputChmProject_Faq", "edtCHMFileName_faq", "cbCompileChm_Faq", "btnCHMSetting_Faq"));
    layout->addWidget(TitleListStyle(this, "rbBullet_Faq", "rbNumbering_Faq"));
    layout->addStretch(1);
    return page;
}

QWidget* TfrmSetting::SingleHtmlPage() {
    auto* expandable = new QVBoxLayout;
    expandable->addWidget(Named(new QCheckBox("Initially expanded"), "cbMinusIsDefault"));
    auto* expandableGroup = new QGroupBox("Expandable Blocks");
    expandableGroup->setLayout(expandable);
    auto* file = new QFormLayout;
    auto* name = Named(new QLineEdit, "edtSingleHtmlFileName");
    file->addRow("HTML file name:", name);
    auto* fileGroup = new QGroupBox(" Output file ");
    fileGroup->setLayout(file);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(expandableGroup);
    layout->addWidget(fileGroup);
    auto* look = new QLabel(
        "The page takes its look from the website's template group, or from the program's "
        "own single page when that group has none.");
    look->setWordWrap(true);
    layout->addWidget(look);
    layout->addStretch(1);
    return page;
}

void TfrmSetting::SetPage(int format) {
    pages_->setCurrentIndex(format);
    setWindowTitle(Captions[format]);
}

void TfrmSetting::OutputChmProjectClick(QCheckBox* output) {
    for (QWidget* control : output->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != output)
            control->setEnabled(output->isChecked());
    }
}

void TfrmSetting::CopyFrom(const TProjectOption& settings) {
    for (size_t format = 0; format < 4; ++format) {
        Windows[format].Assign(settings.*WindowFields[format]);
        Folders[format] = settings.*FolderFields[format];
        Numbers[format] = settings.*NumberFields[format];
    }
    for (const TextBinding& binding : TextBindings)
        findChild<QLineEdit*>(binding.Control)->setText(FromBytes(settings.*binding.Field));
    for (const FlagBinding& binding : FlagBindings)
        findChild<QCheckBox*>(binding.Control)->setChecked(settings.*binding.Field);
    for (auto [style, bullet, numbering] :
         {std::tuple{settings.TitleListStyle_Ebook, "rbBullet_Ebook", "rbNumbering_Ebook"},
          std::tuple{settings.TitleListStyle_Faq, "rbBullet_Faq", "rbNumbering_Faq"}}) {
        if (style == 1)
            findChild<QRadioButton*>(bullet)->setChecked(true);
        if (style == 2)
            findChild<QRadioButton*>(numbering)->setChecked(true);
    }
    for (const char* output : {"cbOutputChmProject_Website", "cbOutputChmProject_Ebook", "cbOutputChmProject_Faq"})
        OutputChmProjectClick(findChild<QCheckBox*>(output));
}

void TfrmSetting::CopyTo(TProjectOption& settings) const {
    for (size_t format = 0; format < 4; ++format) {
        (settings.*WindowFields[format]).Assign(Windows[format]);
        settings.*FolderFields[format] = Folders[format];
        settings.*NumberFields[format] = Numbers[format];
    }
    for (const TextBinding& binding : TextBindings)
        settings.*binding.Field = ToBytes(findChild<QLineEdit*>(binding.Control)->text());
    for (const FlagBinding& binding : FlagBindings)
        settings.*binding.Field = findChild<QCheckBox*>(binding.Control)->isChecked();
    for (auto [style, bullet, numbering] :
         {std::tuple{&TProjectOption::TitleListStyle_Ebook, "rbBullet_Ebook", "rbNumbering_Ebook"},
          std::tuple{&TProjectOption::TitleListStyle_Faq, "rbBullet_Faq", "rbNumbering_Faq"}}) {
        if (findChild<QRadioButton*>(bullet)->isChecked())
            settings.*style = 1;
        else if (findChild<QRadioButton*>(numbering)->isChecked())
            settings.*style = 2;
    }
}

void TfrmSetting::RefreshTemplatePreview(int format) {
    auto* image = findChild<QLabel*>(TemplateImages[format]);
    auto* name = findChild<QLabel*>(TemplateLabels[format]);
    image->clear();
    name->clear();
    const size_t index = static_cast<size_t>(format);
    TTempletGroup group(setupDir_);
    group.LoadFromFolder(Folders[index], true);
    if (Numbers[index] < 1 || Numbers[index] >= group.Count()) {
        throw ESettingError("The template group \"" + Folders[index] + "\" has no template " +
                            std::to_string(Numbers[index]) + ".");
    }
    const TTemplate& templ = group.Items(Numbers[index]);
    QPixmap picture(FromBytes(templ.SampleImagePath));
    if (picture.isNull())
        throw EFileError("Cannot read the picture \"" + templ.SampleImagePath + "\".");
    image->setPixmap(picture.scaled(200, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    name->setText(FromBytes(templ.Caption));
}

void TfrmSetting::SelectTemplate(int format) {
    const size_t index = static_cast<size_t>(format);
    try {
        if (selection_->Execute(format, Folders[index], Numbers[index]) != QDialog::Accepted)
            return;
        Folders[index] = selection_->SelectedFolder();
        Numbers[index] = selection_->SelectedNumber();
        RefreshTemplatePreview(format);
    } catch (const std::exception& error) {
        ShowErrorBox(this, error);
    }
}

void TfrmSetting::OpenDesigner(int format) {
    TCHMProject& window = Windows[static_cast<size_t>(format)];
    designer_->ClassToControl(window, format == 0);
    if (designer_->exec() == QDialog::Accepted)
        designer_->ControlToClass(window);
}

}  // namespace leafsmith
