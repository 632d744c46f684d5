#include "Drawing.h"

#include <QPainter>

namespace makepictures {

QImage drawSquare(int size, const std::function<void(QPainter&)>& drawing) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawing(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace makepictures
