#include "Icon.h"

#include "Drawing.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <vector>

namespace makepictures {

namespace {

// The icon is drawn on a square of this many units.
constexpr double kUnits = 256;

// One shape of the icon, filled from its top to its bottom with a gradient between two
// colours (one colour when both are the same).
struct Shape {
    QPainterPath path;
    QColor top;
    QColor bottom;
};

QPainterPath roundedRect(double x, double y, double width, double height, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, width, height), radius, radius);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A screen with a play sign on a blue tile, and an amber badge with an arrow: a video that
// becomes another.
const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = [] {
        QPainterPath badge;
        badge.addEllipse(QPointF(188, 188), 42, 42);
        return std::vector<Shape>{
            {roundedRect(16, 16, 224, 224, 48), QColor(0x3b82f6), QColor(0x1e40af)},
            {roundedRect(40, 56, 176, 124, 18), QColor(0xffffff), QColor(0xdbe4f0)},
            {polygon({{102, 84}, {102, 152}, {160, 118}}), QColor(0x2563eb), QColor(0x1d4ed8)},
            {badge, QColor(0xfbbf24), QColor(0xd97706)},
            {polygon({{164, 180},
                      {188, 180},
                      {188, 164},
                      {214, 188},
                      {188, 212},
                      {188, 196},
                      {164, 196}}),
             QColor(0xffffff), QColor(0xffffff)},
        };
    }();
    return all;
}

QLinearGradient gradientOf(const Shape& shape) {
    const QRectF box = shape.path.boundingRect();
    QLinearGradient gradient(0, box.top(), 0, box.bottom());
    gradient.setColorAt(0, shape.top);
    gradient.setColorAt(1, shape.bottom);
    return gradient;
}

QByteArray number(double value) {
    return QByteArray::number(value, 'g', 6);
}

// The path in SVG's path syntax: every sub-path starts with M and is closed with Z.
QByteArray svgPath(const QPainterPath& path) {
    QByteArray data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0)
                data += "Z ";
            data += "M " + number(e.x) + ' ' + number(e.y) + ' ';
        } else if (e.isLineTo()) {
            data += "L " + number(e.x) + ' ' + number(e.y) + ' ';
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += "C " + number(e.x) + ' ' + number(e.y) + ' ' + number(c2.x) + ' ' +
                    number(c2.y) + ' ' + number(end.x) + ' ' + number(end.y) + ' ';
            i += 2;
        }
    }
    return data + 'Z';
}

QByteArray svgColour(const QColor& colour) {
    return colour.name(QColor::HexRgb).toLatin1();
}

} // namespace

QByteArray iconSvg() {
    QByteArray defs;
    QByteArray body;
    int index = 0;
    for (const Shape& shape : shapes()) {
        const QRectF box = shape.path.boundingRect();
        const QByteArray id = "fill" + QByteArray::number(index++);
        defs += "    <linearGradient id=\"" + id +
                "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" + number(box.top()) +
                "\" x2=\"0\" y2=\"" + number(box.bottom()) + "\">\n      <stop offset=\"0\" " +
                "stop-color=\"" + svgColour(shape.top) +
                "\"/>\n      <stop offset=\"1\" stop-color=\"" + svgColour(shape.bottom) +
                "\"/>\n    </linearGradient>\n";
        body += "  <path fill=\"url(#" + id + ")\" fill-rule=\"evenodd\" d=\"" +
                svgPath(shape.path) + "\"/>\n";
    }
    const QByteArray units = number(kUnits);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           units + "\" height=\"" + units + "\" viewBox=\"0 0 " + units + ' ' + units +
           "\">\n  <title>Vidora</title>\n  <defs>\n" + defs + "  </defs>\n" + body + "</svg>\n";
}

QImage drawIcon(int size) {
    return drawSquare(size, [size](QPainter& p) {
        p.scale(size / kUnits, size / kUnits);
        p.setPen(Qt::NoPen);
        for (const Shape& shape : shapes()) {
            p.setBrush(gradientOf(shape));
            p.drawPath(shape.path);
        }
    });
}

} // namespace makepictures
