#include "platform/text/Gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace platform::gbk {
namespace {

std::size_t utf8SequenceLength(unsigned char lead, std::size_t left) {
    const std::size_t len = lead < 0x80    ? 1
                            : lead >= 0xF0 ? 4
                            : lead >= 0xE0 ? 3
                            : lead >= 0xC0 ? 2
                                           : 1;
    return std::min(len, left);
}

// One converter per direction and thread: iconv descriptors carry state and
// opening one costs far more than a short conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts `in`; on an invalid, unmappable or incomplete sequence writes
    // `bad` and resumes after it (one byte, or one whole UTF-8 sequence when
    // the input is UTF-8, so each character GBK cannot hold costs one `bad`).
    std::string run(std::string_view in, std::string_view bad, bool utf8Input) {
        std::string out;
        if (!valid())
            return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[512];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            const std::size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, std::size_t(dst - buf));
            if (r == std::size_t(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL: replace one byte and go on.
                out.append(bad);
                const std::size_t skip =
                    utf8Input ? utf8SequenceLength(static_cast<unsigned char>(*src), srcLeft) : 1;
                src += skip;
                srcLeft -= skip;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf, std::size_t(dst - buf));
        return out;
    }

private:
    iconv_t m_cd;
};

Converter& toUtf8Converter() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

Converter& fromUtf8Converter() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

} // namespace

std::string toUtf8(std::string_view gbk) {
    return toUtf8Converter().run(gbk, "\xEF\xBF\xBD", false);
}

std::string fromUtf8(std::string_view utf8) {
    return fromUtf8Converter().run(utf8, "?", true);
}

QString toUnicode(std::string_view gbk) {
    const std::string utf8 = toUtf8(gbk);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string fromUnicodeStd(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return fromUtf8(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QByteArray fromUnicode(const QString& text) {
    const std::string s = fromUnicodeStd(text);
    return QByteArray(s.data(), qsizetype(s.size()));
}

} // namespace platform::gbk
