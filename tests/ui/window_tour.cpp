// window_tour PROJECT OUTPUT_FOLDER: opens the main window with a project on the real display
// (Xvfb in scripts/window_screenshots.sh), shows each page, the structure preview, the about box and
// a finished build, and saves a picture of the screen for each as it goes.
//
// window_tour --responsiveness PROJECT: builds the project in the window with a 10 ms heartbeat and
// prints every pause of the event loop longer than 100 ms with the log line it came after.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "core/files.h"
#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/templet_ini_maker.h"
#include "ui/ui_test_support.h"

namespace {

QString outputFolder;
int shots = 0;

void Settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Shoot(const QString& name) {
    Settle();
    const QString file = QString("%1/%2-%3.png").arg(outputFolder).arg(++shots, 2, 10, QChar('0')).arg(name);
    QApplication::primaryScreen()->grabWindow(0).save(file);
    std::printf("%s\n", qPrintable(file));
}

// When the next modal window opens (the one named `name`, when given), runs `then` on it.
void OnNextModal(const std::function<void(QWidget*)>& then, const char* name = nullptr) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, then, name] {
        QWidget* modal = QApplication::activeModalWidget();
        if (name) {
            modal = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible() && window->objectName() == name)
                    modal = window;
            }
        }
        if (modal) {
            timer->stop();
            timer->deleteLater();
            then(modal);
        }
    });
    timer->start(20);
}

}  // namespace

// Every stretch longer than 100 ms in which the window's event loop did not run during a build.
int MeasureResponsiveness(const char* project) {
    leafsmith::TfrmMain window(leafsmith::ProgramDataFolder(leafsmith::ExecutableFolder()), project);
    window.show();
    Settle();
    auto* log = window.findChild<QPlainTextEdit*>("mmMakeInfo");
    leafsmith::testing::Heartbeat heartbeat([log](qint64 pause) {
        const QString line = log->document()->lastBlock().previous().text();
        std::printf("pause of %lld ms after \"%s\"\n", static_cast<long long>(pause), qPrintable(line));
    });
    auto* answer = new QTimer;
    QObject::connect(answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    answer->start(20);
    heartbeat.Start();
    window.findChild<QAbstractButton*>("btnMake")->click();
    heartbeat.Stop();
    std::printf("build of %.1f s: %d heartbeats, longest pause %lld ms, %d log lines\n", heartbeat.Elapsed() / 1000.0,
                heartbeat.Ticks, static_cast<long long>(heartbeat.Longest), log->blockCount());
    return 0;
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quorvane");
    QApplication::setApplicationName("Leafsmith");
    QApplication::setWindowIcon(leafsmith::Picture("leafsmith"));
    if (argc == 3 && QString(argv[1]) == "--responsiveness")
        return MeasureResponsiveness(argv[2]);
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_tour PROJECT OUTPUT_FOLDER\n");
        return 2;
    }
    outputFolder = argv[2];
    QDir().mkpath(outputFolder);
    leafsmith::TfrmMain window(leafsmith::ProgramDataFolder(leafsmith::ExecutableFolder()), argv[1]);
    window.move(0, 0);
    window.show();
    Settle();

    auto* pages = window.findChild<QTabWidget*>("pcMain");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        Shoot("page-" + pages->tabText(page).toLower().replace(' ', '-'));
    }

    pages->setCurrentIndex(2);
    OnNextModal([](QWidget* preview) {
        auto* tree = preview->findChild<QTreeWidget*>("tvNav");
        tree->expandAll();
        tree->setCurrentItem(tree->topLevelItem(0)->childCount() ? tree->topLevelItem(0)->child(0)
                                                                 : tree->topLevelItem(0));
        Shoot("structure-preview");
        static_cast<QDialog*>(preview)->accept();
    });
    window.findChild<QAbstractButton*>("btnPreviewStucture")->click();

    OnNextModal([](QWidget* about) {
        Shoot("about-box");
        static_cast<QDialog*>(about)->accept();
    });
    window.findChild<QAction*>("actAbout")->trigger();

    // The build: Yes to the start question, a picture of the final message, then Yes to it.
    OnNextModal([](QWidget* question) {
        Shoot("build-question");
        static_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
        OnNextModal([](QWidget* done) {
            Shoot("build-finished-message");
            static_cast<QMessageBox*>(done)->button(QMessageBox::Yes)->click();
        });
    });
    window.findChild<QAbstractButton*>("btnMake")->click();
    Shoot("build-finished");

    // The dialogs.
    pages->setCurrentIndex(6);
    const char* formats[] = {"btnChm", "btnWebsite", "btnEbook", "btnFAQ", "btnSingleHTML"};
    const char* names[] = {"chm", "website", "ebook", "faq", "single-html"};
    for (int format = 0; format < 5; ++format) {
        const QString name = names[format];
        OnNextModal([name, format](QWidget* settings) {
            Shoot("settings-" + name);
            if (format == 0) {
                OnNextModal(
                    [](QWidget* designer) {
                        Shoot("designer");
                        static_cast<QDialog*>(designer)->reject();
                    },
                    "frmDesigner");
                settings->findChild<QAbstractButton*>("btnCHMSetting")->click();
            }
            if (format == 1) {
                OnNextModal(
                    [](QWidget* selection) {
                        Shoot("template-selection");
                        static_cast<QDialog*>(selection)->reject();
                    },
                    "frmSelectTemplet");
                settings->findChild<QAbstractButton*>("btnTemplet_Website")->click();
            }
            static_cast<QDialog*>(settings)->reject();
        });
        window.findChild<QAbstractButton*>(formats[format])->click();
    }
    OnNextModal([](QWidget* manager) {
        Shoot("template-manager");
        static_cast<QDialog*>(manager)->reject();
    });
    window.findChild<QAction*>("actTemplateManager")->trigger();
    OnNextModal([](QWidget* compile) {
        Shoot("compile-dialog");
        static_cast<QDialog*>(compile)->reject();
    });
    window.findChild<QAction*>("actCompileProject")->trigger();
    window.findChild<QAction*>("actTemplatesIniEditor")->trigger();
    Settle();
    if (auto editors = window.findChildren<leafsmith::TfrmTempletIniMaker*>(); !editors.isEmpty()) {
        QWidget* editor = editors.front();
        editor->findChild<QAbstractButton*>("BitBtn2")->click();  // Load Sample
        Shoot("templates-ini-editor");
        OnNextModal(
            [](QWidget* copyAs) {
                Shoot("copy-as");
                static_cast<QDialog*>(copyAs)->reject();
            },
            "frmCopyAs");
        editor->findChild<QAbstractButton*>("btnCopyAdd")->click();
        editor->close();
    }
    pages->setCurrentIndex(1);
    OnNextModal([](QWidget* byFolder) {
        Shoot("add-files-by-folder");
        static_cast<QDialog*>(byFolder)->reject();
    });
    window.findChild<QAbstractButton*>("btnAddFilesByFolder")->click();
    return 0;
}
