// The small pictures of the desk: the cue, marks, digits, strips and lights.
// Sheets follow the geometry the desk cuts them by; where nothing is drawn a
// sheet is black, which the desk shows as transparent.

#include "tools/assetgen/Art.h"
#include "tools/assetgen/ArtCommon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    path.closeSubpath();
    return path;
}

// One seven-segment digit filling a 32 × 32 frame. The desk shows the
// frame at 8 × 12.8 pixels, squeezed 4 times across and 2.5 times down, so
// the upright strokes are drawn thicker than the level ones.
void sevenSegment(QPainter& painter, QRectF frame, int digit) {
    static const int kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double l = frame.left() + 2, r = frame.right() - 2;
    const double t = frame.top() + 1, b = frame.bottom() - 1, m = (t + b) / 2;
    const double v = 9; // upright stroke width
    const double h = 5; // level stroke height
    const QRectF segments[7] = {
        {l, t, r - l, h},                     // top
        {r - v, t, v, m - t + h / 2},         // upper right
        {r - v, m - h / 2, v, b - m + h / 2}, // lower right
        {l, b - h, r - l, h},                 // bottom
        {l, m - h / 2, v, b - m + h / 2},     // lower left
        {l, t, v, m - t + h / 2},             // upper left
        {l, m - h / 2, r - l, h},             // middle
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xD8, 0x4A));
    const int lit = kSegments[digit];
    for (int s = 0; s < 7; ++s) {
        if (lit & (1 << s))
            painter.drawRect(segments[s]);
    }
}

} // namespace

QImage drawCue() {
    // Left edge at the butt, right edge at the tip; rows run round the stick.
    constexpr int w = 512, h = 32;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(0x2C, 0x12, 0x0A));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    auto band = [&](int x0, int x1, const QColor& c) { painter.fillRect(x0, 0, x1 - x0, h, c); };
    band(0, 8, QColor(0x22, 0x22, 0x22));   // rubber bumper
    band(8, 150, QColor(0x2C, 0x12, 0x0A)); // ebony butt sleeve
    for (int x = 8; x < 150; ++x) {         // its grain
        for (int y = 0; y < h; ++y) {
            const double g = smoothNoise(x / 14.0, y / 2.0, 41);
            painter.setPen(mix(QColor(0x24, 0x0E, 0x08), QColor(0x48, 0x22, 0x12), g));
            painter.drawPoint(x, y);
        }
    }
    for (int k = 0; k < 4; ++k) { // inlaid diamonds round the sleeve
        const double cx = 40 + 28 * k;
        for (int row : {4, 12, 20, 28}) {
            const double cy = row + (k % 2) * 4;
            painter.fillPath(polygon({{cx - 7, cy}, {cx, cy - 3}, {cx + 7, cy}, {cx, cy + 3}}),
                             QColor(0xE8, 0xE0, 0xC8));
        }
    }
    band(150, 154, QColor(0xD8, 0xD8, 0xD0)); // rings
    band(156, 158, QColor(0xB0, 0x90, 0x40));
    band(158, 238, QColor(0x1C, 0x22, 0x3A)); // linen wrap
    for (int x = 158; x < 238; x += 3)
        band(x, x + 1, QColor(0x2C, 0x34, 0x52));
    band(238, 242, QColor(0xB0, 0x90, 0x40));
    band(242, 250, QColor(0xE6, 0xE6, 0xE0)); // joint
    band(250, 496, QColor(0xE2, 0xC8, 0x92)); // maple forearm and shaft
    for (int x = 250; x < 496; ++x) {
        for (int y = 0; y < h; ++y) {
            const double g = smoothNoise(x / 40.0, y / 1.5, 42) * 0.5 + 0.5 * hashNoise(x, y, 43);
            painter.setPen(mix(QColor(0xD6, 0xB8, 0x80), QColor(0xEE, 0xD8, 0xA8), g));
            painter.drawPoint(x, y);
        }
    }
    for (int k = 0; k < 4; ++k) { // four points of ebony into the forearm
        const double cy = 4 + 8 * k;
        painter.fillPath(polygon({{250, cy - 3.5}, {340, cy}, {250, cy + 3.5}}),
                         QColor(0x2C, 0x12, 0x0A));
    }
    band(496, 504, QColor(0xF4, 0xF2, 0xEA)); // ferrule
    band(504, 512, QColor(0x3A, 0x6E, 0xC8)); // chalked tip
    return image;
}

QImage drawPocketLight() {
    QImage sheet = canvas(1024, 512);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 5; ++k) {
        const QPointF c(200 * k + 100, 100);
        const double grow = 0.35 + 0.16 * k;
        const int fade = 255 - 45 * k;
        QRadialGradient glow(c, 95 * grow);
        glow.setColorAt(0.0, QColor(255, 255, 230, fade));
        glow.setColorAt(0.3, QColor(255, 220, 90, fade * 3 / 4));
        glow.setColorAt(1.0, QColor(255, 170, 30, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(c, 95 * grow, 95 * grow);
        // Rays turning a little from frame to frame.
        painter.setPen(QPen(QColor(255, 240, 170, fade * 2 / 3), 3, Qt::SolidLine, Qt::RoundCap));
        for (int ray = 0; ray < 8; ++ray) {
            const double a = ray * std::numbers::pi / 4 + k * 0.12;
            const QPointF dir(std::cos(a), std::sin(a));
            painter.drawLine(c + dir * 30 * grow, c + dir * 92 * grow);
        }
        // An expanding ring.
        painter.setPen(QPen(QColor(255, 250, 210, fade / 2), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, 60 * grow + 10, 60 * grow + 10);
    }
    painter.end();
    return finishPngSheet(sheet);
}

QImage drawStartButton() {
    QImage sheet = canvas(64, 64);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 2; ++k) {
        const QRectF frame(1, 32 * k + 1, 62, 30);
        QLinearGradient body(0, frame.top(), 0, frame.bottom());
        body.setColorAt(0, k == 0 ? QColor(0x6C, 0xD4, 0x6A) : QColor(0x2E, 0x8A, 0x34));
        body.setColorAt(1, k == 0 ? QColor(0x1E, 0x86, 0x2C) : QColor(0x1A, 0x5E, 0x22));
        painter.setPen(QPen(QColor(0xF0, 0xE6, 0xA0), 1.5));
        painter.setBrush(body);
        painter.drawRoundedRect(frame, 8, 8);
        painter.setFont(artFont(17, true));
        painter.setPen(QColor(0x0C, 0x3A, 0x10));
        painter.drawText(frame.translated(1, 1), Qt::AlignCenter, QString::fromUtf8("开始"));
        painter.setPen(QColor(0xFF, 0xFF, 0xF0));
        painter.drawText(frame, Qt::AlignCenter, QString::fromUtf8("开始"));
    }
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawShadow() {
    // Dark in the middle, lighter towards the rim: drawn at low alpha, this
    // gives a soft shadow.
    QImage sheet = canvas(32, 32);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(16, 16), 15);
    g.setColorAt(0.0, QColor(0x0C, 0x0C, 0x0C));
    g.setColorAt(0.7, QColor(0x20, 0x20, 0x20));
    g.setColorAt(1.0, QColor(0x58, 0x58, 0x58));
    painter.setPen(Qt::NoPen);
    painter.setBrush(g);
    painter.drawEllipse(QPointF(16, 16), 15, 15);
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawDigits() {
    QImage sheet = canvas(128, 128);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 10; ++k)
        sevenSegment(painter, QRectF(32 * (k % 4), 32 * (k / 4), 32, 32), k);
    // Frame 10: the colon.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xD8, 0x4A));
    painter.drawRect(QRectF(75, 64 + 7, 10, 5));
    painter.drawRect(QRectF(75, 64 + 20, 10, 5));
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawSpinMark() {
    QImage sheet = canvas(8, 8);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(3, 3), 4.5);
    g.setColorAt(0, QColor(0xFF, 0x9A, 0x9A));
    g.setColorAt(1, QColor(0xC0, 0x10, 0x10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(g);
    painter.drawEllipse(QPointF(4, 4), 3.8, 3.8);
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawTargetRing() {
    QImage sheet = canvas(32, 32);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xFF, 0xF4, 0xB0), 2.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(16, 16), 14.2, 14.2);
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xE8), 2));
    for (int k = 0; k < 4; ++k) {
        const double a = k * std::numbers::pi / 2;
        const QPointF d(std::cos(a), std::sin(a));
        painter.drawLine(QPointF(16, 16) + d * 10, QPointF(16, 16) + d * 15.5);
    }
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawMarks() {
    QImage sheet = canvas(64, 16);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    // 0: solids, a full coloured ball.
    QRadialGradient solid(QPointF(6, 6), 8);
    solid.setColorAt(0, QColor(0xFF, 0x90, 0x80));
    solid.setColorAt(1, QColor(0xB0, 0x14, 0x10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(solid);
    painter.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    // 1: stripes, white with a coloured band.
    QPainterPath ball;
    ball.addEllipse(QPointF(24, 8), 6.5, 6.5);
    painter.fillPath(ball, QColor(0xF6, 0xF4, 0xEC));
    painter.setClipPath(ball);
    painter.fillRect(QRectF(16, 5, 16, 6), QColor(0x1A, 0x3E, 0xB0));
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ball);
    // 2: ready, a green tick.
    painter.setPen(QPen(QColor(0x20, 0xB0, 0x30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(35, 8), QPointF(39, 12), QPointF(45, 3)}));
    // 3: a grey dot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x90, 0x90, 0x90));
    painter.drawEllipse(QPointF(56, 8), 4, 4);
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawPowerFill() {
    // Stretched into the bar: lit like a glowing tube across, even along.
    QImage image(32, 32, QImage::Format_RGB32);
    for (int x = 0; x < 32; ++x) {
        const double t = std::sin((x + 0.5) / 32.0 * std::numbers::pi);
        const QColor c = mix(QColor(0xB0, 0x20, 0x08), QColor(0xFF, 0xC8, 0x40), t * t);
        for (int y = 0; y < 32; ++y)
            image.setPixel(x, y, c.rgb());
    }
    return image;
}

QImage drawListBackground() {
    QImage sheet = canvas(64, 64);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    g.setColorAt(1, QColor(0xC8, 0xD4, 0xE4));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
    painter.setBrush(g);
    painter.drawRoundedRect(QRectF(1, 1, 62, 62), 6, 6);
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawHorizontalRule() {
    QImage sheet = canvas(32, 16);
    QPainter painter(&sheet);
    painter.fillRect(0, 0, 18, 1, QColor(0x60, 0x60, 0x68));
    painter.fillRect(0, 1, 18, 1, QColor(0xE8, 0xE8, 0xF0));
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawVerticalRule() {
    QImage sheet = canvas(16, 32);
    QPainter painter(&sheet);
    painter.fillRect(0, 0, 1, 18, QColor(0x60, 0x60, 0x68));
    painter.fillRect(1, 0, 1, 18, QColor(0xE8, 0xE8, 0xF0));
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawAimLine() {
    // A bright core with a soft glow either side, 20 rows across.
    QImage sheet = canvas(64, 32);
    QPainter painter(&sheet);
    const int glow[20] = {0,    0,    0,    0, 0, 0, 0, 0x50, 0xA0, 0xFF,
                          0xFF, 0xA0, 0x50, 0, 0, 0, 0, 0,    0,    0};
    for (int y = 0; y < 20; ++y) {
        if (glow[y] > 0)
            painter.fillRect(0, y, 64, 1, QColor(glow[y], glow[y], glow[y]));
    }
    painter.end();
    return finishBmpSheet(sheet);
}

QImage drawArrow() {
    QImage sheet = canvas(64, 32);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath arrow =
        polygon({{2, 8}, {42, 8}, {42, 2}, {62, 10}, {42, 18}, {42, 12}, {2, 12}});
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawPath(arrow);
    painter.end();
    return finishBmpSheet(sheet);
}

} // namespace assetgen
