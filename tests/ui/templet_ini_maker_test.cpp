// The templates.ini editor, offscreen, driven through its widgets by their object names.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "templates/template_group.h"
#include "test_support.h"
#include "ui/copy_as.h"
#include "ui/templet_ini_maker.h"
#include "ui/ui_test_support.h"

namespace leafsmith {

using testing::BoxAnswerer;

namespace {

// Three templates; the group name is Windows-1252, as files written on Windows hold it.
constexpr const char* ThreeTemplates =
    "[GENERAL]\r\nGroupName=Caf\xe9\r\n[COMMON]\r\nName=Common\r\nType=1\r\n"
    "[Template1]\r\nName=First\r\nType=0\r\n"
    "[Template2]\r\nName=Second\r\nOtherTemplates=toc.htm:index.htm;frame.htm\r\n"
    "[Template3]\r\nName=Third\r\nType=3\r\n";

TTempletGroup Saved(const std::string& path) {
    TTempletGroup group;
    group.LoadFromFile(path);
    return group;
}

}  // namespace

class TempletIniMakerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TfrmTempletIniMaker> editor;
    QString prompt;  // the folder picker's last question

    // A new editor whose folder picker answers `folder`.
    void NewEditor(const std::string& folder, const std::string& setupDir = testing::DataFolder()) {
        editor = std::make_unique<TfrmTempletIniMaker>(setupDir);
        editor->AskFolder = [this, folder](const QString& asked) {
            prompt = asked;
            return QString::fromStdString(folder);
        };
    }
    template <typename T>
    static T* Get(QWidget* window, const char* name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void Click(const char* name) { Get<QAbstractButton>(editor.get(), name)->click(); }
    bool Enabled(const char* name) { return Get<QWidget>(editor.get(), name)->isEnabled(); }
    QLineEdit* Edit(const char* name) { return Get<QLineEdit>(editor.get(), name); }
    void Choose(int index) { Get<QComboBox>(editor.get(), "cbTemplets")->setCurrentIndex(index); }
    // The rows of the template chooser or of a list.
    QStringList Rows(const char* name) {
        QWidget* widget = Get<QWidget>(editor.get(), name);
        auto* combo = qobject_cast<QComboBox*>(widget);
        const QAbstractItemModel* model = combo ? combo->model() : qobject_cast<QListWidget*>(widget)->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString();
        return rows;
    }
    // Fills the next entry dialog and presses OK; `seen` gets its caption, labels and first values.
    static void AnswerEntry(QString& seen, const QString& source, const QString& destination) {
        QTimer::singleShot(20, [&seen, source, destination] {
            auto* dialog = qobject_cast<TfrmCopyAs*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = QStringList{dialog->windowTitle(), dialog->Label1->text(), dialog->Label2->text(),
                               dialog->edtSourceFiles->text(), dialog->edtCopyAs->text()}
                       .join('|');
            dialog->edtSourceFiles->setText(source);
            dialog->edtCopyAs->setText(destination);
            Get<QAbstractButton>(dialog, "BitBtn1")->click();
        });
    }

private slots:
    void cleanup() { editor.reset(); }

    void openShowsTheGroupAndSaveWaitsForAChange() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "templates.ini", ThreeTemplates);
        NewEditor(folder.Path());
        QVERIFY(!Enabled("gbGeneral") && !Enabled("gbTemplates"));
        Click("btnOpen");
        QCOMPARE(prompt, QString("Select a Templet Group folder for modifying an existent templates.ini:"));
        QCOMPARE(editor->windowTitle(), QString::fromStdString(folder / "templates.ini"));
        QVERIFY(Enabled("gbGeneral") && Enabled("gbTemplates"));
        QCOMPARE(Rows("cbTemplets"), (QStringList{"COMMON", "Template1", "Template2", "Template3"}));
        QCOMPARE(Edit("edtGroupName")->text(), QString("Caf\u00e9"));
        Choose(3);
        QCOMPARE(Get<QComboBox>(editor.get(), "cbType")->currentText(), QString("FAQ"));
        Choose(0);
        QVERIFY(!Enabled("btnSave"));  // looking around changes nothing

        Edit("edtAuthor")->setText("Ann");
        QVERIFY(editor->Modified() && Enabled("btnSave"));
        Click("btnSave");
        QVERIFY(!Enabled("btnSave"));
        const TTempletGroup saved = Saved(folder / "templates.ini");
        QCOMPARE(saved.Author, std::string("Ann"));
        QCOMPARE(saved.GroupName, std::string("Caf\xe9"));  // untouched bytes stay as they were
    }

    void addingAndDeletingTemplatesRenumbersThem() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "templates.ini", ThreeTemplates);
        NewEditor(folder.Path());
        Click("btnOpen");
        QVERIFY(!Enabled("btnTempletDel"));  // COMMON stays
        Choose(2);
        Click("btnTempletDel");
        QCOMPARE(Rows("cbTemplets"), (QStringList{"COMMON", "Template1", "Template2"}));
        Choose(2);
        QCOMPARE(Edit("edtTempletName")->text(), QString("Third"));

        Click("btnTempletAdd");
        QCOMPARE(Get<QComboBox>(editor.get(), "cbTemplets")->currentText(), QString("Template3"));
        QCOMPARE(Get<QComboBox>(editor.get(), "cbType")->currentIndex(), 0);
        Edit("edtTempletName")->setText("Added");
        Choose(1);
        Click("SpeedButton1");  // Unselect: the template takes COMMON's type
        Click("btnSave");
        const TTempletGroup saved = Saved(folder / "templates.ini");
        QCOMPARE(saved.Count(), 4);
        QCOMPARE(saved.Items(1).Type, -1);
        QCOMPARE(saved.Items(2).Name + "/" + std::to_string(saved.Items(2).Type), std::string("Third/3"));
        QCOMPARE(saved.Items(3).Name, std::string("Added"));
    }

    void listEntriesAreEditedThroughTheEntryDialog() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "templates.ini", ThreeTemplates);
        NewEditor(folder.Path());
        Click("btnOpen");
        Choose(2);
        QVERIFY(!Enabled("btnOtherEdit") && !Enabled("btnOtherDel"));
        Get<QListWidget>(editor.get(), "lbOther")->setCurrentRow(0);
        QString seen;
        AnswerEntry(seen, " home.htm ", " ");
        Click("btnOtherEdit");
        QCOMPARE(seen, QString("Modify a non-content Template|Templet file name:|Destination file name:|toc.htm|"
                               "index.htm"));
        AnswerEntry(seen, "img\\*.*", "images\\");
        Click("btnCopyAdd");
        QCOMPARE(seen, QString("Add file(s) for copying|Source file(s)(e.g. images1\\*.*):|"
                               "Destination (e.g. images\\):||"));
        Get<QListWidget>(editor.get(), "lbOther")->setCurrentRow(1);
        Click("btnOtherDel");

        Choose(1);  // leaving the template keeps what was done to its lists
        Choose(2);
        QCOMPARE(Rows("lbOther"), QStringList{"home.htm"});
        QCOMPARE(Rows("lbCopy"), QStringList{"img\\*.*:images\\"});
        Click("btnSave");
        QCOMPARE(Saved(folder / "templates.ini").Items(2).CopyFiles, StringList{"img\\*.*:images\\"});
    }

    void closingAsksToSaveAndCancelKeepsTheWindow() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "templates.ini", ThreeTemplates);
        NewEditor(folder.Path());
        QPointer<TfrmTempletIniMaker> window = editor.get();
        window->show();
        Click("btnOpen");
        Edit("edtWebsite")->setText("example.org");
        {
            BoxAnswerer answers({QMessageBox::Cancel});
            Click("BitBtn1");
            QCOMPARE(answers.Texts, QStringList{"The file has changed.\nDo you want to save the changes?"});
        }
        QVERIFY(window->isVisible());
        QCOMPARE(Edit("edtWebsite")->text(), QString("example.org"));
        QCOMPARE(Saved(folder / "templates.ini").Website, std::string());
        {
            BoxAnswerer answers({QMessageBox::Yes});
            QVERIFY(editor.release()->close());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);  // it frees itself
        QCOMPARE(Saved(folder / "templates.ini").Website, std::string("example.org"));
    }

    void newStartsAGroupOrEditsTheExistingFile() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "old/templates.ini", ThreeTemplates);
        NewEditor(folder / "old");
        {
            BoxAnswerer answers({QMessageBox::No});
            Click("btnNew");
            QCOMPARE(answers.Texts, QStringList{"Templates.ini already exsits in this folder, override it?"});
        }
        QCOMPARE(prompt, QString("Select a Templet Group folder for creating a new Templates.ini:"));
        QCOMPARE(Rows("cbTemplets").size(), 4);
        QVERIFY(!Enabled("btnSave"));

        std::filesystem::create_directory(folder / "new");
        NewEditor(folder / "new");
        Click("btnNew");
        QCOMPARE(Rows("cbTemplets"), QStringList{"COMMON"});
        QVERIFY(!std::filesystem::exists(folder / "new/templates.ini"));  // nothing is written before Save
        Edit("edtGroupName")->setText("Fresh");
        Click("btnSave");
        QCOMPARE(Saved(folder / "new/templates.ini").GroupName, std::string("Fresh"));
    }

    void aFailedLoadKeepsThePreviousGroup() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "good/templates.ini", ThreeTemplates);
        std::filesystem::create_directory(folder / "empty");
        NewEditor(folder / "empty", folder.Path());  // this setup folder has no sample group either
        {
            BoxAnswerer answers({QMessageBox::Ok, QMessageBox::Ok});
            Click("btnOpen");
            Click("BitBtn2");
            QCOMPARE(answers.Texts.value(0),
                     QString::fromStdString("Unable to find file \"" + folder / "empty/templates.ini\"."));
            QCOMPARE(answers.Texts.size(), 2);
        }
        QVERIFY(!Enabled("gbTemplates") && !Enabled("btnSave"));
        QCOMPARE(editor->windowTitle(), QString("Template Group Ini Editor"));

        NewEditor(folder / "good");
        Click("btnOpen");
        Edit("edtAuthor")->setText("Bo");
        editor->AskFolder = [&](const QString&) { return QString::fromStdString(folder / "empty"); };
        {
            BoxAnswerer answers({QMessageBox::No, QMessageBox::Ok});  // don't save, then the error
            Click("btnOpen");
            QCOMPARE(answers.Texts.size(), 2);
        }
        QCOMPARE(editor->windowTitle(), QString::fromStdString(folder / "good/templates.ini"));
        Click("btnSave");
        QVERIFY(!std::filesystem::exists(folder / "empty/templates.ini"));
        QCOMPARE(Saved(folder / "good/templates.ini").Author, std::string("Bo"));
        QCOMPARE(Saved(folder / "good/templates.ini").Count(), 4);

        Click("BitBtn2");
        QVERIFY(editor->FilePath().ends_with("sample/templates.ini"));
        QVERIFY(!Edit("edtGroupName")->text().isEmpty());
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::TempletIniMakerTest)
#include "templet_ini_maker_test.moc"
