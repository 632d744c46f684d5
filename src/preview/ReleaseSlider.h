#pragma once

#include <QSlider>

namespace vidora {

// A horizontal slider that tells when the mouse button goes up on it, whether the user
// dragged the handle or clicked beside it, with the value it then stands at. A click beside
// the handle moves the handle to the click.
class ReleaseSlider : public QSlider {
    Q_OBJECT
public:
    explicit ReleaseSlider(QWidget* parent = nullptr);

signals:
    void mouseReleased(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace vidora
