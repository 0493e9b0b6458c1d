// The help window designer, offscreen, driven through its controls by their object names.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "core/project_option.h"
#include "test_support.h"
#include "ui/designer.h"

namespace leafsmith {

class DesignerTest : public QObject {
    Q_OBJECT

    template <typename T = QWidget>
    static T* Get(TfrmDesigner& dialog, const char* name) {
        T* control = dialog.findChild<T*>(name);
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    static QCheckBox* Box(TfrmDesigner& dialog, const char* name) { return Get<QCheckBox>(dialog, name); }
    static bool SettingsPageShown(TfrmDesigner& dialog, const QString& caption) {
        auto* pages = Get<QTabWidget>(dialog, "PageControl2");
        for (int page = 0; page < pages->count(); ++page) {
            if (pages->tabText(page) == caption)
                return pages->isTabVisible(page);
        }
        qFatal("no settings page %s", qPrintable(caption));
    }
    static QStringList DefaultTabEntries(TfrmDesigner& dialog) {
        auto* list = Get<QComboBox>(dialog, "cbDefaultTab");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        return entries;
    }
    // The stored fields that differ, by name, so that a failed round trip says where.
    static QStringList Differences(const TCHMProject& a, const TCHMProject& b) {
        QStringList names;
        for (const auto& field : WindowNumberFields) {
            if (a.*field.Member != b.*field.Member)
                names << QString("%1 %2/%3").arg(field.Key).arg(a.*field.Member).arg(b.*field.Member);
        }
        for (const auto& field : WindowFlagFields) {
            if (a.*field.Member != b.*field.Member)
                names << field.Key;
        }
        return names;
    }

private slots:
    void theMockupShowsTheStoredOptionsAndFollowsTheBoxes() {
        TCHMProject window;
        window.HideToolbar = true;
        window.HideToolbarText = true;
        window.ShowMSDNMenu = true;
        window.Jump1 = true;
        window.Print = false;
        TfrmDesigner dialog;
        dialog.ClassToControl(window, true);
        auto* toolBar = Get<QToolBar>(dialog, "toolBarMock");
        QVERIFY(!Box(dialog, "cbHideToolbar")->isChecked());
        QVERIFY(!Box(dialog, "cbHideToolbarText")->isChecked());
        QVERIFY(toolBar->isHidden());
        QVERIFY(!Get(dialog, "menuMock")->isHidden());
        QVERIFY(Get<QAction>(dialog, "tbJump1")->isVisible());
        QVERIFY(!Get<QAction>(dialog, "tbJump2")->isVisible());
        QVERIFY(!Get<QAction>(dialog, "tbPrint")->isVisible());
        QVERIFY(Box(dialog, "cbJump1")->isHidden());  // the jump buttons are never offered
        QWidget* back = toolBar->widgetForAction(Get<QAction>(dialog, "tbBack"));
        QCOMPARE(back->maximumSize(), QSize(20, 20));

        Box(dialog, "cbHideToolbar")->click();
        QVERIFY(!toolBar->isHidden());
        Box(dialog, "cbHideToolbarText")->click();
        QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(back->maximumSize().width() > 20);
        Box(dialog, "cbPrint")->click();
        QVERIFY(Get<QAction>(dialog, "tbPrint")->isVisible());
        Box(dialog, "cbShowMenu")->click();
        QVERIFY(Get(dialog, "menuMock")->isHidden());
        Box(dialog, "cbMaximize")->click();
        QVERIFY(dialog.isMaximized());

        Get<QPushButton>(dialog, "btnNo")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        Get<QPushButton>(dialog, "btnOk")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void uncheckingEveryTabHidesThePaneAndDisablesHideShow() {
        TfrmDesigner dialog;
        dialog.ClassToControl(TCHMProject(), true);
        auto* pane = Get(dialog, "pcNav");
        auto* button = Get<QAction>(dialog, "tbHide");
        QVERIFY(!pane->isHidden());
        QCOMPARE(button->text(), QString("Hide"));
        for (const char* name : {"cbContent", "cbIndex", "cbSearch", "cbFavorite"})
            Box(dialog, name)->click();
        QVERIFY(pane->isHidden());
        QCOMPARE(button->text(), QString("Show"));
        QVERIFY(!Box(dialog, "cbHide")->isChecked());
        QVERIFY(!Box(dialog, "cbHide")->isEnabled());
        QVERIFY(!button->isVisible());  // its box went off, so the button went too
        QVERIFY(DefaultTabEntries(dialog).isEmpty());

        Box(dialog, "cbSearch")->click();  // one tab back: the pane and its page return
        QVERIFY(!pane->isHidden());
        QCOMPARE(button->text(), QString("Hide"));
        QVERIFY(Box(dialog, "cbHide")->isEnabled());
        QCOMPARE(Get<QTabWidget>(dialog, "pcNav")->currentWidget()->objectName(), QString("tsSearch"));
        QCOMPARE(Get<QComboBox>(dialog, "cbDefaultTab")->currentText(), QString("Search"));

        Box(dialog, "cbViewPannel")->click();  // pane off, a tab still on: "Show", and the box stays usable
        QVERIFY(pane->isHidden());
        QCOMPARE(button->text(), QString("Show"));
        QVERIFY(Box(dialog, "cbHide")->isEnabled());
    }

    void uncheckingContentsTakesLocateAndTheTocPage() {
        TfrmDesigner dialog;
        dialog.ClassToControl(TCHMProject(), true);
        QVERIFY(SettingsPageShown(dialog, "TOC"));
        Box(dialog, "cbContent")->click();
        QVERIFY(!Box(dialog, "cbLocate")->isChecked());
        QVERIFY(!Box(dialog, "cbLocate")->isEnabled());
        QVERIFY(!Get<QAction>(dialog, "tbLocate")->isVisible());
        QVERIFY(!SettingsPageShown(dialog, "TOC"));
        QVERIFY(!Get<QTabWidget>(dialog, "pcNav")->isTabVisible(0));
        QCOMPARE(DefaultTabEntries(dialog), (QStringList{"Index", "Search", "Favorite"}));

        Box(dialog, "cbContent")->click();
        QVERIFY(Box(dialog, "cbLocate")->isEnabled());
        QVERIFY(SettingsPageShown(dialog, "TOC"));

        // Without the three-pane window there is no tool bar, no navigation pane and none of their pages.
        Box(dialog, "cbShowPane")->click();
        for (const char* page : {"Toolbar", "Nav", "TOC"})
            QVERIFY2(!SettingsPageShown(dialog, page), page);
        QVERIFY(!Box(dialog, "cbViewPannel")->isEnabled());
        QVERIFY(!Box(dialog, "cbHideToolbar")->isEnabled());
        QVERIFY(Get(dialog, "toolBarMock")->isHidden());
        QVERIFY(Get(dialog, "pcNav")->isHidden());
        Box(dialog, "cbShowPane")->click();
        QVERIFY(SettingsPageShown(dialog, "TOC"));
        QVERIFY(!Get(dialog, "toolBarMock")->isHidden());
    }

    void otherFormatsShowContentsAndIndexWithoutChangingThem() {
        TCHMProject window;
        window.Content = false;
        TfrmDesigner dialog;
        dialog.ClassToControl(window, false);
        QVERIFY(!Box(dialog, "cbContent")->isChecked());
        QVERIFY(Box(dialog, "cbIndex")->isChecked());
        QVERIFY(!Box(dialog, "cbContent")->isEnabled());
        QVERIFY(!Box(dialog, "cbIndex")->isEnabled());
        QVERIFY(Box(dialog, "cbSearch")->isEnabled());
        dialog.ClassToControl(window, true);
        QVERIFY(Box(dialog, "cbContent")->isEnabled());
        QVERIFY(!Box(dialog, "cbContent")->isChecked());
    }

    void theDefaultTabCountsAmongTheShownTabsAndComesBackAmongAllFour() {
        TCHMProject window;
        window.Content = false;
        window.DefaultTab = 1;
        TfrmDesigner dialog;
        dialog.ClassToControl(window, true);
        auto* list = Get<QComboBox>(dialog, "cbDefaultTab");
        auto* pages = Get<QTabWidget>(dialog, "pcNav");
        QCOMPARE(list->currentText(), QString("Search"));
        QCOMPARE(pages->currentWidget()->objectName(), QString("tsSearch"));
        TCHMProject back;
        dialog.ControlToClass(back);
        QCOMPARE(back.DefaultTab, 2);

        QTest::keyClick(list, Qt::Key_Down);  // choosing in the list shows that page
        QCOMPARE(pages->currentWidget()->objectName(), QString("tsFavorite"));
        dialog.ControlToClass(back);
        QCOMPARE(back.DefaultTab, 3);
        pages->setCurrentIndex(1);  // and choosing a page chooses in the list
        QCOMPARE(list->currentText(), QString("Index"));
    }

    void everyOptionComesBackAsStored() {
        TfrmDesigner dialog;  // one dialog for every case, as the program keeps one
        for (bool flipped : {true, false}) {
            for (bool contentsIndexEnabled : {true, false}) {
                TCHMProject window;
                if (flipped) {
                    for (const auto& field : WindowFlagFields)
                        window.*field.Member = !(window.*field.Member);
                }
                window.Left = 123;
                window.Top = 77;
                window.Width = 701;
                window.Height = 517;
                window.PaneWidth = 233;
                window.DefaultTab = flipped ? 2 : 3;
                dialog.ClassToControl(window, contentsIndexEnabled);
                // Through the project file as well: the dialog writes the options, the file keeps them.
                testing::TempFolder folder;
                TProjectOption project;
                dialog.ControlToClass(project.FaqWindow);
                project.SaveToFile(folder / "p.lfx");
                TProjectOption loaded;
                loaded.LoadFromFile(folder / "p.lfx");
                dialog.ClassToControl(loaded.FaqWindow, contentsIndexEnabled);
                TCHMProject back;
                back.Title = "Kept";
                back.DefaultTopic = "kept.htm";
                dialog.ControlToClass(back);
                const QString differences = Differences(window, back).join(", ");
                QVERIFY2(
                    back.IsSameAs(window),
                    qPrintable(
                        QString("flipped %1, enabled %2: %3").arg(flipped).arg(contentsIndexEnabled).arg(differences)));
                QCOMPARE(back.Title, std::string("Kept"));
                QCOMPARE(back.DefaultTopic, std::string("kept.htm"));
            }
        }
    }

    void theShownWindowKeepsItsNormalPlaceWhenMaximized() {
        TCHMProject window;
        window.Left = 31;
        window.Top = 47;
        window.Width = 655;
        window.Height = 433;
        window.PaneWidth = 187;
        TfrmDesigner dialog;
        dialog.ClassToControl(window, true);
        dialog.show();
        QTRY_COMPARE(dialog.windowTitle(), QString("Visual CHM designer - [L:31,T:47,W:655,H:433]"));
        QCOMPARE(Get(dialog, "pcNav")->width(), 187);
        dialog.showMaximized();
        QTRY_VERIFY(Box(dialog, "cbMaximize")->isChecked());
        QTest::qWait(600);  // one tick of the caption timer while maximized
        dialog.hide();
        TCHMProject back;
        dialog.ControlToClass(back);
        QCOMPARE(Differences(window, back), QStringList{"Maximize"});
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::DesignerTest)
#include "designer_test.moc"
