// leafsmith: the desktop program. Shows the splash screen, opens the main window with the project
// named by the first argument (or the default project, unnamed) and runs until the window closes.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>

#include "core/files.h"
#include "leafsmith_version.h"
#include "ui/main_window.h"
#include "ui/pictures.h"

namespace {

QPixmap SplashPicture(qreal ratio) {
    QPixmap picture = leafsmith::Picture("splash").pixmap(QSize(340, 207), ratio);
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    painter.drawText(QRect(150, 170, 176, 24), Qt::AlignRight | Qt::AlignVCenter,
                     QString("v") + leafsmith::LeafsmithVersion);
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quorvane");
    QApplication::setApplicationName("Leafsmith");
    QApplication::setApplicationVersion(leafsmith::LeafsmithVersion);
    QApplication::setWindowIcon(leafsmith::Picture("leafsmith"));

    QSplashScreen splash(SplashPicture(application.primaryScreen()->devicePixelRatio()));
    splash.show();
    application.processEvents();

    const QStringList arguments = QApplication::arguments();
    const std::string project = arguments.size() > 1 ? arguments[1].toStdString() : std::string();
    leafsmith::TfrmMain window(leafsmith::ProgramDataFolder(leafsmith::ExecutableFolder()), project);
    window.show();
    splash.finish(&window);
    return QApplication::exec();
}
