#include "Buttons.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <cmath>

namespace makepictures {

namespace {

// ---- Button bar pictures ----------------------------------------------------------------
//
// Line glyphs for the dark button bar: one light ink, 3.5-pixel round strokes on a 48-pixel
// square, and a filled badge where the action adds or takes away. CONVERT NOW sits on the
// accent-coloured button, so its glyph is solid white.

namespace buttonColour {
const QColor kInk(0xe9, 0xee, 0xf4);
const QColor kAccent(0x4a, 0x8f, 0xf8);
const QColor kDanger(0xf0, 0x6a, 0x6a);
const QColor kWhite(0xff, 0xff, 0xff);
} // namespace buttonColour

QPen inkPen(const QColor& colour = buttonColour::kInk, qreal width = 3.5) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A strip of film: the frame, the two sprocket columns and their rungs.
void drawFilm(QPainter& p, const QRectF& frame) {
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 4, 4);
    const qreal left = frame.left() + frame.width() * 0.25;
    const qreal right = frame.right() - frame.width() * 0.25;
    p.drawLine(QPointF(left, frame.top()), QPointF(left, frame.bottom()));
    p.drawLine(QPointF(right, frame.top()), QPointF(right, frame.bottom()));
    for (const qreal share : {0.25, 0.5, 0.75}) {
        const qreal y = frame.top() + frame.height() * share;
        p.drawLine(QPointF(frame.left(), y), QPointF(left, y));
        p.drawLine(QPointF(right, y), QPointF(frame.right(), y));
    }
}

// A round badge in the lower right corner, set off from the glyph under it by a clear ring.
void drawBadge(QPainter& p, const QColor& fill, bool plus) {
    const QPointF centre(36, 36);
    const qreal radius = 10.5;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, radius + 3, radius + 3);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    p.setPen(inkPen(buttonColour::kWhite, 3.2));
    p.drawLine(centre + QPointF(-5, 0), centre + QPointF(5, 0));
    if (plus)
        p.drawLine(centre + QPointF(0, -5), centre + QPointF(0, 5));
}

void drawAddButton(QPainter& p) {
    drawFilm(p, QRectF(4, 5, 32, 34));
    drawBadge(p, buttonColour::kAccent, true);
}

void drawRemoveButton(QPainter& p) {
    drawFilm(p, QRectF(4, 5, 32, 34));
    drawBadge(p, buttonColour::kDanger, false);
}

void drawClearButton(QPainter& p) {
    // A waste bin: lid, handle, tapered body and two ribs.
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(7, 12), QPointF(41, 12));
    QPainterPath handle;
    handle.moveTo(17.5, 12);
    handle.lineTo(17.5, 8.5);
    handle.quadTo(17.5, 5.5, 20.5, 5.5);
    handle.lineTo(27.5, 5.5);
    handle.quadTo(30.5, 5.5, 30.5, 8.5);
    handle.lineTo(30.5, 12);
    p.drawPath(handle);
    QPainterPath body;
    body.moveTo(11, 12);
    body.lineTo(12.8, 38.5);
    body.quadTo(13.1, 42.5, 17, 42.5);
    body.lineTo(31, 42.5);
    body.quadTo(34.9, 42.5, 35.2, 38.5);
    body.lineTo(37, 12);
    p.drawPath(body);
    p.drawLine(QPointF(20.5, 20), QPointF(20.5, 35));
    p.drawLine(QPointF(27.5, 20), QPointF(27.5, 35));
}

void drawSettingsButton(QPainter& p) {
    // A gear: a ring with eight rounded teeth, outlined, and its axle hole.
    const QPointF centre(24, 24);
    QPainterPath gear;
    gear.setFillRule(Qt::WindingFill);
    gear.addEllipse(centre, 14, 14);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-3.8, -19.5, 7.6, 10), 1.8, 1.8);
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(45.0 * i);
        gear.addPath(turn.map(tooth));
    }
    p.setPen(inkPen(buttonColour::kInk, 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(gear.simplified());
    p.drawEllipse(centre, 5.5, 5.5);
}

void drawHelpButton(QPainter& p) {
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(24, 24), 19, 19);
    // The question mark: a hook that turns down into a short stem, then the dot.
    const QRectF hook(24 - 6.5, 13, 13, 13);
    QPainterPath mark;
    mark.arcMoveTo(hook, 160);
    mark.arcTo(hook, 160, -250);
    mark.lineTo(24, 29);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(buttonColour::kInk);
    p.drawEllipse(QPointF(24, 35), 2.3, 2.3);
}

void drawExitButton(QPainter& p) {
    // The power sign: an open ring with a bar through its gap.
    const QRectF ring(24 - 16, 26 - 16, 32, 32);
    QPainterPath arc;
    arc.arcMoveTo(ring, 58);
    arc.arcTo(ring, 58, -296);
    p.setPen(inkPen(buttonColour::kInk, 3.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.drawLine(QPointF(24, 5.5), QPointF(24, 24));
}

void drawConvertButton(QPainter& p) {
    // A bold arrow going into a video file: the file with its folded corner and a play mark
    // cut out of it, the arrow set off from the file by a clear gap.
    QPainterPath file;
    file.moveTo(20, 7);
    file.lineTo(33, 7);
    file.lineTo(43, 17);
    file.lineTo(43, 39);
    file.quadTo(43, 42, 40, 42);
    file.lineTo(20, 42);
    file.quadTo(17, 42, 17, 39);
    file.lineTo(17, 10);
    file.quadTo(17, 7, 20, 7);
    file.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(buttonColour::kWhite);
    p.drawPath(file);

    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setBrush(Qt::black);
    // The folded corner.
    QPainterPath fold;
    fold.moveTo(32, 6);
    fold.lineTo(32, 15.5);
    fold.quadTo(32, 18, 34.5, 18);
    fold.lineTo(44, 18);
    fold.lineTo(44, 6);
    fold.closeSubpath();
    p.drawPath(fold);
    QPainterPath play;
    play.moveTo(29, 22);
    play.lineTo(29, 35);
    play.lineTo(39, 28.5);
    play.closeSubpath();
    p.drawPath(play);
    p.restore();
    p.setBrush(buttonColour::kWhite);
    QPainterPath corner;
    corner.moveTo(34, 8);
    corner.lineTo(42, 16);
    corner.lineTo(35.5, 16);
    corner.quadTo(34, 16, 34, 14.5);
    corner.closeSubpath();
    p.drawPath(corner);

    QPainterPath arrow;
    arrow.moveTo(3, 24.5);
    arrow.lineTo(13, 24.5);
    arrow.lineTo(13, 18);
    arrow.lineTo(24, 28.5);
    arrow.lineTo(13, 39);
    arrow.lineTo(13, 32.5);
    arrow.lineTo(3, 32.5);
    arrow.closeSubpath();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    p.restore();
    p.setPen(QPen(buttonColour::kWhite, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
}

struct ButtonPicture {
    const char* file; // in the "buttons" folder
    Drawing drawing;
};

constexpr ButtonPicture kButtonPictures[] = {
    {"add.png", drawAddButton},         {"remove.png", drawRemoveButton},
    {"clear.png", drawClearButton},     {"settings.png", drawSettingsButton},
    {"help.png", drawHelpButton},       {"exit.png", drawExitButton},
    {"convert.png", drawConvertButton},
};

constexpr int kButtonPictureSize = 48;

} // namespace

std::vector<NamedPicture> drawButtonPictures() {
    std::vector<NamedPicture> pictures;
    for (const ButtonPicture& button : kButtonPictures)
        pictures.push_back(
            {QString::fromLatin1(button.file), drawSquare(kButtonPictureSize, button.drawing)});
    return pictures;
}

} // namespace makepictures
