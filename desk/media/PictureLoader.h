#pragma once
// Reading the desk's pictures from files (BMP and PNG through Qt's image
// readers) and from the host's bitmap. Nothing here reports an error: a file
// that is missing or cannot be decoded gives an empty picture, which the
// drawing skips.

#include "desk/media/FrameGrid.h"
#include "desk/media/MediaDirectory.h"
#include "desk/media/MediaFiles.h"

#include <QImage>
#include <string>
#include <string_view>

namespace desk::media {

// A decoded sheet (ARGB32, straight alpha) and the frames cut from it.
struct PictureImage {
    QImage image;
    FrameGrid grid;

    bool IsEmpty() const { return image.isNull(); }
};

// Pictures larger than this on either side are refused as unreadable.
inline constexpr int kMaxPictureSide = 8192;

// The image in the file at path, as ARGB32; null when missing or unreadable.
QImage readImageFile(const std::string& path);

// Every opaque black pixel becomes fully transparent (transparent black).
void applyColourKey(QImage& image);

// A sheet from the image folder with its frame grid (and colour key when the
// sheet has one).
PictureImage loadPicture(const CMediaDirectory& dir, const PictureSheet& sheet);
// A whole-image texture from the image folder (balls, cue): no colour key.
QImage loadTexture(const CMediaDirectory& dir, std::string_view file);

// The host's background bitmap copied pixel for pixel into a picture of
// width × height whose one frame is the whole picture. Parts outside the
// bitmap stay black; the copy is opaque (no colour key). Empty for a size
// that is not positive or larger than kMaxPictureSide.
PictureImage pictureFromBitmap(const QImage& bitmap, int width, int height);

} // namespace desk::media
