#include "preview/PreviewArea.h"

#include "preview/PlayerHost.h"
#include "preview/PreviewPlayer.h"
#include "preview/ReleaseSlider.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace vidora {

namespace {

// The buttons in the order they stand, with the signal each one gives and whether it starts a
// player (the others act on a running one).
struct PreviewButton {
    const char* name;
    const char* caption;
    void (PreviewArea::*clicked)();
    bool starts;
};

const PreviewButton kButtons[] = {
    {"Command4", "First Frame", &PreviewArea::firstFrameClicked, true},
    {"cmdBack", "Back", &PreviewArea::backClicked, false},
    {"cmdPlay", "Play", &PreviewArea::playClicked, true},
    {"cmdPause", "Pause", &PreviewArea::pauseClicked, false},
    {"cmdStop", "Stop", &PreviewArea::stopClicked, false},
    {"cmdForward", "Forward", &PreviewArea::forwardClicked, false},
    {"Command5", "Last Frames", &PreviewArea::lastFramesClicked, true},
};

} // namespace

PreviewArea::PreviewArea(QWidget* parent)
    : PreviewArea(QStringLiteral("Privew"), QStringLiteral("Text2"), QStringLiteral("Slider1"),
                  parent) {
    setObjectName(QStringLiteral("PreviewFrame"));
}

PreviewArea::PreviewArea(const QString& caption, const QString& hostName, const QString& sliderName,
                         QWidget* parent)
    : QGroupBox(caption, parent) {
    // The player draws into the host's own X11 window; Qt never paints over its picture. The
    // window's other widgets stay Qt's own: the host's parents are not made native with it.
    m_host = new QWidget(this);
    m_host->setObjectName(hostName);
    m_host->setProperty("playerHost", true);
    preparePlayerHost(m_host);
    m_host->setMinimumSize(320, 200);
    m_picture = new QLabel(m_host);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setScaledContents(false);
    auto* hostLayout = new QHBoxLayout(m_host);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    hostLayout->addWidget(m_picture);

    auto* grid = new QGridLayout(this);
    int column = 0;
    for (const PreviewButton& entry : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setEnabled(!entry.starts);
        // In a dialog, Enter belongs to its own buttons, not to the player's.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, entry.clicked);
        if (entry.starts)
            m_startButtons << button;
        grid->addWidget(button, 3, column++);
    }

    auto* timeCaption = new QLabel(QStringLiteral("Current Time:"), this);
    timeCaption->setObjectName(QStringLiteral("SkinLabel11"));
    m_currentTime = new QLabel(QStringLiteral("0:00:00"), this);
    m_currentTime->setObjectName(QStringLiteral("LblCurTime"));
    m_totalTime = new QLabel(QStringLiteral("Total time: 0:00:00"), this);
    m_totalTime->setObjectName(QStringLiteral("SkinLabel10"));
    m_slider = new ReleaseSlider(this);
    m_slider->setObjectName(sliderName);
    m_slider->setRange(0, 100);
    m_slider->setEnabled(false);
    connect(m_slider, &ReleaseSlider::mouseReleased, this, &PreviewArea::sliderReleased);

    grid->addWidget(m_host, 0, 0, 1, column);
    grid->addWidget(m_slider, 1, 0, 1, column);
    auto* times = new QHBoxLayout;
    times->addWidget(timeCaption);
    times->addWidget(m_currentTime);
    times->addStretch(1);
    times->addWidget(m_totalTime);
    grid->addLayout(times, 2, 0, 1, column);
    grid->setRowStretch(0, 1);
}

void PreviewArea::showPicture(const QString& file) {
    m_picture->setPixmap(QPixmap(file));
    m_picture->show();
}

void PreviewArea::hidePicture() {
    m_picture->hide();
}

void PreviewArea::restorePicture() {
    m_picture->show();
    m_host->update();
}

quint64 PreviewArea::hostWindowId() {
    return static_cast<quint64>(m_host->winId());
}

void PreviewArea::setCurrentTime(const QString& text) {
    m_currentTime->setText(text);
}

void PreviewArea::setTotalTime(const QString& text) {
    m_totalTime->setText(text);
}

void PreviewArea::setSliderValue(int value) {
    if (!m_slider->isSliderDown())
        m_slider->setValue(value);
}

void PreviewArea::setStartControlsEnabled(bool enabled) {
    for (QPushButton* button : std::as_const(m_startButtons))
        button->setEnabled(enabled);
    m_slider->setEnabled(enabled);
}

void connectPreview(PreviewArea* area, PreviewPlayer* player) {
    QObject::connect(area, &PreviewArea::pauseClicked, player, &PreviewPlayer::pause);
    QObject::connect(area, &PreviewArea::stopClicked, player, &PreviewPlayer::stop);
    QObject::connect(area, &PreviewArea::backClicked, player, &PreviewPlayer::back);
    QObject::connect(area, &PreviewArea::forwardClicked, player, &PreviewPlayer::forward);
    QObject::connect(area, &PreviewArea::firstFrameClicked, player, &PreviewPlayer::firstFrame);
    QObject::connect(area, &PreviewArea::lastFramesClicked, player, &PreviewPlayer::lastFrames);
    QObject::connect(area, &PreviewArea::sliderReleased, player, &PreviewPlayer::seek);
    QObject::connect(player, &PreviewPlayer::sliderValueChanged, area,
                     &PreviewArea::setSliderValue);
    QObject::connect(player, &PreviewPlayer::currentTimeChanged, area,
                     &PreviewArea::setCurrentTime);
    QObject::connect(player, &PreviewPlayer::totalTimeChanged, area, &PreviewArea::setTotalTime);
    player->setHostWindow([area] { return area->hostWindowId(); });
    PreviewState* state = &player->state();
    QObject::connect(state, &PreviewState::playerStarted, area, [area](quint64 host) {
        if (host == area->hostWindowId())
            area->hidePicture();
    });
    QObject::connect(state, &PreviewState::playerEnded, area, [area, state](quint64 host) {
        if (host == area->hostWindowId() && state->runningPlayers(host) == 0)
            area->restorePicture();
    });
}

} // namespace vidora
