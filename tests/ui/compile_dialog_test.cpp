// The compile dialog, offscreen: a help project written by another tool compiles and reads back.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>

#include "test_support.h"
#include "ui/compile_hhp.h"
#include "ui/ui_test_support.h"

namespace leafsmith {

namespace {

std::string Run(const std::string& command) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>&1").c_str(), "r"), ::pclose);
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, got);
    return output;
}

}  // namespace

class CompileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void aSphinxHelpProjectCompilesAndReadsBack() {
        testing::TempFolder folder;
        testing::WriteFile(folder / "src/conf.py",
                           "project = 'Demo Docs'\nhtmlhelp_basename = 'demodocs'\n"
                           "extensions = ['sphinxcontrib.htmlhelp']\n");
        testing::WriteFile(folder / "src/index.rst", "Demo\n====\n\nHello *world*.\n");
        Run("/usr/bin/sphinx-build -q -b htmlhelp '" + folder / "src" + "' '" + folder / "out" + "'");
        QVERIFY(std::filesystem::exists(folder / "out/demodocs.hhp"));

        TfrmCompileHHP dialog;
        QStringList opened;
        dialog.OpenFolder = [&](const QString& target) {
            opened << target;
            return true;
        };
        {
            testing::BoxAnswerer answers({QMessageBox::Ok});
            dialog.findChild<QPushButton*>("BitBtn3")->click();  // View before any compile
            QCOMPARE(answers.Texts.size(), 1);
            QVERIFY(opened.isEmpty());
        }
        dialog.AskProjectFile = [&] { return QString::fromStdString(folder / "out/demodocs.hhp"); };
        dialog.findChild<QPushButton*>("Button1")->click();
        dialog.findChild<QPushButton*>("BitBtn2")->click();
        const QString log = dialog.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
        QVERIFY2(log.contains("Wrote demodocs.chm: "), qPrintable(log));
        const std::string listing = Run("enum_chmLib '" + folder / "out/demodocs.chm" + "'");
        QVERIFY2(listing.find("/index.html") != std::string::npos, listing.c_str());
        dialog.findChild<QPushButton*>("BitBtn2")->click();  // again: the repeated last message is not shown twice
        const QString twice = dialog.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
        QVERIFY(!twice.endsWith(log.section('\n', -1) + "\n" + log.section('\n', -1)));
        dialog.findChild<QPushButton*>("BitBtn3")->click();
        QCOMPARE(opened, QStringList{QString::fromStdString(folder / "out/")});
    }
};

}  // namespace leafsmith

QTEST_MAIN(leafsmith::CompileDialogTest)
#include "compile_dialog_test.moc"
