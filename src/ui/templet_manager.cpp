#include "ui/templet_manager.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/errors.h"
#include "core/files.h"
#include "core/strings.h"
#include "templates/template_group.h"
#include "ui/pictures.h"
#include "ui/text_codec.h"
#include "ui/window_sink.h"

namespace leafsmith {

namespace {

constexpr int DeletableFromRow = 5;  // the first five groups are the program's own
const QSize SampleSize(200, 160);

enum Column { NameColumn, ChmColumn, WebsiteColumn, EbookColumn, FaqColumn, PositionColumn };

QListWidget* PictureList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setViewMode(QListView::IconMode);
    list->setIconSize(SampleSize);
    list->setResizeMode(QListView::Adjust);  // rearranged from the top when resized
    list->setMovement(QListView::Static);
    list->setSpacing(8);
    list->setWordWrap(true);
    return list;
}

QPixmap SamplePicture(const std::string& path, const std::string& setupDir) {
    QPixmap picture(FromBytes(path));
    if (picture.isNull())
        picture.load(FromBytes(JoinPath(setupDir, "nopic.bmp")));
    return picture.scaled(SampleSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

std::vector<int32_t> ShowTemplatePictures(QListWidget* list, const TTempletGroup& group, const std::string& setupDir,
                                          const std::function<bool(int32_t)>& accept, bool withType) {
    list->clear();
    std::vector<int32_t> shown;
    for (int32_t t = 1; t < group.Count(); ++t) {
        if (!accept(t))
            continue;
        const TTemplate& templ = group.Items(t);
        QString caption = FromBytes(templ.Caption);
        if (withType)
            caption += " (" + FromBytes(templ.TypeName) + ")";
        auto* item = new QListWidgetItem(QIcon(SamplePicture(templ.SampleImagePath, setupDir)), caption, list);
        item->setSizeHint(SampleSize + QSize(16, 40));
        shown.push_back(t);
    }
    return shown;
}

// --- The manager -----------------------------------------------------------------------------------

TfrmTempletManager::TfrmTempletManager(const std::string& setupDir, QWidget* parent)
    : QDialog(parent), list_(setupDir) {
    setWindowTitle("Template Group Manager");
    setObjectName("frmTempletManager");
    AskFolder = [this](const QString& prompt) { return QFileDialog::getExistingDirectory(this, prompt); };
    AskName = [this](const QString& proposal) {
        bool accepted = false;
        const QString name = QInputDialog::getText(this, "Templates Group Name", "Enter a Name:", QLineEdit::Normal,
                                                   proposal, &accepted);
        return accepted ? name : QString();
    };

    auto* tools = new QToolBar;
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actAddTemplet = tools->addAction(Picture("toolbar/open"), "Add");
    actAddTemplet->setObjectName("actAddTemplet");
    actDelete = tools->addAction(Picture("toolbar/bottom"), "Delete");
    actDelete->setObjectName("actDelete");
    connect(actAddTemplet, &QAction::triggered, this, &TfrmTempletManager::actAddTempletExecute);
    connect(actDelete, &QAction::triggered, this, &TfrmTempletManager::actDeleteExecute);

    lvGroups = new QTreeWidget;
    lvGroups->setObjectName("lvGroups");
    lvGroups->setRootIsDecorated(false);
    lvGroups->setHeaderLabels({"Templates Group Name", "CHM", "WebSite", "E-Book", "FAQ", "Position"});
    lvGroups->header()->setStretchLastSection(true);
    lvGroups->setColumnWidth(NameColumn, 180);
    for (int column = ChmColumn; column <= FaqColumn; ++column)
        lvGroups->setColumnWidth(column, 64);
    connect(lvGroups, &QTreeWidget::currentItemChanged, this, [this] {
        UpdateDeleteAction();
        Preview();
    });

    lvPreview = PictureList("lvPreview");
    where_ = new QLabel;
    where_->setWordWrap(true);
    where_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(lvGroups, 2);
    layout->addWidget(where_);
    layout->addWidget(new QLabel("Templates:"));
    layout->addWidget(lvPreview, 3);
    layout->addWidget(buttons);
    resize(860, 620);
    actReadExecute();
}

bool TfrmTempletManager::Guarded(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(this, error);
        return false;
    }
}

void TfrmTempletManager::AddToGroup(bool on, const QString& name, const QString& position, int faq, int ebook,
                                    int website, int chm) {
    auto* row = new QTreeWidgetItem(lvGroups);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(NameColumn, on ? Qt::Checked : Qt::Unchecked);
    row->setText(NameColumn, name);
    for (auto [column, count] : {std::pair{ChmColumn, chm}, std::pair{WebsiteColumn, website},
                                 std::pair{EbookColumn, ebook}, std::pair{FaqColumn, faq}}) {
        row->setText(column, count < 0 ? QString() : QString::number(count));
    }
    row->setText(PositionColumn, position);
}

void TfrmTempletManager::actReadExecute() {
    lvGroups->clear();
    lvPreview->clear();
    Guarded([this] {
        list_.Load();
        for (const TemplateGroupEntry& entry : list_.Groups) {
            TTempletGroup group(list_.SetupDir);
            group.LoadFromFolder(entry.Position, false);
            AddToGroup(entry.On, FromBytes(entry.Name), FromBytes(entry.Position), group.FaqCount, group.EbookCount,
                       group.WebsiteCount, group.ChmCount);
        }
    });
    UpdateDeleteAction();
}

void TfrmTempletManager::GroupToIni() {
    list_.Groups.clear();
    for (int i = 0; i < lvGroups->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = lvGroups->topLevelItem(i);
        list_.Groups.push_back({row->checkState(NameColumn) == Qt::Checked, ToBytes(row->text(NameColumn)),
                                ToBytes(row->text(PositionColumn))});
    }
    Guarded([this] { list_.Save(); });
    if (list_.InUserFolder()) {
        where_->setText("The program's folder cannot be written, so your list of template groups is kept in \"" +
                        FromBytes(list_.FilePath()) + "\".");
        where_->show();
    }
}

QString TfrmTempletManager::GetGroupName(const std::string& descriptionFile) const {
    TTempletGroup group(list_.SetupDir);
    group.LoadFromFile(descriptionFile);
    if (!group.GroupName.empty())
        return FromBytes(group.GroupName);
    for (int k = 1;; ++k) {
        const QString name = "TemplatesGroup" + QString::number(k);
        bool taken = false;
        for (int i = 0; i < lvGroups->topLevelItemCount() && !taken; ++i)
            taken = lvGroups->topLevelItem(i)->text(NameColumn).compare(name, Qt::CaseInsensitive) == 0;
        if (!taken)
            return name;
    }
}

void TfrmTempletManager::actAddTempletExecute() {
    const QString folder = AskFolder("Select a Templates Group folder:");
    if (!folder.isEmpty()) {
        const std::string description = FindFileNoCase(ToBytes(folder), "templates.ini");
        bool known = false;
        for (int i = 0; i < lvGroups->topLevelItemCount() && !known; ++i)
            known = lvGroups->topLevelItem(i)->text(PositionColumn).compare(folder, Qt::CaseInsensitive) == 0;
        if (description.empty()) {
            QMessageBox::critical(this, "Error", "No templates.ini in this folder!");
        } else if (known) {
            QMessageBox::critical(this, "Error", "This Template Group already exsites in the Templets Group Manager!");
        } else {
            QString proposal;
            if (Guarded([&] { proposal = GetGroupName(description); })) {
                const QString name = AskName(proposal);
                if (!name.isEmpty())
                    AddToGroup(true, name, folder, -1, -1, -1, -1);
            }
        }
    }
    GroupToIni();
    actReadExecute();
}

void TfrmTempletManager::actDeleteExecute() {
    const int row = lvGroups->indexOfTopLevelItem(lvGroups->currentItem());
    if (row < DeletableFromRow)
        return;
    if (QMessageBox::question(this, "Confirm",
                              "Are you sure to DELETE this Template Group form Templets Group Manager?") !=
        QMessageBox::Yes) {
        return;
    }
    delete lvGroups->takeTopLevelItem(row);
    lvPreview->clear();
    GroupToIni();
}

void TfrmTempletManager::UpdateDeleteAction() {
    actDelete->setEnabled(lvGroups->indexOfTopLevelItem(lvGroups->currentItem()) >= DeletableFromRow);
}

void TfrmTempletManager::Preview() {
    lvPreview->clear();
    const QTreeWidgetItem* row = lvGroups->currentItem();
    if (!row)
        return;
    Guarded([&] {
        TTempletGroup group(list_.SetupDir);
        group.LoadFromFolder(ToBytes(row->text(PositionColumn)), true);
        ShowTemplatePictures(
            lvPreview, group, list_.SetupDir, [](int32_t) { return true; }, true);
    });
}

void TfrmTempletManager::hideEvent(QHideEvent* event) {
    GroupToIni();
    QDialog::hideEvent(event);
}

// --- The selection dialog --------------------------------------------------------------------------

TfrmSelectTemplet::TfrmSelectTemplet(const std::string& setupDir, QWidget* parent)
    : QDialog(parent), setupDir_(setupDir) {
    setWindowTitle("Select a Template");
    setObjectName("frmSelectTemplet");
    cbTemplets = new QComboBox;
    cbTemplets->setObjectName("cbTemplets");
    lvPreview = PictureList("lvPreview");
    auto* buttons = new QDialogButtonBox;
    ok_ = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok_->setObjectName("actSelectATemplet");
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cbTemplets, &QComboBox::activated, this, [this] { Preview(); });
    connect(lvPreview, &QListWidget::itemSelectionChanged, this, &TfrmSelectTemplet::UpdateOk);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Templates Group:"));
    top->addWidget(cbTemplets, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lvPreview, 1);
    layout->addWidget(buttons);
    resize(720, 520);
}

int TfrmSelectTemplet::Execute(int32_t format, const std::string& folder, int32_t number) {
    format_ = format;
    lvPreview->clear();
    folders_.clear();
    numbers_.clear();
    cbTemplets->clear();
    TGroupList list(setupDir_);
    list.Load();
    for (const TemplateGroupEntry& entry : list.Groups) {
        if (!entry.On)
            continue;
        TTempletGroup group(setupDir_);
        group.LoadFromFolder(entry.Position, false);
        const int32_t counts[] = {group.ChmCount, group.WebsiteCount, group.EbookCount, group.FaqCount};
        if (format >= 0 && format < 4 && counts[format] > 0) {
            folders_.push_back(entry.Position);
            cbTemplets->addItem(FromBytes(entry.Name));
        }
    }
    if (cbTemplets->count() > 0) {
        cbTemplets->setCurrentIndex(0);
        Preview();
    }
    // The current choice is preselected where it is still offered; otherwise the choice stays open.
    cbTemplets->setCurrentIndex(-1);
    for (size_t i = 0; i < folders_.size(); ++i) {
        if (FromBytes(folders_[i]).compare(FromBytes(folder), Qt::CaseInsensitive) == 0 ||
            WithTrailingSlash(folders_[i]) == WithTrailingSlash(folder)) {
            cbTemplets->setCurrentIndex(static_cast<int>(i));
            Preview();
            for (size_t picture = 0; picture < numbers_.size(); ++picture) {
                if (numbers_[picture] == number - 1)
                    lvPreview->item(static_cast<int>(picture))->setSelected(true);
            }
            break;
        }
    }
    UpdateOk();
    return exec();
}

void TfrmSelectTemplet::Preview() {
    numbers_.clear();
    lvPreview->clear();
    const int chosen = cbTemplets->currentIndex();
    if (chosen < 0 || chosen >= static_cast<int>(folders_.size()))
        return;
    TTempletGroup group(setupDir_);
    group.LoadFromFolder(folders_[static_cast<size_t>(chosen)], true);
    for (int32_t t : ShowTemplatePictures(
             lvPreview, group, setupDir_, [&](int32_t index) { return group.Items(index).Type == format_; }, false)) {
        numbers_.push_back(t - 1);
    }
    UpdateOk();
}

std::string TfrmSelectTemplet::SelectedFolder() const {
    const int chosen = cbTemplets->currentIndex();
    return chosen >= 0 && chosen < static_cast<int>(folders_.size()) ? folders_[static_cast<size_t>(chosen)]
                                                                     : std::string();
}

int32_t TfrmSelectTemplet::SelectedNumber() const {
    const int picture = lvPreview->currentRow();
    const QList<QListWidgetItem*> selected = lvPreview->selectedItems();
    const int row = selected.isEmpty() ? picture : lvPreview->row(selected.front());
    return row >= 0 && row < static_cast<int>(numbers_.size()) ? numbers_[static_cast<size_t>(row)] + 1 : -1;
}

void TfrmSelectTemplet::UpdateOk() {
    ok_->setEnabled(cbTemplets->currentIndex() >= 0 && !lvPreview->selectedItems().isEmpty());
}

}  // namespace leafsmith
