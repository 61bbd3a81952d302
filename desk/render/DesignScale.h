#pragma once
// Design pixels of the 800 × 600 design screen scaled to the client size,
// multiplying first and truncating, as every other part of the desk does.
// (Kept here until the table model's own helpers are available.)

namespace desk::render {

inline constexpr int kDesignWidth = 800;
inline constexpr int kDesignHeight = 600;

constexpr int scaleX(int v, int clientWidth) {
    return v * clientWidth / kDesignWidth;
}
constexpr int scaleY(int v, int clientHeight) {
    return v * clientHeight / kDesignHeight;
}

} // namespace desk::render
