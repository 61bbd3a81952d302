#include "desk/scene/PointerPictures.h"

#include "desk/model/Units.h"

#include <QPainter>
#include <QPainterPath>

namespace desk::scene {

namespace {

// The bitmap point that lands on the pointer's hot spot at the design size
// (the 29 × 28 bitmap sits at (1, 2) in the 32 × 32 pointer).
constexpr QPointF kAim(14.0, 13.0);

// Dark enough to outline the marks on light cloth, yet not the black that
// turns transparent.
constexpr QRgb kOutline = 0xFF202020;

void strokeOutlined(QPainter& p, const QPainterPath& path, QColor colour) {
    p.setPen(QPen(QColor::fromRgb(kOutline), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

// A sight: a ring round the point with four ticks and a dot at its centre.
void drawSight(QPainter& p) {
    const QPointF c = kAim;
    QPainterPath path;
    path.addEllipse(c, 8.5, 8.5);
    path.moveTo(c.x(), c.y() - 12.5);
    path.lineTo(c.x(), c.y() - 5.0);
    path.moveTo(c.x(), c.y() + 5.0);
    path.lineTo(c.x(), c.y() + 12.5);
    path.moveTo(c.x() - 12.5, c.y());
    path.lineTo(c.x() - 5.0, c.y());
    path.moveTo(c.x() + 5.0, c.y());
    path.lineTo(c.x() + 12.5, c.y());
    strokeOutlined(p, path, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kOutline));
    p.drawEllipse(c, 2.0, 2.0);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 1.0, 1.0);
}

// No entry: a red ring struck through.
void drawRefusal(QPainter& p) {
    const QPointF c = kAim;
    QPainterPath ring;
    ring.addEllipse(c, 10.0, 10.0);
    ring.moveTo(c.x() - 7.0, c.y() + 7.0);
    ring.lineTo(c.x() + 7.0, c.y() - 7.0);
    p.setPen(QPen(QColor::fromRgb(kOutline), 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(ring);
    p.setPen(QPen(QColor(230, 40, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(ring);
}

} // namespace

QImage placementBitmap(int picture) {
    if (picture != 1 && picture != 2)
        return {};
    QImage bitmap(kPointerBitmapWidth, kPointerBitmapHeight, QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    QPainter p(&bitmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (picture == 1)
        drawSight(p);
    else
        drawRefusal(p);
    p.end();
    return bitmap;
}

QImage placementPointer(const QImage& bitmap, int width, int height) {
    QImage pointer(kPointerSize, kPointerSize, QImage::Format_ARGB32);
    pointer.fill(0);
    if (bitmap.isNull())
        return pointer;
    const int w = std::max(1, scaleX(bitmap.width(), width > 0 ? width : kDesignWidth));
    const int h = std::max(1, scaleY(bitmap.height(), height > 0 ? height : kDesignHeight));
    const QImage stretched = bitmap.convertToFormat(QImage::Format_RGB32)
                                 .scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const int offsetX = (kPointerSize - w) / 2;
    const int offsetY = (kPointerSize - h) / 2;
    for (int y = 0; y < h; ++y) {
        const int py = y + offsetY;
        if (py < 0 || py >= kPointerSize)
            continue;
        const auto* from = reinterpret_cast<const QRgb*>(stretched.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(pointer.scanLine(py));
        for (int x = 0; x < w; ++x) {
            const int px = x + offsetX;
            if (px < 0 || px >= kPointerSize)
                continue;
            const QRgb colour = from[x] & 0xFFFFFF;
            to[px] = colour == 0 ? 0 : (0xFF000000 | colour);
        }
    }
    return pointer;
}

} // namespace desk::scene
