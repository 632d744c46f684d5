#pragma once

#include <QGroupBox>
#include <QList>

class QLabel;
class QPushButton;

namespace vidora {

class PreviewPlayer;
class ReleaseSlider;

// A window's preview area: the host box the player draws into, the seven player buttons, the
// position slider and the current and total time. It offers its buttons and slider as signals
// and its labels as setters; the window wires them to its PreviewPlayer (connectPreview).
class PreviewArea : public QGroupBox {
    Q_OBJECT
public:
    // The main window's area "Privew", with the host `Text2` and the slider `Slider1`.
    explicit PreviewArea(QWidget* parent = nullptr);
    // An area with its own caption, host and slider names (the trimming window's `Text4`,
    // `Slider3`).
    PreviewArea(const QString& caption, const QString& hostName, const QString& sliderName,
                QWidget* parent = nullptr);

    // Shows the picture (loading.jpg of the program folder) in the host box until a player
    // draws there.
    void showPicture(const QString& file);
    // The X11 id of the host box's own native window, the player's "-wid".
    quint64 hostWindowId();
    // The loading picture gives way to the player's picture, and comes back when no player
    // draws there any more (instead of the rest of the last frame).
    void hidePicture();
    void restorePicture();

    void setCurrentTime(const QString& text);
    void setTotalTime(const QString& text);
    // The position slider follows the count, but not while the user holds it.
    void setSliderValue(int value);
    // Play, First Frame, Last Frames and the slider start a player: they need something to
    // play. Pause, Stop, Back and Forward only act on a running player and stay enabled.
    void setStartControlsEnabled(bool enabled);

signals:
    void playClicked();
    void pauseClicked();
    void stopClicked();
    void backClicked();
    void forwardClicked();
    void firstFrameClicked();
    void lastFramesClicked();
    // The mouse button went up on the position slider, which stands at this value.
    void sliderReleased(int value);

private:
    QWidget* m_host = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_currentTime = nullptr;
    QLabel* m_totalTime = nullptr;
    ReleaseSlider* m_slider = nullptr;
    QList<QPushButton*> m_startButtons;
};

// Wires an area to a player: every button but Play (each window decides what Play plays), the
// slider's release and the two labels. The picture gives way once a player starts.
void connectPreview(PreviewArea* area, PreviewPlayer* player);

} // namespace vidora
