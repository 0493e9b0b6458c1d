#include "ui/preview_structure.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/project_option.h"
#include "text/all_text.h"
#include "ui/pictures.h"
#include "ui/window_sink.h"

namespace leafsmith {

namespace {

constexpr int ImageCount = 42;
constexpr int TopicRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

}  // namespace

int TfrmPreviewStructure::ExpandedImage(int image) {
    if (image >= 0 && image <= 7)
        return image % 2 == 0 ? image + 1 : image;
    return image + 1;
}

int TfrmPreviewStructure::CollapsedImage(int image) {
    return image >= 0 && image <= 7 && image % 2 == 1 ? image - 1 : image;
}

TfrmPreviewStructure::TfrmPreviewStructure(const TProjectOption& options, QWidget* parent)
    : QDialog(parent), text_(std::make_unique<TAllText>()) {
    text_->ReadProject(options);

    setWindowTitle("Preview Structure");
    setObjectName("frmPreviewStructure");
    tvNav = new QTreeWidget;
    tvNav->setObjectName("tvNav");
    tvNav->setHeaderHidden(true);
    reContent = new QPlainTextEdit;
    reContent->setObjectName("reContent");
    reContent->setReadOnly(true);
    reContent->setLineWrapMode(QPlainTextEdit::NoWrap);

    std::vector<QTreeWidgetItem*> items;
    for (const TopicTreeNode& node : text_->FillTree()) {
        auto* item =
            node.Parent < 0 ? new QTreeWidgetItem(tvNav) : new QTreeWidgetItem(items[static_cast<size_t>(node.Parent)]);
        item->setText(0, ShownText(node.Text));
        item->setData(0, TopicRole, node.TopicIndex);
        ShowImage(item, node.ImageIndex);
        items.push_back(item);
    }
    connect(tvNav, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { ShowImage(item, ExpandedImage(item->data(0, ImageRole).toInt())); });
    connect(tvNav, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { ShowImage(item, CollapsedImage(item->data(0, ImageRole).toInt())); });
    connect(tvNav, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        reContent->setPlainText(current ? ShownText(text_->Topic(current->data(0, TopicRole).toInt()).Body())
                                        : QString());
    });

    auto* splitter = new QSplitter;
    splitter->addWidget(tvNav);
    splitter->addWidget(reContent);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 440});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    resize(760, 520);
}

TfrmPreviewStructure::~TfrmPreviewStructure() = default;

void TfrmPreviewStructure::ShowImage(QTreeWidgetItem* item, int image) {
    item->setData(0, ImageRole, image);
    item->setIcon(0, image >= 0 && image < ImageCount ? Picture("contents/" + QString::number(image + 1)) : QIcon());
}

}  // namespace leafsmith
