#pragma once
// The two ways the program reads a value out of a fixed-size buffer: the text
// is cut to what fits (buffer size − 1, the last byte holds the terminator),
// and numbers are read from that text the way the C library's atoi reads them.
// Header-only, no Qt: used by the INI reader, the resource packs and the
// settings store alike.

#include "platform/text/GbkBytes.h"

#include <climits>
#include <cstddef>
#include <string_view>

namespace platform {

// The part of `text` that a buffer of `bufferSize` bytes holds: at most
// bufferSize − 1 bytes, and never half of a GBK double-byte character
// (a cut that would split one drops the whole character).
inline std::string_view boundedText(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    std::size_t used = 0;
    while (used < text.size()) {
        const std::size_t len = gbk::charLength(text, used);
        if (used + len > bufferSize - 1)
            break;
        used += len;
    }
    return text.substr(0, used);
}

// Decimal value of a text as atoi reads it: leading blanks, an optional sign,
// then digits up to the first non-digit. No digits gives 0. Out-of-range
// values saturate instead of overflowing.
inline int decimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace platform
