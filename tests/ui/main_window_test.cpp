// The main window, offscreen, driven through its widgets by their object names.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>

#include "test_support.h"
#include "ui/add_files_by_folder.h"
#include "ui/main_window.h"
#include "ui/preview_structure.h"
#include "ui/ui_test_support.h"

namespace leafsmith {

using testing::BoxAnswerer;
using testing::DataFolder;

class MainWindowTest : public QObject {
    Q_OBJECT

    template <typename T>
    T* Get(TfrmMain& window, const char* name) {
        T* widget = window.findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void Click(TfrmMain& window, const char* name) { Get<QAbstractButton>(window, name)->click(); }

    // A project of three topics with a template group of its own, building the CHM pages only.
    std::string SmallProject(testing::TempFolder& folder) {
        testing::WriteFile(folder / "group/templates.ini", "[Template1]\nContentTemplates=page.htm\nType=0\n");
        testing::WriteFile(folder / "group/page.htm", "<html><head></head><body>($CONTENT$)</body></html>\n");
        testing::WriteFile(folder / "text.txt", "One\nfirst\n{Para}\nTwo\nsecond\n{Para}\nThree\nthird\n");
        TProjectOption options(DataFolder());
        options.LoadFromFile(DataFolder() + "/default.lfx");
        options.FileList = {folder / "text.txt"};
        options.OutputChm = true;
        options.OutputWebsite = options.OutputEbook = options.OutputFaq = options.OutputSingleHtml = false;
        options.CompileChm = false;
        options.TempletChm = folder / "group";
        options.TempletNoChm = 1;
        options.OutDir = folder / "out";
        options.SaveToFile(folder / "small.lfx");
        return folder / "small.lfx";
    }

private slots:
    void enablingRulesFollowTheClicks() {
        TfrmMain window(DataFolder(), "");
        Click(window, "rbNumOfSigns");
        QVERIFY(Get<QRadioButton>(window, "rbOneOrMorePerFile")->isChecked());
        QVERIFY(Get<QRadioButton>(window, "rbBlock4")->isChecked());
        for (const char* name : {"rbBlock1", "rbBlock2", "rbBlock3", "edtAtLeast", "edtLineSign", "edtAddOne"})
            QVERIFY2(!Get<QWidget>(window, name)->isEnabled(), name);
        QVERIFY(Get<QWidget>(window, "edtHeadSign")->isEnabled());
        Click(window, "rbLevelSign");
        for (const char* name : {"rbBlock1", "rbBlock2", "rbBlock3", "edtAddOne"})
            QVERIFY2(Get<QWidget>(window, name)->isEnabled(), name);
        QVERIFY(Get<QRadioButton>(window, "rbBlock4")->isChecked());

        Click(window, "cbTerms");  // off: its group's list goes grey
        QVERIFY(!Get<QWidget>(window, "lbTermsEnds")->isEnabled());
        Click(window, "cbEnableTextAnalysis");
        for (const char* name : {"cbSubheading", "cbTerms", "lbReminders", "edtJoinLines"})
            QVERIFY2(!Get<QWidget>(window, name)->isEnabled(), name);
        Click(window, "cbEnableTextAnalysis");
        QVERIFY(Get<QWidget>(window, "cbTerms")->isEnabled());
        QVERIFY(!Get<QWidget>(window, "lbTermsEnds")->isEnabled());
        QVERIFY(Get<QWidget>(window, "lbReminders")->isEnabled());
        for (const char* name : {"cbArrow", "cbBullet", "cbNumbering"}) {
            if (Get<QCheckBox>(window, name)->isChecked())
                Click(window, name);
        }
        QVERIFY(!Get<QWidget>(window, "edtJoinLines")->isEnabled());
        Click(window, "cbBullet");
        QVERIFY(Get<QWidget>(window, "edtJoinLines")->isEnabled());

        Click(window, "cbWebsite");
        QCOMPARE(Get<QWidget>(window, "btnWebsite")->isEnabled(), Get<QCheckBox>(window, "cbWebsite")->isChecked());
    }

    void theChangeTestSeesWhatIsShown() {
        TfrmMain window(DataFolder(), "");
        QVERIFY(!window.IsFormChanged());
        Click(window, "cbHR");
        Click(window, "cbHR");
        window.FormToOptions();
        QVERIFY(!window.ProjectChanged);  // toggled and back: no change
        auto* start = Get<QSpinBox>(window, "seStart");
        QCOMPARE(start->text(), QString("1"));
        start->setFocus();
        start->selectAll();
        QTest::keyClicks(start, "01");
        QCOMPARE(start->text(), QString("01"));
        QVERIFY(window.IsFormChanged());  // "01" is not the stored text, though it is the same number
    }

    void theTextFileListFollowsItsButtons() {
        TfrmMain window(DataFolder(), "");
        auto* list = Get<QListWidget>(window, "lbFileList");
        window.AskTextFiles = [] { return QStringList{"a", "b", "c", "d", "e", "B"}; };
        Click(window, "btnAddFiles");
        auto shown = [list] {
            QStringList texts;
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text() + (list->item(i)->isSelected() ? "*" : "");
            return texts.join(' ');
        };
        QCOMPARE(shown(), QString("a b c d e"));  // "B" repeats "b" ignoring case
        list->item(1)->setSelected(true);
        list->item(2)->setSelected(true);
        Click(window, "sbUp");
        QCOMPARE(shown(), QString("b* c* a d e"));
        Click(window, "sbAllDown");
        QCOMPARE(shown(), QString("a d e b* c*"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(shown(), QString("a d e*"));
        Click(window, "cbRemoveDup");  // off: duplicates may come in
        window.AskTextFiles = [] { return QStringList{"A"}; };
        Click(window, "btnAddFiles");
        QCOMPARE(list->count(), 4);
        Click(window, "cbRemoveDup");  // on again: the repeat goes
        QCOMPARE(list->count(), 3);
        Click(window, "btnSortItems");
        window.AskTextFiles = [] { return QStringList{"c"}; };
        Click(window, "btnAddFiles");
        QCOMPARE(shown().remove('*'), QString("a c d e"));
    }

    void projectCommandsAskBeforeTheyDropChanges() {
        testing::TempFolder folder;
        TfrmMain window(DataFolder(), "");
        QCOMPARE(window.windowTitle(), QString(QApplication::applicationDisplayName() + " - Unnamed.lfx"));
        QString suggested;
        window.AskSaveFile = [&](const QString&, const QString&, const QString& name) {
            suggested = name;
            return QString::fromStdString(folder / "saved.lfx");
        };
        Get<QLineEdit>(window, "edtProjectTitle")->setText("Changed title");
        {
            BoxAnswerer answers({QMessageBox::Cancel});
            window.actNewExecute();
            QCOMPARE(answers.Texts, QStringList{"The project has changed.\nDo you want to save the changes?"});
        }
        QCOMPARE(Get<QLineEdit>(window, "edtProjectTitle")->text(), QString("Changed title"));
        {
            BoxAnswerer answers({QMessageBox::Yes});  // save first: an unnamed project asks for a name
            window.actNewExecute();
        }
        QCOMPARE(suggested, QString("Unnamed.lfx"));
        QVERIFY(std::filesystem::exists(folder / "saved.lfx"));
        QVERIFY(window.CurrentProjectPath.empty());  // the new project is unnamed again

        window.AskOpenFile = [&](const QString&, const QString&) {
            return QString::fromStdString(folder / "saved.lfx");
        };
        window.actOpenProjectExecute();
        QCOMPARE(Get<QLineEdit>(window, "edtProjectTitle")->text(), QString("Changed title"));
        QCOMPARE(window.windowTitle(), QString(QApplication::applicationDisplayName() + " - saved.lfx"));
        Get<QLineEdit>(window, "edtProjectTitle")->setText("Saved again");
        QVERIFY(window.SaveProject());  // a named project is saved without a dialog
        TProjectOption stored;
        stored.LoadFromFile(folder / "saved.lfx");
        QCOMPARE(QString::fromStdString(stored.ProjectTitle), QString("Saved again"));
        QVERIFY(!window.ProjectChanged);
    }

    void aBuildFillsTheLogAndKeepsTheWindowResponsive() {
        testing::TempFolder folder;
        TfrmMain window(DataFolder(), SmallProject(folder));
        window.show();
        testing::Heartbeat heartbeat;
        BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Yes});
        heartbeat.Start();
        Click(window, "btnMake");
        heartbeat.Stop();
        QCOMPARE(answers.Texts.size(), 2);
        QCOMPARE(answers.Texts[1], QString("The creation has been completed succussfully."));
        const QString log = Get<QPlainTextEdit>(window, "mmMakeInfo")->toPlainText();
        QVERIFY2(log.startsWith("Reading the text files...\n\nMaking CHM format...\n1.htm\n2.htm\n3.htm\n"),
                 qPrintable(log));
        QVERIFY(log.endsWith("\nDone."));
        QVERIFY(std::filesystem::exists(folder / "out/CHM/html/3.htm"));
        QVERIFY2(heartbeat.Ticks > 100, qPrintable(QString::number(heartbeat.Ticks)));  // alive in the pauses
        QVERIFY2(heartbeat.Longest < 500, qPrintable(QString::number(heartbeat.Longest)));
        QVERIFY(Get<QWidget>(window, "btnMake")->isEnabled());
    }

    void addingFilesByFolderChecksTheMaskFirst() {
        testing::TempFolder folder;
        for (const char* name : {"b.txt", "A.TXT", "c.log", "sub/d.txt"})
            testing::WriteFile(folder / name, "x");
        TfrmAddFilesByFolder dialog;
        dialog.findChild<QLineEdit*>("edtDirectory")->setText(QString::fromStdString(folder.Path()));
        auto* filter = dialog.findChild<QComboBox*>("cbFilter");
        filter->setEditText("[abc");
        BoxAnswerer answers({QMessageBox::Ok});
        dialog.Search();
        QCOMPARE(answers.Texts, QStringList{"'[abc' is an invalid mask at (1)"});
        QVERIFY(dialog.findChild<QPushButton*>("BitBtn1")->isEnabled());  // still open and usable
        QCOMPARE(dialog.result(), 0);

        filter->setEditText("*.txt");
        dialog.Search();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::string base = folder.Path() + "/";
        QCOMPARE(dialog.Found(), (StringList{base + "A.TXT", base + "b.txt", base + "sub/d.txt"}));
    }

    void helpOpensTheManualOrSaysWhatToInstall() {
        TfrmMain window(DataFolder(), "");
        QStringList opened;
        window.OpenWithDesktop = [&](const QString& target) {
            opened << target;
            return true;
        };
        BoxAnswerer answers({QMessageBox::Yes});
        window.findChild<QAction*>("actHowToUse")->trigger();
        QCOMPARE(opened.size(), 1);
        if (answers.Texts.isEmpty()) {
            QVERIFY(opened[0].endsWith("/manual.chm"));  // this system has a program for help files
        } else {
            QVERIFY(answers.Texts[0].contains("sudo apt install xchm"));
            QVERIFY(opened[0].endsWith("/manual-html/index.htm"));
        }
    }

    void thePreviewShowsTheTopicsOrTheSplittingError() {
        testing::TempFolder folder;
        TfrmMain window(DataFolder(), SmallProject(folder));
        QStringList titles;
        QString body;
        QTimer::singleShot(50, [&] {
            auto* preview = qobject_cast<TfrmPreviewStructure*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            auto* tree = preview->findChild<QTreeWidget*>("tvNav");
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                titles << tree->topLevelItem(i)->text(0);
            tree->setCurrentItem(tree->topLevelItem(1));
            body = preview->findChild<QPlainTextEdit*>("reContent")->toPlainText();
            preview->accept();
        });
        Click(window, "btnPreviewStucture");
        QCOMPARE(titles, (QStringList{"One", "Two", "Three"}));
        QCOMPARE(body, QString("second"));
        QCOMPARE(TfrmPreviewStructure::ExpandedImage(0), 1);
        QCOMPARE(TfrmPreviewStructure::CollapsedImage(1), 0);
        QCOMPARE(TfrmPreviewStructure::ExpandedImage(8), 9);

        testing::WriteFile(folder / "text.txt", "");
        BoxAnswerer answers({QMessageBox::Ok});
        Click(window, "btnPreviewStucture");
        QCOMPARE(answers.Texts, QStringList{"No topics in the text file(s)!"});
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::MainWindowTest)
#include "main_window_test.moc"
