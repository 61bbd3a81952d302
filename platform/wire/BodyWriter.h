#pragma once
// Builds a message body field by field in big-endian order.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

class CBodyWriter {
public:
    CBodyWriter& u8(uint8_t v);
    CBodyWriter& u16(uint16_t v);
    CBodyWriter& i16(int16_t v) { return u16(static_cast<uint16_t>(v)); }
    CBodyWriter& u32(uint32_t v);
    CBodyWriter& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    // n zero bytes (padding and reserved fields).
    CBodyWriter& pad(std::size_t n);
    CBodyWriter& bytes(std::span<const uint8_t> data);
    // A fixed text field of n bytes: whole GBK characters up to n − 1 bytes,
    // zero-filled, always terminated.
    CBodyWriter& text(std::string_view gbk, std::size_t n);

    const std::vector<uint8_t>& data() const { return m_data; }
    std::vector<uint8_t> take() { return std::move(m_data); }
    std::size_t size() const { return m_data.size(); }

private:
    std::vector<uint8_t> m_data;
};

} // namespace platform
