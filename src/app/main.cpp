#include "app/MainWindow.h"
#include "platform/Inifun.h"
#include "preview/PlayerEmbedding.h"

#include <QApplication>

int main(int argc, char** argv) {
    vidora::prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Vidora"));
    QApplication::setApplicationVersion(QStringLiteral(VIDORA_VERSION));
    // A write cut short by a kill left its temporary beside the settings file.
    vidora::RemoveLeftoverSettingsTemporaries(vidora::settingsFilePath());
    vidora::MainWindow window;
    window.show();
    return QApplication::exec();
}
