#include "ui/designer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <tuple>

#include "ui/pictures.h"

namespace leafsmith {

namespace {

using P = TCHMProject;

constexpr const char* Caption = "Visual CHM designer";
constexpr int ToolbarPageIndex = 1;
constexpr int NavPageIndex = 2;
constexpr int TocPageIndex = 3;

// The navigation pages in their fixed order; DefaultTab counts in it.
constexpr std::array<const char*, 4> NavNames = {"Contents", "Index", "Search", "Favorite"};
constexpr std::array<const char*, 4> NavPageNames = {"tsContent", "tsIndex", "tsSearch", "tsFavorite"};

// The contents tree styles in the order of the TOC list.
struct TocRow {
    const char* Caption;
    bool P::*Field;
};
constexpr std::array<TocRow, 14> TocRows = {{
    {"Use folders instead of books", &P::UseFolder},
    {"Automatically track selection", &P::AutoTrack},
    {"Select entire row", &P::SelectRow},
    {"Plus/Minus squares", &P::PlusMinus},
    {"Show selection when focus lost", &P::ShowSelection},
    {"Start line from the root", &P::ShowRoot},
    {"Draw lines between items", &P::DrawLines},
    {"Only expand a single heading", &P::AutoExpand},
    {"Right-to-left reading order*", &P::RightToLeft},
    {"Scroll bar on left side*", &P::LeftScroll},
    {"Border*", &P::Border},
    {"Dialog Frame*", &P::DialogFrame},
    {"Raised edge*", &P::RaisedEdge},
    {"Sunken edge*", &P::SunkenEdge},
}};

// Contents pictures of the sample tree: a closed node's picture is one less than its open one.
constexpr int ClosedBook = 1;
constexpr int BookPage = 11;
constexpr int ClosedFolder = 5;
constexpr int FolderPage = 9;
constexpr int PictureRole = Qt::UserRole;
// The sample tree's colours, those of the window's pictures.
const QColor Ink(44, 56, 76);
const QColor Blue(40, 104, 188);
const QColor Grey(150, 160, 174);

QWidget* Page(QLayout* content, const char* name) {
    auto* page = new QWidget;
    page->setObjectName(name);
    page->setLayout(content);
    return page;
}

}  // namespace

// The sample contents tree. Qt's tree has no switches for the contents tree styles, so this one
// draws its own lines and plus/minus squares and shows the other styles through its delegate,
// its palette and a style that says whether a selection covers the whole row.
class SampleTree : public QTreeWidget {
public:
    SampleTree() {
        setObjectName("tvSample");
        setHeaderHidden(true);
        setIndentation(19);
        setMouseTracking(true);
        viewport()->setAttribute(Qt::WA_Hover);
        setItemDelegate(new Delegate(this));
        auto* rowStyle = new RowStyle(this);
        rowStyle->setParent(this);
        setStyle(rowStyle);
        normalColours_ = palette();
        connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
            if (SingleExpand)
                CollapseSiblings(item);
        });
        connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
            if (SingleExpand && current && current->childCount() > 0)
                current->setExpanded(true);
        });
    }

    bool HotTrack = false;
    bool RowSelect = false;
    bool Buttons = true;
    bool KeepSelection = true;
    bool Lines = true;
    bool SingleExpand = false;

    // Shows the switches above; root lines go through Qt's own root decoration.
    void Apply(bool linesAtRoot) {
        setRootIsDecorated(linesAtRoot);
        ShowSelectionColours();
        viewport()->update();
    }

protected:
    void focusInEvent(QFocusEvent* event) override {
        QTreeWidget::focusInEvent(event);
        ShowSelectionColours();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QTreeWidget::focusOutEvent(event);
        ShowSelectionColours();
    }

    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
        const int indent = indentation();
        const int levels = rect.width() / indent;
        const QTreeWidgetItem* item = itemFromIndex(index);
        if (levels == 0 || !item)
            return;
        painter->save();
        const int middle = rect.top() + rect.height() / 2;
        const int x = rect.left() + (levels - 1) * indent + indent / 2;
        if (Lines) {
            painter->setPen(QPen(Grey, 1, Qt::DotLine));
            const bool first = !item->parent() && index.row() == 0;
            painter->drawLine(x, first ? middle : rect.top(), x, HasNextSibling(index) ? rect.bottom() : middle);
            painter->drawLine(x, middle, x + indent / 2, middle);
            QModelIndex ancestor = index.parent();
            for (int level = levels - 2; level >= 0 && ancestor.isValid(); --level, ancestor = ancestor.parent()) {
                const int line = rect.left() + level * indent + indent / 2;
                if (HasNextSibling(ancestor))
                    painter->drawLine(line, rect.top(), line, rect.bottom());
            }
        }
        if (Buttons && item->childCount() > 0) {
            painter->setPen(Grey);
            painter->setBrush(Qt::white);
            painter->drawRect(x - 4, middle - 4, 8, 8);
            painter->setPen(Ink);
            painter->drawLine(x - 2, middle, x + 2, middle);
            if (!item->isExpanded())
                painter->drawLine(x, middle - 2, x, middle + 2);
        }
        painter->restore();
    }

private:
    // Hot tracking underlines the item under the mouse; without whole-row selection only the
    // picture and the text show as selected. An open node shows the open twin of its picture.
    class Delegate : public QStyledItemDelegate {
    public:
        explicit Delegate(SampleTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
            QStyleOptionViewItem shown(option);
            if (!tree_->RowSelect)
                shown.rect.setWidth(std::min(shown.rect.width(), sizeHint(option, index).width()));
            QStyledItemDelegate::paint(painter, shown, index);
        }

    protected:
        void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
            QStyledItemDelegate::initStyleOption(option, index);
            const bool open = tree_->model()->hasChildren(index) && tree_->isExpanded(index);
            const int picture = index.data(PictureRole).toInt() + (open ? 1 : 0);
            option->icon = Picture(QString("contents/%1").arg(picture));
            option->features |= QStyleOptionViewItem::HasDecoration;
            if (tree_->HotTrack && option->state.testFlag(QStyle::State_MouseOver)) {
                option->font.setUnderline(true);
                option->palette.setColor(QPalette::Text, Blue);
            }
            option->state.setFlag(QStyle::State_MouseOver, false);
        }

    private:
        SampleTree* tree_;
    };

    class RowStyle : public QProxyStyle {
    public:
        explicit RowStyle(SampleTree* tree) : tree_(tree) {}
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* returned) const override {
            if (hint == SH_ItemView_ShowDecorationSelected)
                return tree_->RowSelect;
            return QProxyStyle::styleHint(hint, option, widget, returned);
        }

    private:
        SampleTree* tree_;
    };

    // Qt keeps a selection coloured while the tree has no focus; the contents tree greys it or hides it.
    void ShowSelectionColours() {
        QPalette colours = normalColours_;
        if (!hasFocus()) {
            colours.setColor(QPalette::Highlight,
                             KeepSelection ? QColor(0xd4, 0xd8, 0xde) : normalColours_.color(QPalette::Base));
            colours.setColor(QPalette::HighlightedText, normalColours_.color(QPalette::Text));
        }
        setPalette(colours);
    }

    static bool HasNextSibling(const QModelIndex& index) { return index.siblingAtRow(index.row() + 1).isValid(); }

    void CollapseSiblings(QTreeWidgetItem* item) {
        QTreeWidgetItem* parent = item->parent() ? item->parent() : invisibleRootItem();
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i) != item)
                parent->child(i)->setExpanded(false);
        }
    }

    QPalette normalColours_;
};

TfrmDesigner::TfrmDesigner(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDesigner");
    setWindowTitle(Caption);
    setSizeGripEnabled(true);
    hideIcon_ = Picture("toolbar/hide");
    showIcon_ = Picture("toolbar/show");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* settings = BuildSettings();  // first: the mock-up's tool bar follows the boxes
    layout->addWidget(BuildMockup(), 1);
    layout->addWidget(settings);

    tmCaption = new QTimer(this);
    tmCaption->setObjectName("tmCaption");
    tmCaption->setInterval(500);
    connect(tmCaption, &QTimer::timeout, this, [this] { tmCaptionTimer(); });

    ClassToControl(TCHMProject(), true);
}

TfrmDesigner::~TfrmDesigner() = default;

QWidget* TfrmDesigner::BuildMockup() {
    auto* mockup = new QWidget;
    auto* layout = new QVBoxLayout(mockup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Menus without commands: the help window's menu is only shown.
    menuMock_ = new QMenuBar;
    menuMock_->setObjectName("menuMock");
    menuMock_->setNativeMenuBar(false);
    for (const char* menu : {"&File", "&Edit", "&View", "&Go", "&Help"})
        menuMock_->addAction(menu);
    layout->setMenuBar(menuMock_);

    toolBarMock_ = new QToolBar;
    toolBarMock_->setObjectName("toolBarMock");
    toolBarMock_->setMovable(false);
    toolBarMock_->setFloatable(false);
    const QIcon jump = Picture("toolbar/jump");
    const QIcon pictures[] = {hideIcon_,
                              Picture("toolbar/locate"),
                              Picture("toolbar/previous"),
                              Picture("toolbar/next"),
                              Picture("toolbar/stop"),
                              Picture("toolbar/refresh"),
                              Picture("toolbar/home"),
                              Picture("toolbar/print"),
                              Picture("toolbar/option"),
                              jump,
                              jump};
    for (size_t i = 0; i < toolButtons_.size(); ++i) {
        ToolButton& button = toolButtons_[i];
        const QString name = button.Box->objectName().mid(2);
        button.Button = toolBarMock_->addAction(pictures[i], i == 0 ? QString("Hide") : button.Box->text());
        button.Button->setObjectName("tb" + name);
    }
    tbHide_ = toolButtons_[0].Button;
    layout->addWidget(toolBarMock_);

    pcNav = new QTabWidget;
    pcNav->setObjectName("pcNav");
    // Narrow tabs that shorten their captions rather than scroll, as the help window's do.
    QFont small = pcNav->tabBar()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    pcNav->tabBar()->setFont(small);
    pcNav->tabBar()->setStyleSheet(
        "QTabBar::tab { padding: 2px 4px; margin-right: 1px; border: 1px solid palette(mid); border-bottom: none;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(base); }"
        "QTabBar::tab:!selected { margin-top: 2px; }");
    pcNav->setUsesScrollButtons(false);
    pcNav->setElideMode(Qt::ElideRight);
    tvSample = new SampleTree;
    const std::pair<int, const char*> sample[] = {{0, "Getting started"}, {1, "Welcome"},
                                                  {1, "What is new"},     {1, "Installing"},
                                                  {0, "Writing topics"},  {1, "Titles and levels"},
                                                  {1, "Lists and terms"}, {1, "Inline tags"},
                                                  {2, "Links"},           {2, "Pictures"},
                                                  {0, "Building"},        {1, "Output formats"},
                                                  {1, "The help window"}, {0, "Questions and answers"}};
    std::vector<QTreeWidgetItem*> parents;
    for (const auto& [level, title] : sample) {
        parents.resize(static_cast<size_t>(level));
        auto* item = level == 0 ? new QTreeWidgetItem(tvSample) : new QTreeWidgetItem(parents.back());
        item->setText(0, title);
        parents.push_back(item);
    }
    auto* keyword = new QLineEdit;
    keyword->setPlaceholderText("Type in the keyword to find");
    auto* keywords = new QListWidget;
    keywords->addItems({"books", "folders", "help window", "levels", "links", "pictures", "tool bar", "topics"});
    auto* searchText = new QLineEdit;
    searchText->setPlaceholderText("Type in the word(s) to search for");
    auto* found = new QListWidget;
    auto* favorites = new QListWidget;
    favorites->addItems({"Welcome", "Inline tags"});
    QWidget* pages[] = {tvSample, keywords, found, favorites};
    QWidget* headers[] = {nullptr, keyword, searchText, nullptr};
    for (size_t page = 0; page < NavNames.size(); ++page) {
        auto* pageLayout = new QVBoxLayout;
        pageLayout->setContentsMargins(2, 2, 2, 2);
        if (headers[page])
            pageLayout->addWidget(headers[page]);
        pageLayout->addWidget(pages[page], 1);
        pcNav->addTab(Page(pageLayout, NavPageNames[page]), NavNames[page]);
    }
    connect(pcNav, &QTabWidget::currentChanged, this, [this] { TableToCheck(); });

    auto* note = new QPlainTextEdit;
    note->setObjectName("mmNote");
    note->setReadOnly(true);
    note->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    note->setPlainText(
        "Use the panel at the bottom of this pane to set the properties of the CHM window\u3002The other elements "
        "in the interface (e.g. Menus, Toolbar) have no real functions.  They only show you the window style "
        "visually. But there are some exceptions:\n"
        "\n"
        "1. Move and resize this window to set the window's default position and size. \n"
        "2. Drag the splitter to set the width of the navigation pane on the left of the window. \n"
        "\n"
        "Click OK to save the settings and close this designer. \n"
        "Click NO to close this designer without any changes.\n"
        "\n"
        "Asterisks mean the properties cannot be shown visually.");

    splitter_ = new QSplitter;
    splitter_->setObjectName("splNav");
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(pcNav);
    splitter_->addWidget(note);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { paneWidth_ = splitter_->sizes().value(0); });
    layout->addWidget(splitter_, 1);
    return mockup;
}

QCheckBox* TfrmDesigner::Bound(const char* name, const QString& caption, bool TCHMProject::*field, bool inverted) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    bindings_.push_back({box, field, inverted});
    return box;
}

QWidget* TfrmDesigner::BuildSettings() {
    PageControl2 = new QTabWidget;
    PageControl2->setObjectName("PageControl2");
    PageControl2->addTab(InterfacePage(), "Interface");
    PageControl2->addTab(ToolbarPage(), "Toolbar");
    PageControl2->addTab(NavPage(), "Nav");
    PageControl2->addTab(TocPage(), "TOC");
    PageControl2->addTab(OtherPage(), "Other");
    PageControl2->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* ok = new QPushButton("OK");
    ok->setObjectName("btnOk");
    ok->setDefault(true);
    auto* no = new QPushButton("NO");
    no->setObjectName("btnNo");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, PageControl2->tabBar()->sizeHint().height(), 0, 0);
    buttons->addWidget(ok);
    buttons->addWidget(no);
    buttons->addStretch();

    auto* panel = new QWidget;
    panel->setObjectName("pnlSettings");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl2, 1);
    layout->addLayout(buttons);
    return panel;
}

QWidget* TfrmDesigner::InterfacePage() {
    cbShowMenu = Bound("cbShowMenu", "Show MSDN menu", &P::ShowMSDNMenu);
    cbShowPane = Bound("cbShowPane", "With navigation pane, topic pane and button", &P::ShowPanesToolbar);
    cbViewPannel = Bound("cbViewPannel", "Show Navigation Pane", &P::ShowPane);
    cbHideToolbar = Bound("cbHideToolbar", "Show Toolbar", &P::HideToolbar, true);
    connect(cbShowMenu, &QCheckBox::clicked, this, [this] { actChangeExecute(); });
    for (QCheckBox* box : {cbShowPane, cbViewPannel, cbHideToolbar})
        connect(box, &QCheckBox::clicked, this, [this] { actShowPaneExecute(); });

    // The two boxes below "With navigation pane..." only count with it, so they sit under it.
    auto* parts = new QVBoxLayout;
    parts->setContentsMargins(20, 0, 0, 0);
    parts->addWidget(cbViewPannel);
    parts->addWidget(cbHideToolbar);
    auto* layout = new QVBoxLayout;
    layout->addWidget(cbShowMenu);
    layout->addWidget(cbShowPane);
    layout->addLayout(parts);
    layout->addStretch();
    return Page(layout, "tsInterface");
}

QWidget* TfrmDesigner::ToolbarPage() {
    const std::tuple<const char*, const char*, bool P::*> boxes[] = {
        {"cbHide", "Hide/Show", &P::Hide},  {"cbLocate", "Locate", &P::Locate},
        {"cbBack", "Back", &P::Back},       {"cbForward", "Forward", &P::bForward},
        {"cbStop", "Stop", &P::Stop},       {"cbRefresh", "Refresh", &P::Refresh},
        {"cbHome", "Home", &P::Home},       {"cbPrint", "Print", &P::Print},
        {"cbOption", "Option", &P::Option}, {"cbJump1", "Jump 1", &P::Jump1},
        {"cbJump2", "Jump 2", &P::Jump2}};
    constexpr int Columns = 4;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    for (const auto& [name, caption, field] : boxes) {
        QCheckBox* box = Bound(name, caption, field);
        const int position = static_cast<int>(toolButtons_.size());
        grid->addWidget(box, position / Columns, position % Columns);
        toolButtons_.push_back({box, nullptr});
        connect(box, &QCheckBox::clicked, this, [this] { actChangeExecute(); });
    }
    cbHide = toolButtons_[0].Box;
    cbLocate = toolButtons_[1].Box;
    // The jump buttons need a caption and a target that this dialog does not ask for.
    toolButtons_[9].Box->hide();
    toolButtons_[10].Box->hide();

    cbHideToolbarText = Bound("cbHideToolbarText", "Show Toolbar Text", &P::HideToolbarText, true);
    connect(cbHideToolbarText, &QCheckBox::clicked, this, [this] { actChangeExecute(); });
    auto* layout = new QVBoxLayout;
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(cbHideToolbarText);
    layout->addStretch();
    return Page(layout, "tsToolbar");
}

QWidget* TfrmDesigner::NavPage() {
    cbContent = Bound("cbContent", "Contents", &P::Content);
    cbIndex = Bound("cbIndex", "Index", &P::Index);
    tabBoxes_ = {cbContent, cbIndex, Bound("cbSearch", "Search", &P::Search),
                 Bound("cbFavorite", "Favorite", &P::Favorite)};
    auto* tabs = new QVBoxLayout;
    for (QCheckBox* box : tabBoxes_) {
        tabs->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this] { TabBoxClick(); });
    }
    tabs->addStretch();

    cbDefaultTab = new QComboBox;
    cbDefaultTab->setObjectName("cbDefaultTab");
    cbDefaultTab->setMinimumContentsLength(10);
    connect(cbDefaultTab, &QComboBox::activated, this, [this] { CheckToTable(); });
    auto* label = new QLabel("Default Tab:");
    label->setBuddy(cbDefaultTab);
    auto* defaultTab = new QHBoxLayout;
    defaultTab->addWidget(label);
    defaultTab->addWidget(cbDefaultTab);
    defaultTab->addStretch();
    auto* others = new QVBoxLayout;
    others->addLayout(defaultTab);
    others->addWidget(Bound("cbAutoSync", "Auto Sync*", &P::AutoSync));
    others->addWidget(Bound("cbAutoShowHide", "Auto Show/Hide*", &P::AutoShowHide));
    others->addStretch();

    auto* layout = new QHBoxLayout;
    layout->addLayout(tabs);
    layout->addSpacing(32);
    layout->addLayout(others);
    layout->addStretch();
    return Page(layout, "tsNav");
}

QWidget* TfrmDesigner::TocPage() {
    clbTOC = new QListWidget;
    clbTOC->setObjectName("clbTOC");
    // Top to bottom in columns, so that all fourteen show without scrolling.
    clbTOC->setFlow(QListView::TopToBottom);
    clbTOC->setWrapping(true);
    clbTOC->setResizeMode(QListView::Adjust);
    clbTOC->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    for (const TocRow& row : TocRows) {
        auto* item = new QListWidgetItem(row.Caption, clbTOC);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // Room for seven rows even while the list still counts a horizontal scroll bar in.
    clbTOC->setMinimumHeight(7 * clbTOC->sizeHintForRow(0) + 2 * clbTOC->frameWidth() +
                             clbTOC->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    connect(clbTOC, &QListWidget::itemChanged, this, [this] { actChangeExecute(); });
    auto* layout = new QVBoxLayout;
    layout->addWidget(clbTOC);
    return Page(layout, "tsTOC");
}

QWidget* TfrmDesigner::OtherPage() {
    QCheckBox* stayOnTop = Bound("cbStayontop", "Stay on top*", &P::StayOnTop);
    cbMaximize = Bound("cbMaximize", "Maximize", &P::Maximize);
    for (QCheckBox* box : {stayOnTop, cbMaximize})
        connect(box, &QCheckBox::clicked, this, [this] { actChangeExecute(); });
    auto* layout = new QVBoxLayout;
    layout->addWidget(Bound("cbSavePosition", "Save Position*", &P::SavePosition));
    layout->addWidget(stayOnTop);
    layout->addWidget(cbMaximize);
    layout->addStretch();
    return Page(layout, "tsOther");
}

void TfrmDesigner::ClassToControl(const TCHMProject& window, bool contentsIndexEnabled) {
    for (QCheckBox* box : {cbContent, cbIndex}) {
        box->setChecked(contentsIndexEnabled);
        box->setEnabled(contentsIndexEnabled);
    }
    // Back to normal first, so that the position below is the normal one and not lost to a maximized window.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    move(window.Left, window.Top);
    resize(window.Width, window.Height);
    normal_ = QRect(window.Left, window.Top, window.Width, window.Height);
    paneWidth_ = window.PaneWidth;
    defaultTab_ = window.DefaultTab;

    for (const FlagBinding& binding : bindings_)
        binding.Box->setChecked(window.*binding.Field != binding.Inverted);
    {
        const QSignalBlocker quiet(clbTOC);
        for (size_t i = 0; i < TocRows.size(); ++i)
            clbTOC->item(static_cast<int>(i))->setCheckState(window.*TocRows[i].Field ? Qt::Checked : Qt::Unchecked);
    }
    actChangeExecute();  // lays the splitter out for the pane width when the pane shows

    // The list holds only the checked tabs, so the stored number counts among those.
    cbDefaultTab->setCurrentIndex(
        window.DefaultTab >= 0 && window.DefaultTab < cbDefaultTab->count() ? window.DefaultTab : -1);
    CheckToTable();
    PageControl2->setCurrentIndex(0);
}

void TfrmDesigner::ControlToClass(TCHMProject& window) const {
    window.Top = normal_.y();
    window.Left = normal_.x();
    window.Height = normal_.height();
    window.Width = normal_.width();
    window.PaneWidth = paneWidth_;
    const int active = ActiveNavPage();
    window.DefaultTab = active >= 0 ? active : defaultTab_;
    for (const FlagBinding& binding : bindings_)
        window.*binding.Field = binding.Box->isChecked() != binding.Inverted;
    for (size_t i = 0; i < TocRows.size(); ++i)
        window.*TocRows[i].Field = clbTOC->item(static_cast<int>(i))->checkState() == Qt::Checked;
}

void TfrmDesigner::actChangeExecute() {
    ShowToolbarButtons();
    for (size_t page = 0; page < tabBoxes_.size(); ++page)
        pcNav->setTabVisible(static_cast<int>(page), tabBoxes_[page]->isChecked());
    // A tab shown again after all were hidden: some shown page must be the active one.
    if (ActiveNavPage() < 0) {
        for (int page = 0; page < pcNav->count(); ++page) {
            if (pcNav->isTabVisible(page)) {
                pcNav->setCurrentIndex(page);
                break;
            }
        }
    }
    menuMock_->setVisible(cbShowMenu->isChecked());
    const Qt::WindowStates normal = windowState() & ~Qt::WindowMaximized;
    const Qt::WindowStates wanted = cbMaximize->isChecked() ? normal | Qt::WindowMaximized : normal;
    if (wanted != windowState())
        setWindowState(wanted);

    cbDefaultTab->clear();
    for (size_t page = 0; page < tabBoxes_.size(); ++page) {
        if (tabBoxes_[page]->isChecked())
            cbDefaultTab->addItem(NavNames[page]);
    }
    if (cbDefaultTab->count() > 0)
        cbDefaultTab->setCurrentIndex(0);
    PageControl2->setTabVisible(TocPageIndex, cbContent->isChecked());
    TableToCheck();
    ShowToolbarText();

    auto toc = [this](bool P::*field) {
        const auto at =
            std::find_if(TocRows.begin(), TocRows.end(), [field](const TocRow& row) { return row.Field == field; }) -
            TocRows.begin();
        return clbTOC->item(static_cast<int>(at))->checkState() == Qt::Checked;
    };
    tvSample->HotTrack = toc(&P::AutoTrack);
    tvSample->RowSelect = toc(&P::SelectRow);
    tvSample->Buttons = toc(&P::PlusMinus);
    tvSample->KeepSelection = toc(&P::ShowSelection);
    tvSample->Lines = toc(&P::DrawLines);
    tvSample->SingleExpand = toc(&P::AutoExpand);
    tvSample->Apply(toc(&P::ShowRoot));
    ResetSampleTree();
    actShowPaneExecute();
}

void TfrmDesigner::actShowPaneExecute() {
    const bool panes = cbShowPane->isChecked();
    cbHideToolbar->setEnabled(panes);
    cbViewPannel->setEnabled(panes);
    const bool anyTab =
        std::any_of(tabBoxes_.begin(), tabBoxes_.end(), [](QCheckBox* box) { return box->isChecked(); });
    if (panes) {
        const bool paneShown = cbViewPannel->isChecked() && anyTab;
        pcNav->setVisible(paneShown);  // the splitter's handle goes with it
        tbHide_->setIcon(paneShown ? hideIcon_ : showIcon_);
        tbHide_->setText(paneShown ? "Hide" : "Show");
        cbHide->setEnabled(anyTab);
        if (!anyTab)
            cbHide->setChecked(false);
        cbLocate->setEnabled(cbContent->isChecked());
        if (!cbContent->isChecked())
            cbLocate->setChecked(false);
        toolBarMock_->setVisible(cbHideToolbar->isChecked());
        if (paneShown)
            ShowPaneWidth();
    } else {
        toolBarMock_->hide();
        pcNav->hide();
    }
    PageControl2->setTabVisible(ToolbarPageIndex, panes);
    PageControl2->setTabVisible(NavPageIndex, panes);
    PageControl2->setTabVisible(TocPageIndex, panes && cbContent->isChecked());
    ShowToolbarButtons();  // a box unchecked above takes its button along
}

void TfrmDesigner::CheckToTable() {
    const auto page = std::find(NavNames.begin(), NavNames.end(), cbDefaultTab->currentText());
    if (page != NavNames.end())
        pcNav->setCurrentIndex(static_cast<int>(page - NavNames.begin()));
}

void TfrmDesigner::TableToCheck() {
    const int active = ActiveNavPage();
    if (active < 0)
        return;
    const int entry = cbDefaultTab->findText(NavNames[static_cast<size_t>(active)]);
    if (entry >= 0)
        cbDefaultTab->setCurrentIndex(entry);
}

void TfrmDesigner::TabBoxClick() {
    actShowPaneExecute();
    actChangeExecute();
}

int TfrmDesigner::ActiveNavPage() const {
    const int page = pcNav->currentIndex();
    return page >= 0 && pcNav->isTabVisible(page) ? page : -1;
}

void TfrmDesigner::ShowToolbarButtons() {
    for (const ToolButton& button : toolButtons_)
        button.Button->setVisible(button.Box->isChecked());
}

void TfrmDesigner::ShowToolbarText() {
    const bool text = cbHideToolbarText->isChecked();
    toolBarMock_->setToolButtonStyle(text ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    toolBarMock_->setIconSize(text ? QSize(24, 24) : QSize(16, 16));
    for (const ToolButton& button : toolButtons_) {
        QWidget* shown = toolBarMock_->widgetForAction(button.Button);
        if (text) {
            shown->setMinimumSize(0, 0);
            shown->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else {
            shown->setFixedSize(20, 20);
        }
    }
}

void TfrmDesigner::ShowPaneWidth() {
    // A hidden dialog has not laid itself out for its new size yet; the splitter needs its own width first.
    layout()->invalidate();
    layout()->activate();
    const int rest = splitter_->width() - splitter_->handleWidth() - paneWidth_;
    splitter_->setSizes({paneWidth_, std::max(rest, 1)});
}

void TfrmDesigner::ResetSampleTree() {
    const bool folders = clbTOC->item(0)->checkState() == Qt::Checked;  // "Use folders instead of books"
    tvSample->collapseAll();
    std::function<void(QTreeWidgetItem*)> reset = [&](QTreeWidgetItem* item) {
        const bool node = item->childCount() > 0;
        item->setData(0, PictureRole, folders ? (node ? ClosedFolder : FolderPage) : (node ? ClosedBook : BookPage));
        for (int i = 0; i < item->childCount(); ++i)
            reset(item->child(i));
    };
    for (int i = 0; i < tvSample->topLevelItemCount(); ++i)
        reset(tvSample->topLevelItem(i));
}

void TfrmDesigner::tmCaptionTimer() {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        normal_ = QRect(x(), y(), width(), height());
    setWindowTitle(QString("%1 - [L:%2,T:%3,W:%4,H:%5]")
                       .arg(Caption)
                       .arg(normal_.x())
                       .arg(normal_.y())
                       .arg(normal_.width())
                       .arg(normal_.height()));
}

void TfrmDesigner::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    tmCaption->start();
}

void TfrmDesigner::hideEvent(QHideEvent* event) {
    // One last look, so that a move just before OK still counts.
    if (tmCaption->isActive())
        tmCaptionTimer();
    tmCaption->stop();
    QDialog::hideEvent(event);
}

void TfrmDesigner::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        cbMaximize->setChecked(isMaximized());
}

}  // namespace leafsmith
