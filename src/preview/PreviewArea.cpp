#include "preview/PreviewArea.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

namespace vidora {

PreviewArea::PreviewArea(QWidget* parent) : QGroupBox(QStringLiteral("Privew"), parent) {
    setObjectName(QStringLiteral("PreviewFrame"));

    Text2 = new QWidget(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setMinimumSize(320, 200);
    Text2->setAutoFillBackground(true);
    QPalette black = Text2->palette();
    black.setColor(QPalette::Window, Qt::black);
    Text2->setPalette(black);
    m_picture = new QLabel(Text2);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setScaledContents(false);
    auto* hostLayout = new QHBoxLayout(Text2);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    hostLayout->addWidget(m_picture);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setEnabled(false);
        return b;
    };
    cmdFirst = button("cmdFirst", "First Frame");
    cmdLast = button("cmdLast", "Last Frames");
    cmdPlay = button("cmdPlay", "Play");
    cmdPause = button("cmdPause", "Pause");
    cmdForward = button("cmdForward", "Forward");
    cmdStop = button("cmdStop", "Stop");
    cmdBack = button("cmdBack", "Back");

    auto* timeCaption = new QLabel(QStringLiteral("Current Time:"), this);
    LblCurTime = new QLabel(QStringLiteral("0:00:00"), this);
    LblCurTime->setObjectName(QStringLiteral("LblCurTime"));
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Text2, 0, 0, 1, 7);
    grid->addWidget(Slider1, 1, 0, 1, 5);
    grid->addWidget(timeCaption, 1, 5);
    grid->addWidget(LblCurTime, 1, 6);
    int column = 0;
    for (QPushButton* b : {cmdFirst, cmdBack, cmdPlay, cmdPause, cmdStop, cmdForward, cmdLast})
        grid->addWidget(b, 2, column++);
    grid->setRowStretch(0, 1);
}

void PreviewArea::showPicture(const QString& file) {
    const QPixmap picture(file);
    m_picture->setPixmap(picture);
}

} // namespace vidora
