#include "art/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <array>
#include <functional>

namespace mitoran::pictures {

namespace {

// Every icon is designed on a 100 × 100 canvas and scaled, so one drawing serves all sizes.
constexpr qreal kCanvas = 100.0;

// The listed sizes cover the toolkit's usual requests; 512 serves a 256 icon at 2× scaling, and
// every smaller size doubled is itself in the list.
constexpr std::array<int, 8> kIconSizes = {16, 24, 32, 48, 64, 128, 256, 512};

using Drawing = std::function<void(QPainter&, int side)>;

QPixmap renderSquare(const Drawing& draw, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / kCanvas, side / kCanvas);
    draw(painter, side);
    return pixmap;
}

QIcon makeIcon(const Drawing& draw) {
    QIcon icon;
    for (int side : kIconSizes) icon.addPixmap(renderSquare(draw, side));
    return icon;
}

// A tapered blade from a wide root to a sharp tip, with a slightly curved cutting edge.
QPainterPath bladePath(QPointF root, QPointF tip, qreal rootWidth) {
    const QPointF along = tip - root;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF normal(-along.y() / length, along.x() / length);
    const QPointF half = normal * (rootWidth / 2);
    QPainterPath path;
    path.moveTo(root + half);
    path.quadTo(root + along * 0.55 + half * 1.1, tip);
    path.quadTo(root + along * 0.6 - half * 0.4, root - half);
    path.closeSubpath();
    return path;
}

void drawArrow(QPainter& p, int) {
    const QColor fill(0x1e, 0x7b, 0xd6);
    QPolygonF arrow;
    arrow << QPointF(10, 38) << QPointF(52, 38) << QPointF(52, 16) << QPointF(90, 50)
          << QPointF(52, 84) << QPointF(52, 62) << QPointF(10, 62);
    // Stroking the outline in the fill colour with round joins softens the corners.
    p.setPen(QPen(fill, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(arrow);
}

void drawScissors(QPainter& p, int) {
    const QColor steel(0xa7, 0xb0, 0xba);
    const QColor steelEdge(0x4b, 0x53, 0x5c);
    const QColor handle(0xd8, 0x3b, 0x3b);
    // Each blade runs from above one ring through the pivot to a tip on the opposite side.
    const QPointF leftRing(29, 78), rightRing(71, 78);
    const QPointF pivot(50, 42.8);
    p.setPen(QPen(steelEdge, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(steel);
    p.drawPath(bladePath(QPointF(64, 65), QPointF(27, 6), 13));
    p.drawPath(bladePath(QPointF(36, 65), QPointF(73, 6), 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(handle, 8));
    p.drawEllipse(leftRing, 13, 13);
    p.drawEllipse(rightRing, 13, 13);
    p.setPen(QPen(steelEdge, 2));
    p.setBrush(QColor(0xe6, 0xe9, 0xec));
    p.drawEllipse(pivot, 4.5, 4.5);
}

void drawStop(QPainter& p, int) {
    p.setPen(QPen(QColor(0x9a, 0x1b, 0x1b), 3));
    p.setBrush(QColor(0xdc, 0x2e, 0x2e));
    p.drawRoundedRect(QRectF(13, 13, 74, 74), 13, 13);
}

void drawHelpBadge(QPainter& p, int) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x80, 0xd8));
    p.drawEllipse(QPointF(50, 50), 45, 45);
    // The question mark is drawn, not typeset, so it does not depend on the installed fonts.
    const QRectF hook(34, 18, 32, 32);
    QPainterPath mark;
    mark.arcMoveTo(hook, 160);
    mark.arcTo(hook, 160, -250);
    mark.lineTo(50, 62);
    p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 78), 6.5, 6.5);
}

// The launcher tile: a dumbbell on a warm rounded square, with a small ミ for the name.
// resources/images/mitoran.svg holds the same drawing for desktop launchers.
void drawAppIcon(QPainter& p, int side) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0x7a, 0x1a));
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 20, 20);

    const QColor iron(0x26, 0x2b, 0x33);
    p.setBrush(iron);
    p.drawRoundedRect(QRectF(24, 55, 52, 8), 3, 3);   // bar
    p.drawRoundedRect(QRectF(18, 40, 10, 38), 3, 3);  // inner plates
    p.drawRoundedRect(QRectF(72, 40, 10, 38), 3, 3);
    p.drawRoundedRect(QRectF(10, 46, 8, 26), 2.5, 2.5);  // outer plates
    p.drawRoundedRect(QRectF(82, 46, 8, 26), 2.5, 2.5);
    p.drawRoundedRect(QRectF(6, 56, 5, 6), 1.5, 1.5);  // bar ends
    p.drawRoundedRect(QRectF(89, 56, 5, 6), 1.5, 1.5);

    // Below 32 pixels the three strokes would only blur the dumbbell.
    if (side < 32) return;
    p.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42, 13), QPointF(56, 17));
    p.drawLine(QPointF(44, 22), QPointF(55, 26));
    p.drawLine(QPointF(40, 29), QPointF(60, 35));
}

// Lamps sit in one row, green, yellow, red from left to right as on Japanese roads.
constexpr qreal kLampPitch = 0.95;   // distance between lamp centres, in housing heights
constexpr qreal kLampRadius = 0.34;  // in housing heights
constexpr qreal kWidthRatio = 2.9;   // housing width over height

int lampSlot(int lamp) { return 3 - lamp; }  // red 1 → right, green 3 → left

QColor litColour(int lamp) {
    switch (lamp) {
        case 1:
            return QColor(0xf2, 0x2b, 0x22);
        case 2:
            return QColor(0xff, 0xc4, 0x1a);
        default:
            return QColor(0x14, 0xc8, 0x82);
    }
}

// Rendering an icon's eight sizes costs more than building the screen that shows it, and the
// screens are built anew at every opening, round after round: each icon is drawn once a run.
// Kept to the end of the process on purpose (not destroyed after the application object).
template <void (*Draw)(QPainter&, int)>
QIcon drawnOnce() {
    static const QIcon* const icon = new QIcon(makeIcon(Draw));
    return *icon;
}

}  // namespace

QIcon arrowIcon() { return drawnOnce<drawArrow>(); }
QIcon scissorsIcon() { return drawnOnce<drawScissors>(); }
QIcon stopIcon() { return drawnOnce<drawStop>(); }
QIcon helpTourIcon() { return drawnOnce<drawHelpBadge>(); }
QIcon appIcon() { return drawnOnce<drawAppIcon>(); }

QSize signalSize(int height) {
    if (height < 1) return QSize();
    return QSize(qRound(height * kWidthRatio), height);
}

QPointF signalLampCentre(int lamp, int height) {
    const qreal h = height;
    return QPointF(h * 0.5 + lampSlot(lamp) * h * kLampPitch, h * 0.5);
}

QPixmap signalPicture(int lamp, int height) {
    const QSize size = signalSize(height);
    if (size.isEmpty()) return QPixmap();
    // Drawn at the screen's scaling so the lamps stay crisp on high-density displays.
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = height;
    p.setPen(QPen(QColor(0x12, 0x14, 0x17), h * 0.03));
    p.setBrush(QColor(0x2d, 0x31, 0x36));
    const qreal inset = h * 0.02;
    p.drawRoundedRect(QRectF(inset, inset, size.width() - 2 * inset, h - 2 * inset), h * 0.22,
                      h * 0.22);

    const qreal radius = h * kLampRadius;
    for (int each = 1; each <= 3; ++each) {
        const QPointF centre = signalLampCentre(each, height);
        const bool lit = each == lamp;
        p.setPen(QPen(QColor(0x15, 0x17, 0x1a), h * 0.035));
        p.setBrush(lit ? litColour(each) : QColor(0x5a, 0x5e, 0x63));
        p.drawEllipse(centre, radius, radius);
        if (lit) {
            // A soft highlight up and to the left; the centre keeps the lamp's own colour.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 90));
            p.drawEllipse(centre + QPointF(-radius * 0.38, -radius * 0.40), radius * 0.28,
                          radius * 0.2);
        }
    }
    return pixmap;
}

}  // namespace mitoran::pictures
