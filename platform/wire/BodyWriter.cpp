#include "platform/wire/BodyWriter.h"

#include "platform/text/GbkBytes.h"

namespace platform {

CBodyWriter& CBodyWriter::u8(uint8_t v) {
    m_data.push_back(v);
    return *this;
}

CBodyWriter& CBodyWriter::u16(uint16_t v) {
    m_data.push_back(uint8_t(v >> 8));
    m_data.push_back(uint8_t(v));
    return *this;
}

CBodyWriter& CBodyWriter::u32(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        m_data.push_back(uint8_t(v >> shift));
    return *this;
}

CBodyWriter& CBodyWriter::pad(std::size_t n) {
    m_data.insert(m_data.end(), n, 0);
    return *this;
}

CBodyWriter& CBodyWriter::bytes(std::span<const uint8_t> data) {
    m_data.insert(m_data.end(), data.begin(), data.end());
    return *this;
}

CBodyWriter& CBodyWriter::text(std::string_view gbk, std::size_t n) {
    const std::size_t at = m_data.size();
    m_data.resize(at + n);
    gbk::copyToField(reinterpret_cast<char*>(m_data.data() + at), n, gbk);
    return *this;
}

} // namespace platform
