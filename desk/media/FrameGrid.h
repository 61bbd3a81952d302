#pragma once
// Equal frames cut from a sheet in rows, starting at its top-left corner.

#include <QRect>

namespace desk::media {

struct FrameGrid {
    int frameWidth = 0;
    int frameHeight = 0;
    int columns = 1;
    int frames = 0;

    // The source rectangle of frame k in sheet pixels; an empty rectangle for
    // a frame the grid does not have.
    QRect Frame(int k) const {
        if (k < 0 || k >= frames || columns <= 0 || frameWidth <= 0 || frameHeight <= 0)
            return {};
        return {(k % columns) * frameWidth, (k / columns) * frameHeight, frameWidth, frameHeight};
    }
};

} // namespace desk::media
