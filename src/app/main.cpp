#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/SingleInstance.h"
#include "app/TerminationRequests.h"
#include "platform/Desktop.h"
#include "platform/Inifun.h"
#include "preview/PlayerEmbedding.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    vidora::prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Vidora"));
    QApplication::setApplicationVersion(QStringLiteral(VIDORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("vidora"));
    QApplication::setWindowIcon(vidora::programIcon());

    const QStringList files =
        vidora::filesFromArguments(QCoreApplication::arguments(), QDir::currentPath());
    vidora::SingleInstance instance;
    switch (instance.start(files)) {
    case vidora::SingleInstance::Start::First:
        break;
    case vidora::SingleInstance::Start::HandedOver:
        return 0;
    case vidora::SingleInstance::Start::NotAnswering: {
        const QString text = QStringLiteral("Vidora is already running but does not answer; "
                                            "close it and start it again.");
        std::fprintf(stderr, "vidora: %s\n", qPrintable(text));
        vidora::notifications().notify(QStringLiteral("Vidora"), text);
        return 1;
    }
    }

    // A write cut short by a kill left its temporary beside the settings file.
    vidora::RemoveLeftoverSettingsTemporaries(vidora::settingsFilePath());
    vidora::MainWindow window;
    // A request to end closes the window, which ends the program as its close box does.
    vidora::TerminationRequests termination;
    QObject::connect(&termination, &vidora::TerminationRequests::requested, &window,
                     &QWidget::close);
    QObject::connect(&instance, &vidora::SingleInstance::filesHandedOver, &window,
                     &vidora::MainWindow::addHandedOverFiles);
    window.show();
    if (!files.isEmpty())
        QTimer::singleShot(0, &window, [&window, files] { window.addHandedOverFiles(files); });
    return QApplication::exec();
}
