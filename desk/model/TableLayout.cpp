#include "desk/model/TableLayout.h"

namespace desk {

namespace {

// The outline as drawn for the table picture, in hundredths. It is not
// symmetric (top rail line at 12.8, bottom at −12.4); the desk uses it as it stands.
constexpr std::array<Hundredths, kOutlineVertexCount> kStoredOutline{{
    {-290, 1280},   {-130, 1410},   {-110, 1550},   {-50, 1610},    {50, 1610},     {110, 1550},
    {130, 1410},    {240, 1280},    {2410, 1280},   {2610, 1450},   {2730, 1470},   {2840, 1360},
    {2820, 1270},   {2600, 1050},   {2600, -1050},  {2820, -1270},  {2840, -1360},  {2730, -1470},
    {2610, -1450},  {2410, -1240},  {240, -1240},   {130, -1370},   {110, -1510},   {50, -1570},
    {-50, -1570},   {-110, -1510},  {-130, -1370},  {-240, -1240},  {-2410, -1240}, {-2610, -1450},
    {-2730, -1470}, {-2840, -1360}, {-2820, -1270}, {-2600, -1050}, {-2600, 1050},  {-2820, 1270},
    {-2840, 1360},  {-2730, 1470},  {-2610, 1450},  {-2460, 1280},  {-290, 1280},
}};

constexpr Hundredths kOutlineShift{-35, 565};

constexpr double world(int32_t hundredths) {
    return hundredths / 100.0;
}

} // namespace

CTableLayout::CTableLayout() {
    for (std::size_t k = 0; k < m_vertices.size(); ++k)
        m_vertices[k] = {kStoredOutline[k].x + kOutlineShift.x,
                         kStoredOutline[k].y + kOutlineShift.y};

    const auto x = [this](int k) { return m_vertices[static_cast<std::size_t>(k)].x; };
    const auto y = [this](int k) { return m_vertices[static_cast<std::size_t>(k)].y; };
    // Each zone is spanned by outline vertices of its pocket mouth (left,
    // right, bottom, top); three bounds sit a few hundredths off their vertex.
    const std::array<std::array<int32_t, 4>, kPocketCount> zones{{
        {x(36), x(38) + 30, y(35) - 30, y(37)}, // top-left
        {x(1), x(6), y(6), y(3)},               // top-middle
        {x(9), x(11), y(12), y(10)},            // top-right
        {x(18), x(16), y(17), y(15)},           // bottom-right
        {x(26), x(21), y(23), y(26) + 20},      // bottom-middle
        {x(31), x(29), y(30), y(32)},           // bottom-left
    }};
    for (std::size_t k = 0; k < zones.size(); ++k)
        m_pockets[k] = {world(zones[k][0]), world(zones[k][1]), world(zones[k][2]),
                        world(zones[k][3])};
}

double CTableLayout::vertexX(int k) const {
    return world(vertexHundredths(k).x);
}
double CTableLayout::vertexY(int k) const {
    return world(vertexHundredths(k).y);
}

const std::array<RailLine, kRailCount>& CTableLayout::rails() {
    static const std::array<RailLine, kRailCount> lines{{
        {Rail::Left, 33, 34, Outward::MinusX},
        {Rail::Right, 14, 13, Outward::PlusX},
        {Rail::TopLeft, 39, 40, Outward::PlusY},
        {Rail::TopRight, 8, 7, Outward::PlusY},
        {Rail::BottomLeft, 28, 27, Outward::MinusY},
        {Rail::BottomRight, 19, 20, Outward::MinusY},
    }};
    return lines;
}

const Rect& CTableLayout::playingRect() {
    static const Rect rect{-26.35, 25.65, -7.15, 18.45};
    return rect;
}

int CTableLayout::pocketAt(double x, double y) const {
    for (int k = 0; k < kPocketCount; ++k)
        if (m_pockets[static_cast<std::size_t>(k)].contains(x, y))
            return k;
    return -1;
}

} // namespace desk
