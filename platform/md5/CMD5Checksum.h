#pragma once
// MD5 (RFC 1321), the digest of every game message. Kept in-house so that
// the protocol has no dependency beyond the C++ library.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class CMD5Checksum {
public:
    using Digest = std::array<uint8_t, 16>;

    CMD5Checksum() { Reset(); }

    void Reset();
    void Update(const void* data, std::size_t length);
    void Update(std::span<const uint8_t> bytes) { Update(bytes.data(), bytes.size()); }
    void Update(std::string_view text) { Update(text.data(), text.size()); }

    // Completes the digest; the object starts over afterwards.
    Digest Final();

    static Digest GetMD5(const void* data, std::size_t length);
    static Digest GetMD5(std::string_view text) { return GetMD5(text.data(), text.size()); }
    static std::string ToHex(const Digest& digest);

private:
    void Transform(const uint8_t block[64]);

    uint32_t m_state[4];
    uint64_t m_nBits;
    uint8_t m_buffer[64];
};
