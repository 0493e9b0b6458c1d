// The output settings dialog, offscreen; and a template group from the templates.ini editor to a
// build: made in the editor, registered in the manager, chosen in the settings dialog, built.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "build/build_command.h"
#include "core/project_option.h"
#include "test_support.h"
#include "ui/designer.h"
#include "ui/output_settings.h"
#include "ui/templet_ini_maker.h"
#include "ui/templet_manager.h"
#include "ui/ui_test_support.h"

namespace leafsmith {

namespace {

namespace fs = std::filesystem;

// A copy of the program's data folder, so that the group list can change.
std::string CopyOfTheProgramsData(const testing::TempFolder& folder) {
    const std::string setup = folder / "setup";
    fs::create_directories(setup);
    for (const char* entry : {"templates.ini", "default.lfx", "icons", "webjs.dat", "ebookjs.dat", "singlehtml.htm",
                              "nopic.bmp", "Templates"}) {
        fs::copy(testing::DataFolder() + "/" + entry, setup + "/" + entry, fs::copy_options::recursive);
    }
    return setup;
}

class QuietSink : public MakeSink {
public:
    void ClearLog() override {}
    void OutOnInfo(TLfxObject*, const std::string&) override {}
    bool Ask(const std::string&) override { return true; }
    void Tell(const std::string& text) override { Told = text; }
    std::string Told;
};

}  // namespace

class OutputSettingsTest : public QObject {
    Q_OBJECT

    template <typename T>
    static T* Get(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

private slots:
    void outputChmProjectAndTheTitleListStyles() {
        TfrmDesigner designer;
        TfrmSelectTemplet selection(testing::DataFolder());
        TfrmSetting settings(testing::DataFolder(), &designer, &selection);
        TProjectOption options(testing::DataFolder());
        options.LoadFromFile(testing::DataFolder() + "/default.lfx");
        options.TitleListStyle_Ebook = 0;
        options.TitleListStyle_Faq = 2;
        settings.SetPage(1);
        QCOMPARE(settings.windowTitle(), QString("Website Settings"));
        settings.CopyFrom(options);

        auto* output = Get<QCheckBox>(settings, "cbOutputChmProject_Website");
        if (output->isChecked())
            output->click();
        for (const char* name : {"edtCHMFileName_website", "cbCompileChm_Website", "btnCHMSetting_Website"})
            QVERIFY2(!Get<QWidget>(settings, name)->isEnabled(), name);
        output->click();
        QVERIFY(Get<QWidget>(settings, "edtCHMFileName_website")->isEnabled());

        QVERIFY(!Get<QRadioButton>(settings, "rbBullet_Ebook")->isChecked());
        QVERIFY(!Get<QRadioButton>(settings, "rbNumbering_Ebook")->isChecked());
        QVERIFY(Get<QRadioButton>(settings, "rbNumbering_Faq")->isChecked());
        settings.CopyTo(options);
        QCOMPARE(options.TitleListStyle_Ebook, 0);  // neither checked: the style stays
        Get<QRadioButton>(settings, "rbBullet_Ebook")->click();
        settings.CopyTo(options);
        QCOMPARE(options.TitleListStyle_Ebook, 1);
        options.TitleListStyle_Ebook = 0;
        settings.CopyFrom(options);  // 0 leaves the buttons as the last opening left them
        QVERIFY(Get<QRadioButton>(settings, "rbBullet_Ebook")->isChecked());

        bool contentsEnabled = true;
        QTimer::singleShot(50, [&] {
            contentsEnabled = Get<QCheckBox>(designer, "cbContent")->isEnabled();
            designer.reject();
        });
        Get<QPushButton>(settings, "btnCHMSetting_Website")->click();
        QVERIFY(!contentsEnabled);  // only the CHM format writes a contents file of its own choosing
    }

    void aGroupFromTheEditorIsRegisteredChosenAndBuilt() {
        testing::TempFolder folder;
        const std::string setup = CopyOfTheProgramsData(folder);
        const std::string group = folder / "mygroup";
        fs::create_directories(group);
        testing::WriteFile(group + "/page.htm",
                           "<html><head></head><body>MY GROUP|($TITLE$)|($CONTENT$)</body></html>\n");

        // Made in the editor.
        auto* editor = new TfrmTempletIniMaker(setup);
        editor->AskFolder = [&](const QString&) { return QString::fromStdString(group); };
        Get<QPushButton>(*editor, "btnNew")->click();
        Get<QLineEdit>(*editor, "edtGroupName")->setText("My Group");
        Get<QPushButton>(*editor, "btnTempletAdd")->click();
        Get<QLineEdit>(*editor, "edtTempletName")->setText("Plain pages");
        Get<QLineEdit>(*editor, "edtContentTemplet")->setText("page.htm");
        Get<QComboBox>(*editor, "cbType")->setCurrentIndex(0);
        Get<QPushButton>(*editor, "btnSave")->click();
        QVERIFY(fs::exists(group + "/templates.ini"));
        editor->close();

        // Registered in the manager.
        {
            TfrmTempletManager manager(setup);
            manager.AskFolder = [&](const QString&) { return QString::fromStdString(group); };
            QString proposed;
            manager.AskName = [&](const QString& proposal) {
                proposed = proposal;
                return proposal;
            };
            manager.actAddTempletExecute();
            QCOMPARE(proposed, QString("My Group"));
        }

        // Chosen in the settings dialog.
        TfrmDesigner designer;
        TfrmSelectTemplet selection(setup);
        TfrmSetting settings(setup, &designer, &selection);
        TProjectOption options(setup);
        options.LoadFromFile(setup + "/default.lfx");
        settings.SetPage(0);
        settings.CopyFrom(options);
        QTimer::singleShot(50, [&] {
            auto* groups = Get<QComboBox>(selection, "cbTemplets");
            const int mine = groups->findText("My Group");
            QVERIFY(mine >= 0);
            groups->setCurrentIndex(mine);
            selection.Preview();
            Get<QListWidget>(selection, "lvPreview")->item(0)->setSelected(true);
            Get<QPushButton>(selection, "actSelectATemplet")->click();
        });
        Get<QPushButton>(settings, "btnTemplet_Chm")->click();
        QCOMPARE(Get<QLabel>(settings, "lblTempName_chm")->text(), QString("Plain pages"));
        settings.CopyTo(options);
        QCOMPARE(QString::fromStdString(options.TempletChm), QString::fromStdString(group));
        QCOMPARE(options.TempletNoChm, 1);

        // Built.
        testing::WriteFile(folder / "text.txt", "First\nbody\n{Para}\nSecond\nmore\n");
        options.ProjectFolder = folder.Path();
        options.FileList = {"text.txt"};
        options.OutputChm = true;
        options.OutputWebsite = options.OutputEbook = options.OutputFaq = options.OutputSingleHtml = false;
        options.CompileChm = false;
        options.OutDir = "out";
        QuietSink sink;
        BuildEnvironment environment;
        environment.PauseMilliseconds = 0;
        BuildSession session;
        try {
            QCOMPARE(int(RunMake(options, sink, environment, session)), int(MakeResult::Completed));
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
        const std::string page = testing::ReadFile(folder / "out/CHM/html/1.htm");
        QVERIFY2(page.find("MY GROUP|First|") != std::string::npos, page.c_str());
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::OutputSettingsTest)
#include "output_settings_test.moc"
