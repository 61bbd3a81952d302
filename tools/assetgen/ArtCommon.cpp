#include "tools/assetgen/ArtCommon.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

QPointF toScreen(double x, double y) {
    const double h = 2.0 * 85.0 * std::tan(15.0 * 3.14159265358979 / 180.0);
    const double w = h * 800.0 / 600.0;
    return {(w / 2 + x) * 800.0 / w, (h / 2 - y) * 600.0 / h};
}

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage finishBmpSheet(const QImage& drawn) {
    QImage in = drawn.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < in.width(); ++x) {
            const QRgb p = src[x];
            if (qAlpha(p) < 128) {
                dst[x] = 0xFF000000u;
            } else {
                const QRgb rgb = p & 0x00FFFFFFu;
                dst[x] = 0xFF000000u | (rgb == 0 ? 0x010101u : rgb);
            }
        }
    }
    return out;
}

QImage finishPngSheet(const QImage& drawn) {
    QImage out = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                row[x] = 0;
            else if (row[x] == 0xFF000000u)
                row[x] = 0xFF010101u;
        }
    }
    return out;
}

double hashNoise(int x, int y, std::uint32_t seed) {
    std::uint32_t h =
        seed * 0x9E3779B9u ^ std::uint32_t(x) * 0x85EBCA6Bu ^ std::uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return double(h) / 4294967296.0;
}

double smoothNoise(double x, double y, std::uint32_t seed) {
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = hashNoise(x0, y0, seed);
    const double b = hashNoise(x0 + 1, y0, seed);
    const double c = hashNoise(x0, y0 + 1, seed);
    const double d = hashNoise(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

QFont artFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

} // namespace assetgen
