#include "desk/media/PictureLoader.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace desk::media {

QImage readImageFile(const std::string& path) {
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return {};
    return image.convertToFormat(QImage::Format_ARGB32);
}

void applyColourKey(QImage& image) {
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == 0xFF000000u)
                row[x] = 0x00000000u;
        }
    }
}

PictureImage loadPicture(const CMediaDirectory& dir, const PictureSheet& sheet) {
    PictureImage picture;
    picture.grid = {sheet.frameWidth, sheet.frameHeight, sheet.columns, sheet.frames};
    if (const auto path = dir.ImagePath(sheet.file)) {
        picture.image = readImageFile(*path);
        if (sheet.colourKey)
            applyColourKey(picture.image);
    }
    return picture;
}

QImage loadTexture(const CMediaDirectory& dir, std::string_view file) {
    if (const auto path = dir.ImagePath(file))
        return readImageFile(*path);
    return {};
}

PictureImage pictureFromBitmap(const QImage& bitmap, int width, int height) {
    PictureImage picture;
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return picture;
    QImage copy(width, height, QImage::Format_ARGB32);
    copy.fill(0xFF000000u);
    if (!bitmap.isNull()) {
        QPainter painter(&copy);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // The back buffer has no alpha: whatever the host's bitmap holds is opaque.
        painter.drawImage(QPoint(0, 0), bitmap.convertToFormat(QImage::Format_RGB32));
    }
    picture.image = std::move(copy);
    picture.grid = {width, height, 1, 1};
    return picture;
}

} // namespace desk::media
