#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QPainter;

namespace makepictures {

using Drawing = void (*)(QPainter&);

// A picture and the name of its file in its folder.
struct NamedPicture {
    QString file;
    QImage image;
};

// A square picture of `size` pixels: the drawing on a clear background, smoothed.
QImage drawSquare(int size, const std::function<void(QPainter&)>& drawing);

} // namespace makepictures
