#include "app/Form1.h"
#include "preview/PlayerEmbedding.h"

#include <QApplication>

int main(int argc, char** argv) {
    vidora::prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Vidora"));
    QApplication::setApplicationVersion(QStringLiteral(VIDORA_VERSION));
    vidora::Form1 window;
    window.show();
    return QApplication::exec();
}
