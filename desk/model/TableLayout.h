#pragma once
// The table as the desk sees it: a closed 41-vertex outline (vertex 40
// repeats vertex 0), shifted once by (−0.35, +5.65); the six straight rails,
// the playing rectangle and the six pocket zones are all derived from the
// shifted outline.
//
// The outline is kept in exact hundredths of a world unit: the cushion
// construction truncates lengths that are whole numbers on paper (21.0,
// 23.0 …), and binary fractions would put some of them just below.

#include <array>
#include <cstddef>
#include <cstdint>

namespace desk {

struct Hundredths {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect {
    double left = 0;   // smallest x
    double right = 0;  // largest x
    double bottom = 0; // smallest y
    double top = 0;    // largest y
    // Bounds are inclusive: a point exactly on an edge lies inside.
    bool contains(double x, double y) const {
        return x >= left && x <= right && y >= bottom && y <= top;
    }
};

enum class Rail { Left, Right, TopLeft, TopRight, BottomLeft, BottomRight };
inline constexpr int kRailCount = 6;

// Which side of its line the outside of the table lies on.
enum class Outward { MinusX, PlusX, PlusY, MinusY };

struct RailLine {
    Rail rail;
    int fromVertex; // the corner end of a long rail
    int toVertex;
    Outward outward;
};

inline constexpr int kOutlineVertexCount = 41;
inline constexpr int kPocketCount = 6;

class CTableLayout {
public:
    CTableLayout();

    // Shifted outline vertex in hundredths / in world units.
    Hundredths vertexHundredths(int k) const { return m_vertices.at(static_cast<std::size_t>(k)); }
    double vertexX(int k) const;
    double vertexY(int k) const;

    static const std::array<RailLine, kRailCount>& rails();
    static const Rect& playingRect();

    // Pocket zone k (0 top-left, 1 top-middle, 2 top-right, 3 bottom-right,
    // 4 bottom-middle, 5 bottom-left).
    const Rect& pocketZone(int k) const { return m_pockets.at(static_cast<std::size_t>(k)); }
    // First zone in the order 0 … 5 whose inclusive bounds hold the point, −1 if none.
    int pocketAt(double x, double y) const;

private:
    std::array<Hundredths, kOutlineVertexCount> m_vertices{};
    std::array<Rect, kPocketCount> m_pockets{};
};

} // namespace desk
