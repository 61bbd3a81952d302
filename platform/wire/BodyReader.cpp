#include "platform/wire/BodyReader.h"

#include "platform/text/GbkBytes.h"

#include <cstring>

namespace platform {

bool CBodyReader::take(std::size_t n) {
    if (m_bFailed || n > remaining()) {
        m_bFailed = true;
        return false;
    }
    return true;
}

uint8_t CBodyReader::u8() {
    if (!take(1))
        return 0;
    return m_body[m_nPos++];
}

uint16_t CBodyReader::u16() {
    if (!take(2))
        return 0;
    const uint16_t v = uint16_t(m_body[m_nPos] << 8 | m_body[m_nPos + 1]);
    m_nPos += 2;
    return v;
}

uint32_t CBodyReader::u32() {
    if (!take(4))
        return 0;
    const uint32_t v = uint32_t(m_body[m_nPos]) << 24 | uint32_t(m_body[m_nPos + 1]) << 16 |
                       uint32_t(m_body[m_nPos + 2]) << 8 | uint32_t(m_body[m_nPos + 3]);
    m_nPos += 4;
    return v;
}

void CBodyReader::skip(std::size_t n) {
    if (take(n))
        m_nPos += n;
}

std::span<const uint8_t> CBodyReader::bytes(std::size_t n) {
    if (!take(n))
        return {};
    auto out = m_body.subspan(m_nPos, n);
    m_nPos += n;
    return out;
}

std::string CBodyReader::text(std::size_t n) {
    const auto field = bytes(n);
    return std::string(gbk::fieldText(reinterpret_cast<const char*>(field.data()), field.size()));
}

void CBodyReader::copyText(char* dst, std::size_t dstSize, std::size_t fieldSize) {
    const auto field = bytes(fieldSize);
    gbk::copyToField(dst, dstSize,
                     gbk::fieldText(reinterpret_cast<const char*>(field.data()), field.size()));
}

} // namespace platform
