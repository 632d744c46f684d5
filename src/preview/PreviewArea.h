#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;
class QSlider;

namespace vidora {

// The preview area "Privew" of the main window: the host box `Text2` that the player draws
// into, the seven player buttons, the current time and the position slider. Until the player
// is wired in, the host shows the loading picture and the controls are disabled.
class PreviewArea : public QGroupBox {
    Q_OBJECT
public:
    explicit PreviewArea(QWidget* parent = nullptr);

    // Shows the picture (loading.jpg of the program folder) in the host box.
    void showPicture(const QString& file);

    QWidget* Text2 = nullptr;
    QLabel* LblCurTime = nullptr;
    QSlider* Slider1 = nullptr;
    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdLast = nullptr;
    QPushButton* cmdPlay = nullptr;
    QPushButton* cmdPause = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdBack = nullptr;

private:
    QLabel* m_picture = nullptr;
};

} // namespace vidora
