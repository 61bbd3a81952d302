#include "desk/render/CTextFace.h"

#include "desk/render/CSpriteBatch.h"
#include "platform/text/Gbk.h"

#include <QFontMetrics>
#include <QPainter>

namespace desk::render {

QStringList CTextFace::Families() {
    return {QString::fromUtf8("宋体"), QStringLiteral("SimSun"),
            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
}

CTextFace::CTextFace(int height, int width, int weight) {
    m_font.setFamilies(Families());
    m_font.setPixelSize(std::max(1, height));
    m_font.setWeight(QFont::Weight(std::clamp(weight, 100, 900)));
    m_font.setStyleStrategy(QFont::PreferAntialias);
    // Narrow or widen the face until its average character is `width` wide.
    const int average = QFontMetrics(m_font).averageCharWidth();
    if (width > 0 && average > 0)
        m_font.setStretch(std::clamp(100 * width / average, 50, 200));
}

QImage CTextFace::Rasterise(const QString& text, QSize size) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(m_font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextSingleLine, text);
    return image;
}

void CTextFace::Draw(CRenderDevice& device, CSpriteBatch& batch, const QString& text,
                     const QRect& rect, QRgb colour) {
    if (text.isEmpty() || rect.isEmpty())
        return;
    auto key = std::make_pair(text, std::make_pair(rect.width(), rect.height()));
    auto it = m_cache.find(key);
    if (it == m_cache.end()) {
        if (int(m_cache.size()) >= kMaxCachedTexts) {
            // The batch may still point at a cached texture.
            batch.Flush();
            Reset(device);
        }
        it = m_cache
                 .emplace(std::move(key), CGlTexture(Rasterise(text, rect.size()),
                                                     TextureOptions{false, false, false}))
                 .first;
    }
    batch.DrawTexture(it->second, QRectF(0, 0, rect.width(), rect.height()), QRectF(rect), colour);
}

void CTextFace::DrawGbk(CRenderDevice& device, CSpriteBatch& batch, std::string_view gbk,
                        const QRect& rect, QRgb colour) {
    Draw(device, batch, platform::gbk::toUnicode(gbk), rect, colour);
}

void CTextFace::Reset(CRenderDevice& device) {
    for (auto& entry : m_cache)
        entry.second.Release(device);
    m_cache.clear();
}

} // namespace desk::render
