#include "preview/ReleaseSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace vidora {

ReleaseSlider::ReleaseSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void ReleaseSlider::mousePressEvent(QMouseEvent* event) {
    // A click beside the handle puts the handle there (and holds it, as if it had been
    // grabbed) rather than stepping a page towards the click: a place in a clip is chosen by
    // pointing at it.
    if (event->button() == Qt::LeftButton) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const QPoint point = event->position().toPoint();
        if (!handle.contains(point)) {
            const QRect groove =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
            const int span = groove.width() - handle.width();
            const int x = point.x() - groove.x() - handle.width() / 2;
            setValue(
                QStyle::sliderValueFromPosition(minimum(), maximum(), x, span, option.upsideDown));
        }
    }
    QSlider::mousePressEvent(event);
}

void ReleaseSlider::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit mouseReleased(value());
}

} // namespace vidora
