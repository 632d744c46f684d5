#include "app/AboutWindow.h"

#include "app/Skin.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace vidora {

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vidora"));
    setModal(true);
    auto* title = new QLabel(QStringLiteral("Vidora"), this);
    title->setObjectName(QStringLiteral("AboutTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);
    auto* version =
        new QLabel(QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion()), this);
    auto* text = new QLabel(
        QStringLiteral("A video converter for your devices: collect files, pick a profile, "
                       "trim and convert.\nEncoding by FFmpeg, playback by MPlayer."),
        this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(text);
    setMinimumWidth(360);
    applySkin(this);
}

} // namespace vidora
