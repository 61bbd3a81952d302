#pragma once
// A chat line: 3021 (keyed trailer, sent while a hand is under way), 3009
// (fixed trailer, otherwise) and 3819 (from the server only). A 48-byte
// fixed part describing the sender and the font, then the text and its zero.

#include "billiards/protocol/MessageBase.h"
#include "billiards/protocol/MessageTable.h"

#include <string>
#include <string_view>

namespace protocol {

inline constexpr std::size_t kChatFixedSize = 48;
inline constexpr std::size_t kChatMaxText = 399; // bytes, without the zero

struct CChat_Line {
    static constexpr std::size_t kMinBodySize = kChatFixedSize;

    uint16_t m_nType = msg::Chat_Line; // 3009, 3021 or 3819
    uint32_t m_nPersonId = 0;
    int16_t m_nSeatNo = 0;   // server seat of the sender
    int16_t m_nWatchNo = -1; // −1 for a player
    char m_sFontFace[20] = {};
    int32_t m_nColor = 0;
    int16_t m_nFontSize = 9;
    int16_t m_nStyle[5] = {};  // style flag 1, style flag 2, three further values
    int16_t m_nTextLength = 0; // as received; the text below is what counts
    std::string m_sText;       // GBK, at most kChatMaxText bytes, no zero inside

    // Cuts the text to kChatMaxText bytes of whole characters.
    void SetText(std::string_view gbk);

    std::vector<uint8_t> Build() const;
    // The text runs to the end of the body; its last byte is taken as the
    // terminator whatever it holds, and at most kChatMaxText bytes are kept.
    bool Parse(std::span<const uint8_t> body);
};

} // namespace protocol
