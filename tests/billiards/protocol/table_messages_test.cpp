#include "billiards/protocol/TableMessages.h"
#include "support/Bytes.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace protocol;
using namespace protocol::testing;

namespace {

TEST(TableMessages, ConnectionKeyFields) {
    std::vector<uint8_t> body(28, 0xEE); // fields without a name are noise
    putBE(body, 8, 0x11223344, 4);
    putBE(body, 16, 0x00000100, 4);
    putBE(body, 24, 0x0000FFFF, 4);
    CConnection_Key_Server m;
    ASSERT_TRUE(m.Parse(body));
    EXPECT_EQ(m.m_nKey, 0x11223344u);
    EXPECT_EQ(m.m_nSendCounter, 0x100u);
    EXPECT_EQ(m.m_nLastSeq, 0xFFFFu);
    EXPECT_FALSE(m.Parse(std::span(body).first(27)));
}

TEST(TableMessages, ClientLayouts) {
    CExit_Answer a;
    a.m_nPersonId = 0x01020304;
    a.m_nSeatNo = 1;
    a.m_nAskerId = 0x0A0B0C0D;
    a.m_nAskerSeatNo = 0;
    a.m_nAnswer = 1;
    const auto ab = a.Build();
    ASSERT_EQ(ab.size(), 16u);
    EXPECT_EQ(u32At(ab, 0), 0x01020304u);
    EXPECT_EQ(i16At(ab, 4), 1);
    EXPECT_EQ(u32At(ab, 8), 0x0A0B0C0Du);
    EXPECT_EQ(i16At(ab, 14), 1);

    CExit_Watch w;
    w.m_nPersonId = 5;
    w.m_nSeatNo = 3;
    w.m_nWatchNo = 2;
    const auto wb = w.Build();
    ASSERT_EQ(wb.size(), 12u);
    EXPECT_EQ(u16At(wb, 4), 3);
    EXPECT_EQ(i16At(wb, 6), 2);
    EXPECT_EQ(i16At(wb, 8), 0);

    CExit_Request r;
    r.m_nPersonId = 5;
    r.m_nSeatNo = 2;
    EXPECT_EQ(r.Build(), (std::vector<uint8_t>{0, 0, 0, 5, 0, 2, 0, 1}));
}

TEST(TableMessages, ServerFormsOfSharedNumbers) {
    // 3026 from the server: the person id may be negative (no person named).
    CGame_End_Server e;
    ASSERT_TRUE(e.Parse(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 7}));
    EXPECT_EQ(e.m_nPersonId, -1);
    EXPECT_EQ(e.m_nReason, 7);
    EXPECT_EQ(CGame_End_Server::kType, CExit_Game::kType);
    EXPECT_EQ(CPerson_Leave_Server::kType, CExit_Watch::kType);
}

TEST(TableMessages, MagicActionTextIsBoundedAndTerminated) {
    std::vector<uint8_t> body(228, 'A'); // a text field without its zero
    putBE(body, 20, 0xFFFFFFFF, 4);
    putBE(body, 26, 0x7FFF, 2); // a lying length
    CMagic_Action m;
    ASSERT_TRUE(m.Parse(body));
    EXPECT_EQ(m.m_nTargetId, -1);
    EXPECT_EQ(std::strlen(m.m_sText), 199u);

    CMagic_Action out;
    out.SetText(std::string(300, 'b'));
    EXPECT_EQ(out.m_nTextLength, 199);
    const auto built = out.Build();
    ASSERT_EQ(built.size(), 228u);
    EXPECT_EQ(i16At(built, 26), 199);
    EXPECT_EQ(built[28 + 198], 'b');
    EXPECT_EQ(built[28 + 199], 0);
}

TEST(TableMessages, LoginIsSixteenBytes) {
    CTable_Login l;
    l.m_nPersonId = 1;
    l.m_nDeskNo = 2;
    l.m_nSeatNo = 3;
    l.m_nWatchNo = 4;
    l.m_nServiceType = 5;
    l.m_nGameType = 6;
    l.m_nSubType = 7;
    EXPECT_EQ(l.Build(), (std::vector<uint8_t>{0, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7}));
}

} // namespace
