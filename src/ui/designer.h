// The help window designer. The dialog itself stands for the help window: moving and resizing it
// sets the window's position and size, dragging its splitter the navigation pane width, and the
// check boxes at the bottom everything else, each shown at once in the mock-up above them.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <array>
#include <vector>

#include "core/chm_window.h"

class QAction;
class QCheckBox;
class QComboBox;
class QListWidget;
class QMenuBar;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;

namespace leafsmith {

class SampleTree;

class TfrmDesigner : public QDialog {
    Q_OBJECT

public:
    explicit TfrmDesigner(QWidget* parent = nullptr);
    ~TfrmDesigner() override;

    // `contentsIndexEnabled` is false for the formats other than CHM: their Contents and Index
    // boxes show the stored values but cannot be changed.
    void ClassToControl(const TCHMProject& window, bool contentsIndexEnabled);
    // Writes the window options only; Title, Language, Font, DefaultTopic and TocFont stay as they are.
    void ControlToClass(TCHMProject& window) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct FlagBinding {
        QCheckBox* Box;
        bool TCHMProject::*Field;
        bool Inverted;  // the box shows the opposite of the flag ("Show Toolbar" for HideToolbar)
    };
    struct ToolButton {
        QCheckBox* Box;
        QAction* Button;
    };

    QWidget* BuildMockup();
    QWidget* BuildSettings();
    QWidget* InterfacePage();
    QWidget* ToolbarPage();
    QWidget* NavPage();
    QWidget* TocPage();
    QWidget* OtherPage();
    QCheckBox* Bound(const char* name, const QString& caption, bool TCHMProject::*field, bool inverted = false);

    void actChangeExecute();
    void actShowPaneExecute();
    void CheckToTable();
    void TableToCheck();
    void tmCaptionTimer();
    void TabBoxClick();
    void ShowToolbarButtons();
    void ShowToolbarText();
    void ShowPaneWidth();
    void ResetSampleTree();
    // The navigation page on show, or -1 when every tab is hidden.
    int ActiveNavPage() const;

    std::vector<FlagBinding> bindings_;
    std::vector<ToolButton> toolButtons_;
    std::array<QCheckBox*, 4> tabBoxes_{};
    QIcon hideIcon_;
    QIcon showIcon_;

    QMenuBar* menuMock_ = nullptr;
    QToolBar* toolBarMock_ = nullptr;
    QAction* tbHide_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* pcNav = nullptr;
    SampleTree* tvSample = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QCheckBox* cbShowMenu = nullptr;
    QCheckBox* cbShowPane = nullptr;
    QCheckBox* cbViewPannel = nullptr;
    QCheckBox* cbHideToolbar = nullptr;
    QCheckBox* cbHide = nullptr;
    QCheckBox* cbLocate = nullptr;
    QCheckBox* cbHideToolbarText = nullptr;
    QCheckBox* cbContent = nullptr;
    QCheckBox* cbIndex = nullptr;
    QComboBox* cbDefaultTab = nullptr;
    QListWidget* clbTOC = nullptr;
    QCheckBox* cbMaximize = nullptr;
    QTimer* tmCaption = nullptr;

    // The last normal (not maximized) position and size, which the help window takes.
    QRect normal_;
    int paneWidth_ = 0;
    // Kept for ControlToClass while no navigation tab is shown, when no page can be the default.
    int defaultTab_ = 0;
};

}  // namespace leafsmith
