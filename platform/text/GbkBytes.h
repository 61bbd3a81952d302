#pragma once
// Byte-level handling of GBK text: no conversion, only the knowledge of
// where a character starts and ends, so that cutting a text to a field never
// leaves half a double-byte character behind.

#include <cstddef>
#include <string_view>

namespace platform::gbk {

// Length in bytes of the GBK character starting at s[i] (1 or 2). A lead
// byte with nothing after it counts as one byte.
inline std::size_t charLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    return (lead >= 0x81 && lead <= 0xFE && i + 1 < s.size()) ? 2 : 1;
}

// The text of a fixed field: everything up to the first zero byte, never
// reading past n bytes even when the field is not terminated.
inline std::string_view fieldText(const char* field, std::size_t n) {
    std::size_t len = 0;
    while (len < n && field[len] != '\0')
        ++len;
    return {field, len};
}

// Copies text into a fixed field of n bytes: at most n − 1 bytes of whole
// characters (stopping at a zero byte in the text), the rest zero-filled.
// Returns the number of text bytes copied.
inline std::size_t copyToField(char* dst, std::size_t n, std::string_view text) {
    if (n == 0)
        return 0;
    text = fieldText(text.data(), text.size());
    std::size_t used = 0;
    while (used < text.size()) {
        const std::size_t len = charLength(text, used);
        if (used + len > n - 1)
            break;
        used += len;
    }
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = i < used ? text[i] : '\0';
    return used;
}

template <std::size_t N> std::size_t copyToField(char (&dst)[N], std::string_view text) {
    return copyToField(dst, N, text);
}

template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

} // namespace platform::gbk
