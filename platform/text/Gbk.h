#pragma once
// Conversion between GBK (code page 936), the encoding of every text in the
// records and on the wire, and Unicode. Texts stay GBK bytes everywhere and
// are converted only where they are drawn or typed.

#include "platform/text/GbkBytes.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace platform::gbk {

// Invalid or truncated sequences become U+FFFD; never fails.
std::string toUtf8(std::string_view gbk);
// Characters GBK cannot hold become '?'; never fails.
std::string fromUtf8(std::string_view utf8);

QString toUnicode(std::string_view gbk);
inline QString toUnicode(const QByteArray& gbk) {
    return toUnicode(std::string_view(gbk.constData(), std::size_t(gbk.size())));
}
QByteArray fromUnicode(const QString& text);
std::string fromUnicodeStd(const QString& text);

template <std::size_t N> QString fieldToUnicode(const char (&field)[N]) {
    return toUnicode(fieldText(field));
}

} // namespace platform::gbk
