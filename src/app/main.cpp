#include "app/MainWindow.h"
#include "preview/PlayerEmbedding.h"

#include <QApplication>

int main(int argc, char** argv) {
    vidora::prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Vidora"));
    QApplication::setApplicationVersion(QStringLiteral(VIDORA_VERSION));
    vidora::MainWindow window;
    window.show();
    return QApplication::exec();
}
