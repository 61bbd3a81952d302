// Ball pictures: the ball's surface unrolled the way the desk wraps it round
// its sphere (longitude across, pole to pole down). Each texel is worked out
// on the sphere itself, so the number discs come out round on the ball.

#include "tools/assetgen/Art.h"
#include "tools/assetgen/ArtCommon.h"

#include <QPainter>
#include <QVector3D>
#include <array>
#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 128;
constexpr double kDiscRadius = 0.46; // radians
constexpr double kStripeHalf = 0.58; // |y| below this is the stripe
constexpr int kGlyphSize = 128;

const std::array<QColor, 8> kColours = {QColor(0xF4, 0xC4, 0x10), QColor(0x1A, 0x3E, 0xB0),
                                        QColor(0xD0, 0x1E, 0x1C), QColor(0x5E, 0x2A, 0x8C),
                                        QColor(0xF0, 0x6A, 0x14), QColor(0x12, 0x7C, 0x3C),
                                        QColor(0x80, 0x22, 0x1E), QColor(0x16, 0x16, 0x18)};
const QColor kIvory(0xFA, 0xF7, 0xEE);

// The picture's point (u, v) on the ball, as the desk's sphere maps it.
QVector3D direction(double u, double v) {
    const double theta = 2 * std::numbers::pi * (1 - u);
    const double phi = std::numbers::pi * v;
    return {float(std::sin(theta) * std::sin(phi)), float(std::cos(phi)),
            float(std::cos(theta) * std::sin(phi))};
}

QImage numberGlyph(int number) {
    QImage glyph(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
    glyph.fill(0xFFFFFFFF);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(artFont(number >= 10 ? 70 : 84, true));
    painter.setPen(QColor(0x10, 0x10, 0x10));
    painter.drawText(QRect(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, QString::number(number));
    if (number == 6 || number == 9) {
        // Underline so that 6 and 9 cannot be told apart only by turning.
        painter.fillRect(QRect(40, 106, 48, 7), QColor(0x10, 0x10, 0x10));
    }
    return glyph;
}

struct Disc {
    QVector3D centre;
    QVector3D across; // the picture's u direction at the centre
    QVector3D down;   // the picture's v direction
};

QRgb shade(int index, const QImage& glyph, const std::array<Disc, 2>& discs, QVector3D d) {
    const bool cueBall = index == 15;
    const bool stripe = index >= 8 && index <= 14;
    const QColor colour = cueBall ? kIvory : kColours[std::size_t(stripe ? index - 8 : index)];
    if (cueBall) {
        // Red spots on the six axes show the ball's spin.
        for (const QVector3D& spot :
             {QVector3D(1, 0, 0), QVector3D(-1, 0, 0), QVector3D(0, 1, 0), QVector3D(0, -1, 0),
              QVector3D(0, 0, 1), QVector3D(0, 0, -1)}) {
            if (std::acos(std::clamp(QVector3D::dotProduct(d, spot), -1.f, 1.f)) < 0.11f)
                return QColor(0xC8, 0x20, 0x20).rgb();
        }
        return colour.rgb();
    }
    for (const Disc& disc : discs) {
        const double angle =
            std::acos(std::clamp(QVector3D::dotProduct(d, disc.centre), -1.f, 1.f));
        if (angle > kDiscRadius)
            continue;
        // Gnomonic projection onto the disc's tangent plane, in disc radii.
        const QVector3D p = d / QVector3D::dotProduct(d, disc.centre) - disc.centre;
        const double gx = QVector3D::dotProduct(p, disc.across) / std::tan(kDiscRadius);
        const double gy = QVector3D::dotProduct(p, disc.down) / std::tan(kDiscRadius);
        const int px = std::clamp(int((gx * 0.5 + 0.5) * kGlyphSize), 0, kGlyphSize - 1);
        const int py = std::clamp(int((gy * 0.5 + 0.5) * kGlyphSize), 0, kGlyphSize - 1);
        const QRgb ink = glyph.pixel(px, py);
        return mix(QColor(0x10, 0x10, 0x10), kIvory, qGray(ink) / 255.0).rgb();
    }
    if (stripe && std::abs(d.y()) > kStripeHalf)
        return kIvory.rgb();
    return colour.rgb();
}

} // namespace

QImage drawBall(int index) {
    const QImage glyph = numberGlyph(index + 1);
    // Discs on the two sides of the ball, at u = 1/4 and u = 3/4 on the equator.
    std::array<Disc, 2> discs;
    for (int k = 0; k < 2; ++k) {
        const double u = 0.25 + 0.5 * k;
        const QVector3D centre = direction(u, 0.5);
        const QVector3D across = (direction(u + 1e-4, 0.5) - centre).normalized();
        discs[std::size_t(k)] = {centre, across, QVector3D(0, -1, 0)};
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    constexpr int kSamples = 3;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = (x + (sx + 0.5) / kSamples) / kWidth;
                    const double v = (y + (sy + 0.5) / kSamples) / kHeight;
                    const QRgb c = shade(index, glyph, discs, direction(u, v));
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                }
            }
            constexpr int n = kSamples * kSamples;
            image.setPixel(x, y, qRgb(r / n, g / n, b / n));
        }
    }
    return image;
}

} // namespace assetgen
