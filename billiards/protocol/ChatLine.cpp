#include "billiards/protocol/ChatLine.h"

#include <algorithm>

namespace protocol {

namespace {

template <class S, class IO> void fixedFields(S& s, IO& io) {
    io.u32(s.m_nPersonId);
    io.i16(s.m_nSeatNo);
    io.i16(s.m_nWatchNo);
    io.text(s.m_sFontFace);
    io.i32(s.m_nColor);
    io.i16(s.m_nFontSize);
    for (auto& v : s.m_nStyle)
        io.i16(v);
    io.i16(s.m_nTextLength);
    io.pad(2);
}

// The longest prefix of at most `limit` bytes that ends on a whole GBK
// character and holds no zero byte.
std::string_view cutText(std::string_view gbk, std::size_t limit) {
    gbk = platform::gbk::fieldText(gbk.data(), gbk.size());
    std::size_t used = 0;
    while (used < gbk.size()) {
        const std::size_t len = platform::gbk::charLength(gbk, used);
        if (used + len > limit)
            break;
        used += len;
    }
    return gbk.substr(0, used);
}

} // namespace

void CChat_Line::SetText(std::string_view gbk) {
    m_sText = cutText(gbk, kChatMaxText);
    m_nTextLength = int16_t(m_sText.size());
}

std::vector<uint8_t> CChat_Line::Build() const {
    CChat_Line copy = *this;
    copy.SetText(m_sText); // the length field always tells the truth
    CFieldWriter w;
    fixedFields(static_cast<const CChat_Line&>(copy), w);
    auto& out = w.writer();
    out.bytes({reinterpret_cast<const uint8_t*>(copy.m_sText.data()), copy.m_sText.size()});
    out.u8(0);
    return w.take();
}

bool CChat_Line::Parse(std::span<const uint8_t> body) {
    if (body.size() < kChatFixedSize)
        return false;
    CFieldReader r(body.first(kChatFixedSize));
    fixedFields(*this, r);
    // The last byte is the terminator; a sender that forgot it loses one
    // character instead of making us read past the message.
    auto text = body.subspan(kChatFixedSize);
    if (!text.empty())
        text = text.first(text.size() - 1);
    m_sText = cutText({reinterpret_cast<const char*>(text.data()), text.size()}, kChatMaxText);
    return r.ok();
}

} // namespace protocol
