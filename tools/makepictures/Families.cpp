#include "Families.h"

#include "profiles/Catalogue.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRectF>
#include <array>
#include <string_view>

namespace makepictures {

namespace {

constexpr int kPictureSize = 32;

// One palette for every picture.
namespace colour {
const QColor kOutline(0x1c, 0x25, 0x2b);
const QColor kDarkTop(0x4a, 0x55, 0x5f);
const QColor kDarkBottom(0x1a, 0x1f, 0x24);
const QColor kSilverTop(0xf5, 0xf7, 0xf8);
const QColor kSilverBottom(0xb8, 0xc3, 0xca);
const QColor kSilverEdge(0x6b, 0x7b, 0x86);
const QColor kScreenTop(0x8f, 0xd8, 0xff);
const QColor kScreenBottom(0x1f, 0x6f, 0xd1);
const QColor kKey(0xc9, 0xd3, 0xd9);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kGreen(0x4c, 0xaf, 0x50);
const QColor kGreenDark(0x1b, 0x7a, 0x2a);
const QColor kRed(0xef, 0x53, 0x50);
const QColor kRedDark(0xb0, 0x1e, 0x1e);
const QColor kOrange(0xff, 0xa0, 0x3a);
const QColor kOrangeDark(0xe0, 0x5a, 0x00);
const QColor kBlue(0x42, 0x9c, 0xf0);
const QColor kBlueDark(0x0d, 0x4c, 0xa8);
const QColor kPurple(0xb2, 0x5c, 0xd6);
const QColor kPurpleDark(0x62, 0x1f, 0x9a);
const QColor kTeal(0x2e, 0xc4, 0xd6);
} // namespace colour

QLinearGradient verticalGradient(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// A device body: a rounded shape with a top-lit gradient and a one-pixel edge.
void drawBody(QPainter& p, const QRectF& r, qreal radius, const QColor& top, const QColor& bottom,
              const QColor& edge = colour::kOutline) {
    const QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(edge, 1));
    p.setBrush(verticalGradient(r, top, bottom));
    p.drawRoundedRect(inner, radius, radius);
    // A faint inner highlight along the top edge gives the body some depth.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(inner.left() + radius, inner.top() + 1),
               QPointF(inner.right() - radius, inner.top() + 1));
}

void drawDarkBody(QPainter& p, const QRectF& r, qreal radius) {
    drawBody(p, r, radius, colour::kDarkTop, colour::kDarkBottom);
}

void drawSilverBody(QPainter& p, const QRectF& r, qreal radius) {
    drawBody(p, r, radius, colour::kSilverTop, colour::kSilverBottom, colour::kSilverEdge);
}

// A glass screen: a blue diagonal gradient with a soft reflection over its upper left part.
void drawScreen(QPainter& p, const QRectF& r, qreal radius = 1) {
    QLinearGradient gradient(r.topLeft(), r.bottomRight());
    gradient.setColorAt(0, colour::kScreenTop);
    gradient.setColorAt(1, colour::kScreenBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(r, radius, radius);

    QPainterPath reflection;
    reflection.moveTo(r.topLeft());
    reflection.lineTo(r.right(), r.top());
    reflection.lineTo(r.right(), r.top() + r.height() * 0.25);
    reflection.lineTo(r.left(), r.top() + r.height() * 0.65);
    reflection.closeSubpath();
    QPainterPath clip;
    clip.addRoundedRect(r, radius, radius);
    p.setBrush(QColor(255, 255, 255, 55));
    p.drawPath(reflection.intersected(clip));
}

void drawDot(QPainter& p, const QPointF& centre, qreal radius, const QColor& fill,
             const QColor& edge = Qt::transparent) {
    p.setPen(edge == Qt::transparent ? QPen(Qt::NoPen) : QPen(edge, 0.8));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
}

void drawKey(QPainter& p, const QRectF& r, const QColor& fill = colour::kKey) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, 0.6, 0.6);
}

// A click wheel or touch ring: a ring with a centre button.
void drawWheel(QPainter& p, const QPointF& centre, qreal radius, const QColor& ring,
               const QColor& ringEdge, const QColor& button) {
    QRadialGradient gradient(centre - QPointF(radius * 0.3, radius * 0.4), radius * 1.4);
    gradient.setColorAt(0, ring.lighter(115));
    gradient.setColorAt(1, ring.darker(110));
    p.setPen(QPen(ringEdge, 0.8));
    p.setBrush(gradient);
    p.drawEllipse(centre, radius, radius);
    drawDot(p, centre, radius * 0.4, button, ringEdge);
}

// ---- Device families --------------------------------------------------------------------

void drawIPod(QPainter& p) {
    drawSilverBody(p, QRectF(8, 1, 16, 30), 3.5);
    drawScreen(p, QRectF(10, 3.5, 12, 11));
    drawWheel(p, QPointF(16, 22.5), 5.6, QColor(0xe8, 0xec, 0xef), colour::kSilverEdge,
              colour::kWhite);
}

void drawAppleTv(QPainter& p) {
    // A soft floor shadow, the box, its lighter top face and a play mark on the front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(4, 23, 24, 4));
    drawDarkBody(p, QRectF(3, 10, 26, 14), 3);
    p.setBrush(
        verticalGradient(QRectF(4, 11, 24, 4), QColor(0x8a, 0x96, 0xa0), QColor(0x4a, 0x55, 0x5f)));
    p.drawRoundedRect(QRectF(4.5, 11.5, 23, 3.5), 1.8, 1.8);
    QPainterPath play;
    play.moveTo(14.5, 16.8);
    play.lineTo(14.5, 21.6);
    play.lineTo(18.6, 19.2);
    play.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawPath(play);
    drawDot(p, QPointF(25.5, 21), 0.8, colour::kTeal);
}

void drawArchos(QPainter& p) {
    drawSilverBody(p, QRectF(1, 6, 30, 20), 3);
    drawScreen(p, QRectF(3.5, 8.5, 21, 15));
    for (const qreal y : {11.0, 16.0, 21.0})
        drawDot(p, QPointF(27.6, y), 1.2, QColor(0x45, 0x52, 0x5c));
}

void drawFlashVideo(QPainter& p) {
    const QRectF strip(3, 5, 26, 22);
    drawBody(p, strip, 2.5, colour::kRed, colour::kRedDark, QColor(0x7a, 0x10, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    for (qreal x = 5.5; x < 28; x += 4) {
        p.drawRoundedRect(QRectF(x, 7, 2, 1.8), 0.5, 0.5);
        p.drawRoundedRect(QRectF(x, 23.2, 2, 1.8), 0.5, 0.5);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(colour::kWhite);
    p.drawText(QRectF(3, 9.5, 26, 13.5), Qt::AlignCenter, QStringLiteral("f"));
}

void drawAudioFormats(QPainter& p) {
    // Two beamed eighth notes.
    QPainterPath note;
    note.setFillRule(Qt::WindingFill);
    note.addRect(QRectF(12.6, 8.5, 1.9, 16));
    note.addRect(QRectF(24.6, 5.5, 1.9, 16));
    QPainterPath beam;
    beam.moveTo(12.6, 8.5);
    beam.lineTo(26.5, 4.5);
    beam.lineTo(26.5, 9);
    beam.lineTo(12.6, 13);
    beam.closeSubpath();
    note.addPath(beam);
    for (const QPointF centre : {QPointF(9.8, 24.6), QPointF(21.8, 21.6)}) {
        QPainterPath head;
        head.addEllipse(QPointF(0, 0), 4.4, 3.1);
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(-22);
        note.addPath(turn.map(head));
    }
    p.setPen(QPen(colour::kPurpleDark.darker(130), 0.8));
    p.setBrush(verticalGradient(QRectF(4, 4, 24, 25), colour::kPurple, colour::kPurpleDark));
    p.drawPath(note.simplified());
}

void drawGigabeat(QPainter& p) {
    drawDarkBody(p, QRectF(8, 1, 16, 30), 3);
    drawScreen(p, QRectF(9.8, 3.2, 12.4, 13.5));
    const QPointF centre(16, 24);
    p.setPen(QPen(colour::kBlue, 1.6));
    p.setBrush(QColor(0x2a, 0x33, 0x3b));
    p.drawEllipse(centre, 4.7, 4.7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa8, 0xdc, 0xff));
    for (int i = 0; i < 4; ++i) {
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(90 * i);
        QPolygonF arrow({QPointF(-1, -2.2), QPointF(1, -2.2), QPointF(0, -3.4)});
        p.drawPolygon(turn.map(arrow));
    }
    drawDot(p, centre, 1.1, QColor(0xa8, 0xdc, 0xff));
}

void drawAndroid(QPainter& p) {
    drawDarkBody(p, QRectF(8, 1, 16, 30), 3);
    const QRectF screen(9.8, 4, 12.4, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(screen, QColor(0xf1, 0xf8, 0xe9), QColor(0xc5, 0xe1, 0xa5)));
    p.drawRoundedRect(screen, 1, 1);
    // A little robot: head, eyes, antennas and body.
    const QColor robot(0x7c, 0xb3, 0x42);
    p.setBrush(robot);
    p.drawPie(QRectF(11.6, 10.2, 8.8, 8.8), 0, 180 * 16);
    p.setPen(QPen(robot, 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13.3, 11.2), QPointF(12.4, 9.6));
    p.drawLine(QPointF(18.7, 11.2), QPointF(19.6, 9.6));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(11.6, 15.4, 8.8, 6.2), 1.3, 1.3);
    drawDot(p, QPointF(14.3, 12.9), 0.7, colour::kWhite);
    drawDot(p, QPointF(17.7, 12.9), 0.7, colour::kWhite);
    drawKey(p, QRectF(14, 27.6, 4, 1.2), QColor(0x9e, 0xaa, 0xb2));
}

void drawIPhone(QPainter& p) {
    drawDarkBody(p, QRectF(9, 1, 14, 30), 3.5);
    drawKey(p, QRectF(14.3, 2.8, 3.4, 0.9), QColor(0x70, 0x7c, 0x86));
    drawScreen(p, QRectF(10.6, 5, 10.8, 20.5), 0.6);
    drawDot(p, QPointF(16, 28.1), 1.3, QColor(0x2a, 0x30, 0x36), QColor(0x8a, 0x96, 0xa0));
}

void drawBlackBerry(QPainter& p) {
    drawDarkBody(p, QRectF(7, 1, 18, 30), 3.5);
    drawScreen(p, QRectF(9, 3, 14, 11));
    drawDot(p, QPointF(16, 16.2), 1.3, colour::kKey, colour::kSilverEdge);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 5; ++column)
            drawKey(p, QRectF(9.2 + column * 2.8, 19.2 + row * 2.7, 2.1, 1.8));
}

void drawMobilePhone(QPainter& p) {
    drawBody(p, QRectF(9, 1, 14, 30), 3, QColor(0x78, 0x90, 0x9c), QColor(0x2f, 0x3d, 0x45));
    drawScreen(p, QRectF(10.6, 3.5, 10.8, 10));
    drawKey(p, QRectF(13, 15.2, 6, 2.4), QColor(0xe0, 0xe6, 0xea));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            drawKey(p, QRectF(11 + column * 3.7, 19.2 + row * 2.8, 2.6, 1.9));
}

void drawPsp(QPainter& p) {
    drawDarkBody(p, QRectF(1, 9, 30, 14), 6.5);
    drawScreen(p, QRectF(8.5, 11, 15, 10), 0.6);
    // Direction pad on the left, four buttons on the right.
    drawKey(p, QRectF(3.1, 15.4, 3.8, 1.2));
    drawKey(p, QRectF(4.4, 14.1, 1.2, 3.8));
    const QPointF buttons(27, 16);
    const std::array<QColor, 4> tints = {QColor(0x80, 0xcb, 0xc4), QColor(0xef, 0x9a, 0x9a),
                                         QColor(0x90, 0xca, 0xf9), QColor(0xf4, 0x8f, 0xb1)};
    const std::array<QPointF, 4> offsets = {QPointF(0, -1.7), QPointF(1.7, 0), QPointF(0, 1.7),
                                            QPointF(-1.7, 0)};
    for (int i = 0; i < 4; ++i)
        drawDot(p, buttons + offsets[i], 0.75, tints[i]);
}

void drawSansa(QPainter& p) {
    drawBody(p, QRectF(9, 1, 14, 30), 3, colour::kRed, colour::kRedDark, QColor(0x6d, 0x0f, 0x0f));
    drawScreen(p, QRectF(10.6, 3.2, 10.8, 11.5));
    drawWheel(p, QPointF(16, 22.6), 5.2, QColor(0x30, 0x38, 0x40), QColor(0x15, 0x1a, 0x1e),
              colour::kKey);
}

void drawWalkman(QPainter& p) {
    drawBody(p, QRectF(10, 1, 12, 30), 3, colour::kOrange, colour::kOrangeDark,
             QColor(0x8a, 0x38, 0x00));
    drawScreen(p, QRectF(11.5, 3.2, 9, 15.5), 0.6);
    // A square five-way pad.
    p.setPen(QPen(QColor(0x8a, 0x38, 0x00), 0.8));
    p.setBrush(QColor(0xff, 0xe0, 0xb2));
    p.drawRoundedRect(QRectF(12.5, 21, 7, 7), 1.8, 1.8);
    drawDot(p, QPointF(16, 24.5), 1.2, colour::kOrangeDark);
}

void drawWii(QPainter& p) {
    const QColor edge(0x90, 0xa4, 0xae);
    drawBody(p, QRectF(6, 3, 9, 27), 2, colour::kWhite, QColor(0xe3, 0xe8, 0xeb), edge);
    drawKey(p, QRectF(9.9, 6, 1.2, 16), QColor(0x29, 0xb6, 0xf6));
    drawKey(p, QRectF(8.5, 25.5, 4, 1), edge);
    drawBody(p, QRectF(18, 8, 7, 22), 2.4, colour::kWhite, QColor(0xe3, 0xe8, 0xeb), edge);
    drawKey(p, QRectF(20, 11.6, 3, 1), QColor(0x60, 0x70, 0x7a));
    drawKey(p, QRectF(21, 10.6, 1, 3), QColor(0x60, 0x70, 0x7a));
    drawDot(p, QPointF(21.5, 16.5), 1.2, colour::kKey, edge);
    for (const qreal y : {22.0, 24.0, 26.0})
        drawDot(p, QPointF(21.5, y), 0.45, QColor(0x29, 0xb6, 0xf6));
}

void drawXbox(QPainter& p) {
    QRadialGradient orb(QPointF(12.5, 10.5), 17);
    orb.setColorAt(0, QColor(0x9b, 0xe0, 0x8a));
    orb.setColorAt(0.55, colour::kGreen);
    orb.setColorAt(1, colour::kGreenDark);
    p.setPen(QPen(QColor(0x14, 0x5a, 0x1f), 1));
    p.setBrush(orb);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setPen(QPen(colour::kWhite, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void drawCreativeZen(QPainter& p) {
    drawDarkBody(p, QRectF(7, 2, 18, 28), 4);
    drawScreen(p, QRectF(9, 4.2, 14, 12));
    // The lit touch strip between two pairs of buttons.
    p.setPen(Qt::NoPen);
    p.setBrush(verticalGradient(QRectF(14.5, 18.5, 3, 9.5), QColor(0x9b, 0xf1, 0xfb),
                                colour::kTeal.darker(140)));
    p.drawRoundedRect(QRectF(14.5, 18.5, 3, 9.5), 1.5, 1.5);
    for (const qreal y : {19.5, 24.5}) {
        drawKey(p, QRectF(10, y, 3, 2.6), QColor(0x6c, 0x78, 0x82));
        drawKey(p, QRectF(19, y, 3, 2.6), QColor(0x6c, 0x78, 0x82));
    }
}

void drawZune(QPainter& p) {
    drawBody(p, QRectF(9, 1, 14, 30), 3.5, QColor(0x5d, 0x40, 0x37), QColor(0x1e, 0x12, 0x0e));
    drawScreen(p, QRectF(10.6, 3.2, 10.8, 14.5), 0.6);
    // The squircle touch pad with its warm ring.
    QLinearGradient ring(QPointF(12, 20), QPointF(20, 29));
    ring.setColorAt(0, colour::kOrange);
    ring.setColorAt(1, QColor(0xe9, 0x1e, 0x63));
    p.setPen(QPen(QBrush(ring), 1.4));
    p.setBrush(QColor(0x2a, 0x1c, 0x18));
    p.drawRoundedRect(QRectF(12.2, 20.2, 7.6, 7.6), 2.6, 2.6);
}

void drawNokia(QPainter& p) {
    drawBody(p, QRectF(9, 1, 14, 30), 4, colour::kBlue, colour::kBlueDark,
             QColor(0x08, 0x2e, 0x66));
    drawScreen(p, QRectF(10.7, 4, 10.6, 9.5));
    drawDot(p, QPointF(16, 16.4), 1.5, colour::kKey, colour::kBlueDark);
    // The silver keypad panel with its keys.
    p.setPen(Qt::NoPen);
    p.setBrush(
        verticalGradient(QRectF(10.6, 19.5, 10.8, 9.5), colour::kSilverTop, colour::kSilverBottom));
    p.drawRoundedRect(QRectF(10.6, 19.5, 10.8, 9.5), 2, 2);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            drawKey(p, QRectF(11.6 + column * 3.3, 20.6 + row * 2.8, 2.4, 1.8),
                    QColor(0x60, 0x70, 0x7a));
}

void drawPda(QPainter& p) {
    // Stylus in its side slot, then the handheld itself.
    p.setPen(QPen(colour::kSilverEdge, 0.8));
    p.setBrush(verticalGradient(QRectF(25, 4, 2.2, 23), colour::kSilverTop, colour::kSilverBottom));
    p.drawRoundedRect(QRectF(25, 4, 2.2, 22), 1, 1);
    QPolygonF tip({QPointF(25, 26), QPointF(27.2, 26), QPointF(26.1, 29)});
    p.drawPolygon(tip);
    drawBody(p, QRectF(5, 1, 19, 30), 3, QColor(0x78, 0x90, 0x9c), QColor(0x37, 0x47, 0x4f));
    drawScreen(p, QRectF(7, 3.5, 15, 17), 0.6);
    drawDot(p, QPointF(14.5, 25.8), 2.2, colour::kKey, QColor(0x26, 0x32, 0x38));
    for (const qreal x : {7.6, 19.4})
        drawKey(p, QRectF(x, 23.6, 2, 1.5));
    for (const qreal x : {7.6, 19.4})
        drawKey(p, QRectF(x, 26.6, 2, 1.5));
}

void drawPs3(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(3, 24, 26, 4));
    QPainterPath slab;
    slab.moveTo(2.5, 26);
    slab.lineTo(2.5, 15.5);
    slab.quadTo(16, 2.5, 29.5, 15.5);
    slab.lineTo(29.5, 26);
    slab.closeSubpath();
    p.setPen(QPen(colour::kOutline, 1));
    p.setBrush(
        verticalGradient(QRectF(2, 8, 28, 18), QColor(0x5f, 0x69, 0x73), QColor(0x0e, 0x11, 0x14)));
    p.drawPath(slab);
    // Glossy top curve, the disc slot and the silver band along the front.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    QPainterPath gloss;
    gloss.moveTo(5, 15);
    gloss.quadTo(16, 5, 27, 15);
    p.drawPath(gloss);
    p.setPen(QPen(QColor(0x02, 0x03, 0x04), 1.4));
    p.drawLine(QPointF(8.5, 18.5), QPointF(23.5, 18.5));
    p.setPen(QPen(colour::kKey, 1.4));
    p.drawLine(QPointF(3.6, 23), QPointF(28.4, 23));
    drawDot(p, QPointF(26, 20.2), 0.6, colour::kTeal);
}

void drawVideoFormats(QPainter& p) {
    // A clapperboard: the board, its striped band, the raised clapper and a play mark.
    drawDarkBody(p, QRectF(3, 12, 26, 17), 2);
    auto stripes = [&p](const QRectF& band) {
        p.save();
        QPainterPath clip;
        clip.addRoundedRect(band, 0.8, 0.8);
        p.setClipPath(clip);
        p.fillRect(band, colour::kWhite);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kOutline);
        for (qreal x = band.left() - 4; x < band.right() + 4; x += 5.2) {
            QPolygonF stripe({QPointF(x, band.bottom()), QPointF(x + 2.6, band.bottom()),
                              QPointF(x + 5.2, band.top()), QPointF(x + 2.6, band.top())});
            p.drawPolygon(stripe);
        }
        p.restore();
    };
    stripes(QRectF(4, 13, 24, 3.6));
    p.save();
    p.translate(4, 11.5);
    p.rotate(-14);
    p.setPen(QPen(colour::kOutline, 1));
    p.setBrush(colour::kOutline);
    p.drawRoundedRect(QRectF(-0.5, -4.5, 26, 4.6), 1, 1);
    stripes(QRectF(0.3, -3.8, 24.5, 3.2));
    p.restore();
    QPainterPath play;
    play.moveTo(13.5, 19);
    play.lineTo(13.5, 26);
    play.lineTo(19.5, 22.5);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kOrange);
    p.drawPath(play);
}

void drawIPad(QPainter& p) {
    drawDarkBody(p, QRectF(5, 2, 22, 28), 3);
    drawScreen(p, QRectF(7, 4.5, 18, 21.5), 0.6);
    drawDot(p, QPointF(16, 28), 1.1, QColor(0x2a, 0x30, 0x36), QColor(0x8a, 0x96, 0xa0));
}

// ---- Pictures no family uses: tinted tiles with a simple mark --------------------------

enum class Mark { Circle, Play, Star, Diamond, Plus, Square, Ring, Bars, Wave, Hexagon, Check };

void drawMark(QPainter& p, Mark mark) {
    const QPointF c(16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    QPainterPath path;
    switch (mark) {
    case Mark::Circle:
        p.drawEllipse(c, 6, 6);
        return;
    case Mark::Play:
        path.moveTo(12.5, 9.5);
        path.lineTo(12.5, 22.5);
        path.lineTo(22.5, 16);
        path.closeSubpath();
        break;
    case Mark::Star:
        for (int i = 0; i < 10; ++i) {
            const double angle = -M_PI / 2 + i * M_PI / 5;
            const double radius = i % 2 == 0 ? 8 : 3.4;
            const QPointF point = c + QPointF(radius * std::cos(angle), radius * std::sin(angle));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        path.closeSubpath();
        break;
    case Mark::Diamond:
        path.addPolygon(
            QPolygonF({QPointF(16, 8.5), QPointF(23.5, 16), QPointF(16, 23.5), QPointF(8.5, 16)}));
        path.closeSubpath();
        break;
    case Mark::Plus:
        p.drawRoundedRect(QRectF(14.2, 9, 3.6, 14), 1.2, 1.2);
        p.drawRoundedRect(QRectF(9, 14.2, 14, 3.6), 1.2, 1.2);
        return;
    case Mark::Square:
        p.drawRoundedRect(QRectF(10.5, 10.5, 11, 11), 2, 2);
        return;
    case Mark::Ring:
        p.setPen(QPen(QColor(255, 255, 255, 235), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 6, 6);
        return;
    case Mark::Bars:
        for (int i = 0; i < 4; ++i) {
            const qreal height = std::array<qreal, 4>{7, 12, 9, 14}[i];
            p.drawRoundedRect(QRectF(9.2 + i * 3.7, 23 - height, 2.6, height), 1, 1);
        }
        return;
    case Mark::Wave:
        path.moveTo(8, 16);
        path.cubicTo(10.5, 9, 13.5, 9, 16, 16);
        path.cubicTo(18.5, 23, 21.5, 23, 24, 16);
        p.setPen(QPen(QColor(255, 255, 255, 235), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        return;
    case Mark::Hexagon:
        for (int i = 0; i < 6; ++i) {
            const double angle = M_PI / 6 + i * M_PI / 3;
            const QPointF point = c + QPointF(7.5 * std::cos(angle), 7.5 * std::sin(angle));
            i == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        path.closeSubpath();
        break;
    case Mark::Check:
        path.moveTo(9.5, 16.5);
        path.lineTo(14, 21);
        path.lineTo(22.5, 11.5);
        p.setPen(QPen(QColor(255, 255, 255, 235), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        return;
    }
    p.drawPath(path);
}

void drawTile(QPainter& p, int index) {
    static const std::array<std::pair<QColor, QColor>, 8> tints = {{
        {colour::kBlue, colour::kBlueDark},
        {colour::kTeal, QColor(0x00, 0x7c, 0x8a)},
        {colour::kGreen, colour::kGreenDark},
        {colour::kOrange, colour::kOrangeDark},
        {colour::kRed, colour::kRedDark},
        {colour::kPurple, colour::kPurpleDark},
        {QColor(0xf0, 0x62, 0x92), QColor(0xad, 0x14, 0x57)},
        {QColor(0x78, 0x90, 0x9c), QColor(0x37, 0x47, 0x4f)},
    }};
    static const std::array<Mark, 11> marks = {
        Mark::Circle, Mark::Play, Mark::Star, Mark::Diamond, Mark::Plus, Mark::Square,
        Mark::Ring,   Mark::Bars, Mark::Wave, Mark::Hexagon, Mark::Check};
    const auto& [top, bottom] = tints[index % tints.size()];
    drawBody(p, QRectF(3, 3, 26, 26), 6, top, bottom, bottom.darker(130));
    drawMark(p, marks[index % marks.size()]);
}

struct Family {
    const char* caption; // of the family's header row in the catalogue
    Drawing drawing;
};

// The family pictures, by header row in catalogue order. iRiver players and Windows Mobile
// devices share the PDA.
constexpr Family kFamilies[] = {
    {"Apple iPad", drawIPad},
    {"Apple iPod", drawIPod},
    {"Apple iPhone", drawIPhone},
    {"Apple TV", drawAppleTv},
    {"Google Android", drawAndroid},
    {"Sony PSP", drawPsp},
    {"Sony PS3", drawPs3},
    {"Sony Walkman", drawWalkman},
    {"Microsoft Zune", drawZune},
    {"Archos", drawArchos},
    {"Creative Zen", drawCreativeZen},
    {"iRiver", drawPda},
    {"Sandisk Sansa", drawSansa},
    {"Microsoft Xbox 360", drawXbox},
    {"Nintendo Wii", drawWii},
    {"Mobile Phone", drawMobilePhone},
    {"BlackBerry", drawBlackBerry},
    {"Nokia", drawNokia},
    {"Windows Mobile", drawPda},
    {"Flash Video", drawFlashVideo},
    {"Toshiba Gigabeat", drawGigabeat},
    {"Common Used Video Formats", drawVideoFormats},
    {"Common Used Audio Formats", drawAudioFormats},
};

Drawing familyDrawing(std::string_view caption) {
    for (const Family& family : kFamilies) {
        if (caption == family.caption)
            return family.drawing;
    }
    return nullptr;
}

} // namespace

std::vector<NamedPicture> drawChooserPictures(QString* problem) {
    using vidora::Catalogue;
    // Index 0 stays empty: positions in the list start at 1.
    std::array<Drawing, Catalogue::kPictureCount + 1> byPosition{};
    for (const vidora::CatalogueRow& row : Catalogue::rows()) {
        if (row.kind != vidora::RowKind::Header)
            continue;
        const Drawing drawing = familyDrawing(row.caption);
        if (!drawing) {
            *problem = QStringLiteral("no picture for the family \"%1\"")
                           .arg(QString::fromLatin1(row.caption));
            return {};
        }
        Drawing& at = byPosition[static_cast<std::size_t>(row.picture)];
        if (at && at != drawing) {
            *problem = QStringLiteral("the families sharing picture %1 are drawn differently")
                           .arg(row.picture);
            return {};
        }
        at = drawing;
    }

    std::vector<NamedPicture> pictures;
    int tileIndex = 0;
    for (int number = 1; number <= Catalogue::kPictureCount; ++number) {
        const Drawing family = byPosition[static_cast<std::size_t>(number)];
        QImage image = family ? drawSquare(kPictureSize, family)
                              : drawSquare(kPictureSize, [index = tileIndex++](QPainter& p) {
                                    drawTile(p, index);
                                });
        pictures.push_back({Catalogue::pictureFileName(number), std::move(image)});
    }
    return pictures;
}

} // namespace makepictures
