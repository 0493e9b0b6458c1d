// The template group manager and the template selection dialog, offscreen.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "test_support.h"
#include "ui/templet_manager.h"
#include "ui/ui_test_support.h"

namespace leafsmith {

using testing::BoxAnswerer;
using testing::TempFolder;
using testing::WriteFile;

namespace {

// A group folder with one template of each format code given (0 CHM ... 3 FAQ).
void WriteGroup(const std::string& folder, const std::string& name, std::initializer_list<int> types) {
    std::string ini = "[GENERAL]\nGroupName=" + name + "\n";
    int n = 0;
    for (int type : types) {
        const std::string number = std::to_string(++n);
        ini += "[Template" + number + "]\nName=T" + number + "\nContentTemplates=p.htm\nType=" + std::to_string(type) +
               "\n";
    }
    WriteFile(folder + "/templates.ini", ini);
}

// The program's group list with the given groups (name, folder, on).
void WriteList(const std::string& setup, const std::vector<std::tuple<std::string, std::string, bool>>& groups) {
    std::string ini;
    int n = 0;
    for (const auto& [name, folder, on] : groups) {
        const std::string number = std::to_string(++n);
        ini += "[TemplatesGroup" + number + "]\nOn=" + (on ? "1" : "0") + "\nTemplatesGroupName=" + name +
               "\nPosition=" + folder + "\n";
    }
    WriteFile(setup + "/templates.ini", ini);
}

}  // namespace

class TemplateDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theManagerKeepsTheFirstFiveAndRenumbersAfterADelete() {
        TempFolder folder;
        std::vector<std::tuple<std::string, std::string, bool>> groups;
        for (int i = 1; i <= 6; ++i) {
            WriteGroup(folder / ("g" + std::to_string(i)), "G" + std::to_string(i), {0, 1});
            groups.emplace_back("G" + std::to_string(i), folder / ("g" + std::to_string(i)), true);
        }
        WriteList(folder / "setup", groups);
        TfrmTempletManager manager(folder / "setup");
        auto* rows = manager.findChild<QTreeWidget*>("lvGroups");
        auto* remove = manager.findChild<QAction*>("actDelete");
        QCOMPARE(rows->topLevelItemCount(), 6);
        QCOMPARE(rows->topLevelItem(0)->text(1), QString("1"));  // the CHM count
        rows->setCurrentItem(rows->topLevelItem(4));
        QVERIFY(!remove->isEnabled());
        rows->setCurrentItem(rows->topLevelItem(5));
        QVERIFY(remove->isEnabled());
        QCOMPARE(manager.findChild<QListWidget*>("lvPreview")->count(), 2);
        rows->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        BoxAnswerer answers({QMessageBox::Yes});
        remove->trigger();
        QCOMPARE(answers.Texts, QStringList{"Are you sure to DELETE this Template Group form Templets Group Manager?"});
        const std::string list = testing::ReadFile(folder / "setup/templates.ini");
        QVERIFY(list.find("[TemplatesGroup6]") == std::string::npos);
        QVERIFY(list.find("[TemplatesGroup2]\r\nOn=0\r\n") != std::string::npos);
    }

    void addingAGroupChecksItsFolderAndProposesAName() {
        TempFolder folder;
        WriteGroup(folder / "known", "Known", {0});
        WriteList(folder / "setup", {{"TemplatesGroup1", folder / "known", true}});
        WriteFile(folder / "empty/readme.txt", "no group here");
        WriteGroup(folder / "nameless", "", {3});
        TfrmTempletManager manager(folder / "setup");
        QString asked;
        manager.AskName = [&](const QString& proposal) {
            asked = proposal;
            return proposal;
        };
        for (const auto& [chosen, message] :
             {std::pair{folder / "empty", "No templates.ini in this folder!"},
              std::pair{folder / "known", "This Template Group already exsites in the Templets Group Manager!"}}) {
            manager.AskFolder = [chosen = chosen](const QString&) { return QString::fromStdString(chosen); };
            BoxAnswerer answers({QMessageBox::Ok});
            manager.actAddTempletExecute();
            QCOMPARE(answers.Texts, QStringList{message});
        }
        manager.AskFolder = [&](const QString&) { return QString::fromStdString(folder / "nameless"); };
        manager.actAddTempletExecute();
        QCOMPARE(asked, QString("TemplatesGroup2"));  // TemplatesGroup1 is taken
        auto* rows = manager.findChild<QTreeWidget*>("lvGroups");
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(1)->text(4), QString("1"));  // counted after the addition
    }

    void theSelectionOffersOnlyGroupsAndTemplatesOfTheFormat() {
        TempFolder folder;
        WriteGroup(folder / "mixed", "Mixed", {0, 2, 2});
        WriteGroup(folder / "off", "Off", {2});
        WriteGroup(folder / "chm", "Chm", {0});
        WriteList(folder / "setup",
                  {{"Mixed", folder / "mixed", true}, {"Off", folder / "off", false}, {"Chm", folder / "chm", true}});
        TfrmSelectTemplet selection(folder / "setup");
        QStringList offered;
        int pictures = -1;
        bool okEnabled = true;
        auto look = [&] {
            QTimer::singleShot(50, [&] {
                auto* groups = selection.findChild<QComboBox*>("cbTemplets");
                offered.clear();
                for (int i = 0; i < groups->count(); ++i)
                    offered << groups->itemText(i);
                pictures = selection.findChild<QListWidget*>("lvPreview")->count();
                okEnabled = selection.findChild<QPushButton*>("actSelectATemplet")->isEnabled();
                selection.accept();
            });
        };
        look();
        QCOMPARE(selection.Execute(2, folder / "mixed", 3), int(QDialog::Accepted));
        QCOMPARE(offered, QStringList{"Mixed"});
        QCOMPARE(pictures, 2);  // its two E-book templates
        QVERIFY(okEnabled);
        QCOMPARE(QString::fromStdString(selection.SelectedFolder()), QString::fromStdString(folder / "mixed"));
        QCOMPARE(selection.SelectedNumber(), 3);

        look();
        selection.Execute(2, folder / "mixed", 1);  // template 1 is a CHM template: nothing preselected
        QVERIFY(!okEnabled);
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::TemplateDialogsTest)
#include "template_dialogs_test.moc"
