#pragma once
// Reading big-endian values out of built bodies, independently of the
// library's own reader.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace protocol::testing {

inline uint32_t be(std::span<const uint8_t> b, std::size_t at, std::size_t width) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v = v << 8 | b[at + i];
    return v;
}
inline uint16_t u16At(std::span<const uint8_t> b, std::size_t at) {
    return uint16_t(be(b, at, 2));
}
inline int16_t i16At(std::span<const uint8_t> b, std::size_t at) {
    return int16_t(be(b, at, 2));
}
inline uint32_t u32At(std::span<const uint8_t> b, std::size_t at) {
    return be(b, at, 4);
}
inline int32_t i32At(std::span<const uint8_t> b, std::size_t at) {
    return int32_t(be(b, at, 4));
}

inline void putBE(std::vector<uint8_t>& b, std::size_t at, uint32_t v, std::size_t width) {
    for (std::size_t i = width; i-- > 0; v >>= 8)
        b[at + i] = uint8_t(v);
}
inline void putText(std::vector<uint8_t>& b, std::size_t at, const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        b[at + i] = uint8_t(s[i]);
}

} // namespace protocol::testing
