#pragma once

#include <QByteArray>
#include <QImage>

namespace makepictures {

// The sizes of the program's icon as pictures, besides its scalable form.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon as an SVG document, and as a square picture of `size` pixels. Both are drawn from
// one list of shapes, so the scalable icon and the pictures always show the same.
QByteArray iconSvg();
QImage drawIcon(int size);

} // namespace makepictures
