// The table picture: rails, cushions, cloth and pockets over the playing
// area, and the heads-up band below it (player panel, power bar frame, tray
// for pocketed balls, spin selector). Everything is placed from the table's
// outline so that the pockets sit where balls drop.

#include "tools/assetgen/Art.h"
#include "tools/assetgen/ArtCommon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>

namespace assetgen {

namespace {

// The table outline (cushion noses and pocket mouths), world units, before
// the table's shift of (−0.35, +5.65).
constexpr std::array<QPointF, 40> kOutline = {{
    {-2.9, 12.8},   {-1.3, 14.1},   {-1.1, 15.5},   {-0.5, 16.1},  {0.5, 16.1},    {1.1, 15.5},
    {1.3, 14.1},    {2.4, 12.8},    {24.1, 12.8},   {26.1, 14.5},  {27.3, 14.7},   {28.4, 13.6},
    {28.2, 12.7},   {26, 10.5},     {26, -10.5},    {28.2, -12.7}, {28.4, -13.6},  {27.3, -14.7},
    {26.1, -14.5},  {24.1, -12.4},  {2.4, -12.4},   {1.3, -13.7},  {1.1, -15.1},   {0.5, -15.7},
    {-0.5, -15.7},  {-1.1, -15.1},  {-1.3, -13.7},  {-2.4, -12.4}, {-24.1, -12.4}, {-26.1, -14.5},
    {-27.3, -14.7}, {-28.4, -13.6}, {-28.2, -12.7}, {-26, -10.5},  {-26, 10.5},    {-28.2, 12.7},
    {-28.4, 13.6},  {-27.3, 14.7},  {-26.1, 14.5},  {-24.6, 12.8},
}};
constexpr double kShiftX = -0.35;
constexpr double kShiftY = 5.65;

QPointF outlinePoint(int i) {
    return toScreen(kOutline[std::size_t(i)].x() + kShiftX, kOutline[std::size_t(i)].y() + kShiftY);
}

// Pocket holes: the middle of each pocket's back wall, pushed a little out.
struct Pocket {
    QPointF centre;
    double radius;
};

std::array<Pocket, 6> pockets() {
    auto average = [](std::initializer_list<int> ids) {
        QPointF sum;
        for (int id : ids)
            sum += outlinePoint(id);
        return sum / double(ids.size());
    };
    return {{
        {average({35, 36, 37, 38}), 17.5},
        {average({2, 3, 4, 5}) + QPointF(0, 2), 16.0},
        {average({9, 10, 11, 12}), 17.5},
        {average({15, 16, 17, 18}), 17.5},
        {average({22, 23, 24, 25}) - QPointF(0, 2), 16.0},
        {average({29, 30, 31, 32}), 17.5},
    }};
}

const QColor kCloth(0x1F, 0x7A, 0x45);
const QColor kClothEdge(0x15, 0x5C, 0x33);
const QColor kCushion(0x17, 0x63, 0x38);

void paintWood(QImage& image, const QPainterPath& area) {
    // Mahogany with a slow grain running along the rails.
    QImage wood = canvas(image.width(), image.height());
    for (int y = 0; y < wood.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(wood.scanLine(y));
        for (int x = 0; x < wood.width(); ++x) {
            const double grain = smoothNoise(x / 90.0, y / 6.0, 11) * 0.6 +
                                 smoothNoise(x / 25.0, y / 2.0, 12) * 0.25 +
                                 hashNoise(x, y, 13) * 0.15;
            const double ring = 0.5 + 0.5 * std::sin(grain * 18.0);
            const QColor c =
                mix(QColor(0x4A, 0x1E, 0x0C), QColor(0x86, 0x3F, 0x1B), 0.35 + 0.45 * ring * grain);
            row[x] = c.rgba();
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(area);
    painter.drawImage(0, 0, wood);
    // Varnish: a soft light from above.
    QLinearGradient gloss(0, 0, 0, 460);
    gloss.setColorAt(0.0, QColor(255, 230, 200, 50));
    gloss.setColorAt(0.5, QColor(255, 230, 200, 0));
    gloss.setColorAt(1.0, QColor(0, 0, 0, 50));
    painter.fillRect(image.rect(), gloss);
}

void paintCloth(QImage& image, const QPainterPath& area) {
    const QPointF centre = toScreen(-0.35, 5.85);
    QImage cloth = canvas(image.width(), image.height());
    for (int y = 0; y < cloth.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(cloth.scanLine(y));
        for (int x = 0; x < cloth.width(); ++x) {
            const double dx = (x - centre.x()) / 420.0;
            const double dy = (y - centre.y()) / 230.0;
            const double light = std::clamp(1.0 - (dx * dx + dy * dy) * 0.55, 0.0, 1.0);
            QColor c = mix(kClothEdge, kCloth, light);
            // Felt: a fine, even nap.
            const double nap = (hashNoise(x, y, 21) - 0.5) * 0.05 +
                               (smoothNoise(x / 3.0, y / 3.0, 22) - 0.5) * 0.04;
            c = QColor::fromRgbF(float(std::clamp(c.redF() + nap, 0.0, 1.0)),
                                 float(std::clamp(c.greenF() + nap * 1.3, 0.0, 1.0)),
                                 float(std::clamp(c.blueF() + nap, 0.0, 1.0)));
            row[x] = c.rgba();
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(area);
    painter.drawImage(0, 0, cloth);
}

void paintSights(QPainter& painter) {
    // Mother-of-pearl diamonds on the rails, at quarters of each rail.
    const QPointF topLeft = toScreen(-26.35, 18.45);
    const QPointF bottomRight = toScreen(25.65, -6.75);
    const double railMid = 15.0; // from the cushion nose into the wood
    auto diamond = [&painter](QPointF c) {
        QPainterPath path;
        path.moveTo(c + QPointF(0, -4));
        path.lineTo(c + QPointF(3, 0));
        path.lineTo(c + QPointF(0, 4));
        path.lineTo(c + QPointF(-3, 0));
        path.closeSubpath();
        QRadialGradient g(c, 4);
        g.setColorAt(0, QColor(0xFF, 0xFF, 0xF4));
        g.setColorAt(1, QColor(0xC8, 0xC0, 0xA8));
        painter.fillPath(path, g);
    };
    const double left = topLeft.x();
    const double right = bottomRight.x();
    const double top = topLeft.y();
    const double bottom = bottomRight.y();
    for (int k = 1; k < 8; ++k) {
        if (k == 4)
            continue; // the middle pockets
        const double x = left + (right - left) * k / 8.0;
        diamond({x, top - railMid - 10});
        diamond({x, bottom + railMid + 10});
    }
    for (int k = 1; k < 4; ++k) {
        const double y = top + (bottom - top) * k / 4.0;
        diamond({left - railMid - 10, y});
        diamond({right + railMid + 10, y});
    }
}

void paintPockets(QPainter& painter) {
    for (const Pocket& pocket : pockets()) {
        // Leather-lined rim, then the dark hole with depth.
        QRadialGradient rim(pocket.centre, pocket.radius + 5);
        rim.setColorAt(0.75, QColor(0x2A, 0x1A, 0x10));
        rim.setColorAt(1.0, QColor(0x4A, 0x30, 0x1E, 0));
        painter.setBrush(rim);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(pocket.centre, pocket.radius + 5, pocket.radius + 5);
        QRadialGradient hole(pocket.centre + QPointF(0, 3), pocket.radius);
        hole.setColorAt(0.0, QColor(0x04, 0x04, 0x04));
        hole.setColorAt(0.8, QColor(0x0C, 0x0A, 0x08));
        hole.setColorAt(1.0, QColor(0x22, 0x1A, 0x14));
        painter.setBrush(hole);
        painter.drawEllipse(pocket.centre, pocket.radius, pocket.radius);
    }
}

void paintSpots(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 110));
    for (double x : {-13.35, -0.35, 12.65})
        painter.drawEllipse(toScreen(x, 5.85), 2.0, 2.0);
    // The head string, faint.
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.drawLine(toScreen(-13.35, 18.45), toScreen(-13.35, -6.75));
}

// --- the heads-up band ---------------------------------------------------

void panelText(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour,
               int size = 12) {
    painter.setFont(artFont(size, false));
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, text);
}

void paintBand(QPainter& painter) {
    // The console under the table.
    const QRectF band(4, 454, 792, 142);
    QLinearGradient metal(0, band.top(), 0, band.bottom());
    metal.setColorAt(0.0, QColor(0x3A, 0x3D, 0x46));
    metal.setColorAt(0.08, QColor(0x2A, 0x2C, 0x34));
    metal.setColorAt(1.0, QColor(0x15, 0x16, 0x1B));
    painter.setPen(QPen(QColor(0xB8, 0x96, 0x4C), 2));
    painter.setBrush(metal);
    painter.drawRoundedRect(band, 12, 12);

    // Player panel: light plate so the black names and numbers read well.
    const QRectF plate(70, 504, 472, 46);
    QLinearGradient paper(0, plate.top(), 0, plate.bottom());
    paper.setColorAt(0, QColor(0xF6, 0xF1, 0xE2));
    paper.setColorAt(1, QColor(0xDD, 0xD4, 0xBC));
    painter.setPen(QPen(QColor(0x8A, 0x6A, 0x30), 1.5));
    painter.setBrush(paper);
    painter.drawRoundedRect(plate, 6, 6);
    painter.setPen(QPen(QColor(0xB4, 0xA5, 0x82), 1));
    painter.drawLine(QPointF(76, 527.5), QPointF(536, 527.5));
    for (double x : {324.5, 363.5, 398.5, 437.5})
        painter.drawLine(QPointF(x, 507), QPointF(x, 547));
    // Clock windows for both rows.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x24, 0x2A));
    painter.drawRoundedRect(QRectF(463, 509, 50, 18), 3, 3);
    painter.drawRoundedRect(QRectF(463, 528, 50, 18), 3, 3);

    const QColor label(0xE8, 0xD9, 0xA8);
    panelText(painter, QRect(80, 486, 146, 16), QString::fromUtf8("玩家"), label);
    panelText(painter, QRect(326, 486, 40, 16), QString::fromUtf8("球组"), label);
    panelText(painter, QRect(364, 486, 36, 16), QString::fromUtf8("得分"), label);
    panelText(painter, QRect(399, 486, 38, 16), QString::fromUtf8("机会"), label);
    panelText(painter, QRect(448, 486, 80, 16), QString::fromUtf8("用时"), label);

    // Power bar: a frame round the bar the desk fills, with a scale.
    const QRectF bar(24, 484, 16, 100);
    painter.setPen(QPen(QColor(0xC9, 0xA8, 0x5C), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bar.adjusted(-4, -4, 4, 4), 4, 4);
    painter.setPen(QPen(QColor(0xC9, 0xA8, 0x5C), 1));
    for (int k = 0; k <= 10; ++k) {
        const double y = bar.bottom() - k * 10.0;
        painter.drawLine(QPointF(bar.right() + 5, y), QPointF(bar.right() + (k % 5 ? 9 : 13), y));
    }
    panelText(painter, QRect(8, 462, 60, 16), QString::fromUtf8("力度"), label);

    // Tray for the pocketed balls: a groove under the panel.
    const QRectF groove(74, 560, 496, 32);
    QLinearGradient channel(0, groove.top(), 0, groove.bottom());
    channel.setColorAt(0.0, QColor(0x08, 0x08, 0x0A));
    channel.setColorAt(0.5, QColor(0x2A, 0x22, 0x1C));
    channel.setColorAt(1.0, QColor(0x4A, 0x3C, 0x30));
    painter.setPen(QPen(QColor(0x6A, 0x5A, 0x40), 1));
    painter.setBrush(channel);
    painter.drawRoundedRect(groove, 16, 16);

    // Spin selector: a cue ball seen head-on with a cross, the desk adds the mark.
    const QPointF spin(719, 520);
    painter.setPen(QPen(QColor(0xC9, 0xA8, 0x5C), 2));
    painter.setBrush(QColor(0x1A, 0x1C, 0x22));
    painter.drawEllipse(spin, 31, 31);
    QRadialGradient ball(spin - QPointF(8, 8), 34);
    ball.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    ball.setColorAt(0.7, QColor(0xE6, 0xE6, 0xDE));
    ball.setColorAt(1.0, QColor(0xA8, 0xA8, 0xA0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ball);
    painter.drawEllipse(spin, 25, 25);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    painter.drawLine(spin - QPointF(22, 0), spin + QPointF(22, 0));
    painter.drawLine(spin - QPointF(0, 22), spin + QPointF(0, 22));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(spin, 12, 12);
    panelText(painter, QRect(689, 460, 60, 16), QString::fromUtf8("加塞"), label);
}

} // namespace

QImage drawTable() {
    QImage image = canvas(800, 600);

    // Rails: one rounded slab of wood round the whole table.
    QPainterPath rails;
    rails.addRoundedRect(QRectF(6, 2, 782, 448), 28, 28);
    paintWood(image, rails);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A dark line where the wood meets the cushions.
    const QPointF noseTopLeft = toScreen(-26.35, 18.45);
    const QPointF noseBottomRight = toScreen(25.65, -6.75);
    const QRectF noses(noseTopLeft, noseBottomRight);
    painter.setPen(QPen(QColor(0x2A, 0x10, 0x06), 2));
    painter.setBrush(kCushion);
    painter.drawRoundedRect(noses.adjusted(-14, -14, 14, 14), 6, 6);
    // Cushion rubber with its lit top edge.
    painter.setPen(QPen(QColor(0x2E, 0x8E, 0x55), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(noses.adjusted(-6, -6, 6, 6));
    painter.end();

    // Cloth over the playing area and into the pocket mouths.
    QPainterPath cloth;
    cloth.moveTo(outlinePoint(0));
    for (int i = 1; i < int(kOutline.size()); ++i)
        cloth.lineTo(outlinePoint(i));
    cloth.closeSubpath();
    paintCloth(image, cloth);

    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The cushions throw a soft shadow onto the cloth.
    painter.setPen(QPen(QColor(0, 0, 0, 45), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cloth);
    paintSpots(painter);
    paintPockets(painter);
    paintSights(painter);
    paintBand(painter);
    painter.end();

    QImage sheet = canvas(1024, 1024);
    painter.begin(&sheet);
    painter.drawImage(0, 0, image);
    painter.end();
    return finishPngSheet(sheet);
}

} // namespace assetgen
