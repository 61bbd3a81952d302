#pragma once
// Reads the big-endian fields of a message body. Every read is bounds-checked:
// a read past the end yields zeros, marks the reader failed and never touches
// memory outside the body, so a parser can read a whole layout and check
// ok() once at the end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class CBodyReader {
public:
    explicit CBodyReader(std::span<const uint8_t> body) : m_body(body) {}
    CBodyReader(const void* data, std::size_t size)
        : m_body(static_cast<const uint8_t*>(data), size) {}

    uint8_t u8();
    uint16_t u16();
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }

    // Skips padding or reserved bytes.
    void skip(std::size_t n);
    // Raw bytes; an empty span (and failure) when fewer remain.
    std::span<const uint8_t> bytes(std::size_t n);
    // A fixed text field of n bytes: its text up to the first zero byte.
    std::string text(std::size_t n);
    // A fixed text field copied into a C array that always ends up terminated.
    template <std::size_t N> void text(char (&dst)[N], std::size_t fieldSize = N) {
        copyText(dst, N, fieldSize);
    }

    bool ok() const { return !m_bFailed; }
    bool failed() const { return m_bFailed; }
    std::size_t position() const { return m_nPos; }
    std::size_t remaining() const { return m_body.size() - m_nPos; }
    bool atEnd() const { return m_nPos == m_body.size(); }

private:
    bool take(std::size_t n);
    void copyText(char* dst, std::size_t dstSize, std::size_t fieldSize);

    std::span<const uint8_t> m_body;
    std::size_t m_nPos = 0;
    bool m_bFailed = false;
};

} // namespace platform
