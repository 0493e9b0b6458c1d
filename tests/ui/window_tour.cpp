// window_tour PROJECT OUTPUT_FOLDER: opens the main window with a project on the real display
// (Xvfb in scripts/window_screenshots.sh), shows each page, the structure preview, the about box and
// a finished build, and saves a picture of the screen for each as it goes.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

#include "core/files.h"
#include "ui/main_window.h"
#include "ui/pictures.h"

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

// When the next modal window opens, runs `then` on it.
void OnNextModal(const std::function<void(QWidget*)>& then) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, then] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            then(modal);
        }
    });
    timer->start(20);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quorvane");
    QApplication::setApplicationName("Leafsmith tour");
    QApplication::setApplicationDisplayName("Leafsmith");
    QApplication::setWindowIcon(leafsmith::Picture("leafsmith"));
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
    return 0;
}
