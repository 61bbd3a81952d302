#include "billiards/protocol/MessageDispatch.h"
#include "billiards/protocol/MessageTable.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace protocol;

namespace {

TEST(MessageTable, TrailerExemptionsAreExactlyTheListedTypes) {
    std::set<int> expected = {3002, 3003, 3004, 3009, 3010, 3011, 3016,
                              3027, 3033, 3806, 3817, 3819, 3821};
    for (int k = 0; k <= 8; ++k)
        for (int d : {6, 7, 10, 11})
            expected.insert(3100 + 50 * k + d);
    for (int type = 0; type <= 0xFFFF; ++type)
        EXPECT_EQ(IsTrailerExempt(uint16_t(type)), expected.count(type) == 1) << type;
}

TEST(MessageTable, OnlyLoginLeaveSeatAndThePlainChatLineUseTheFixedTrailer) {
    std::size_t count = 0;
    const MessageInfo* rows = MessageRows(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bool fixed = rows[i].type == 3001 || rows[i].type == 3005 || rows[i].type == 3009;
        EXPECT_EQ(rows[i].clientTrailer == TrailerKind::Fixed, fixed) << rows[i].type;
    }
}

TEST(MessageTable, NumbersAreUniqueAndAscending) {
    std::size_t count = 0;
    const MessageInfo* rows = MessageRows(count);
    ASSERT_EQ(count, 24u + 18u + 36u + 4u);
    for (std::size_t i = 1; i < count; ++i)
        EXPECT_LT(rows[i - 1].type, rows[i].type);
}

TEST(MessageTable, NamesFollowTheDirection) {
    EXPECT_STREQ(MessageName(3026, true), "CGame_End_Server");
    EXPECT_STREQ(MessageName(3026, false), "CExit_Game");
    EXPECT_STREQ(MessageName(3027, true), "CPerson_Leave_Server");
    EXPECT_STREQ(MessageName(3027, false), "CExit_Watch");
    EXPECT_STREQ(MessageName(618), "CCrash_End_InPlay_Server");
    EXPECT_STREQ(MessageName(617, false), "CCrash_End_InPlay");
    EXPECT_STREQ(MessageName(3306), "CPerson_List_Server");
    EXPECT_STREQ(MessageName(3511), "CAvatar_Item_Server");
    EXPECT_STREQ(MessageName(617, true), "Crash_End_InPlay"); // no server form
    EXPECT_STREQ(MessageName(600), "");
    EXPECT_EQ(msg::Person_List_3, 3256);
    EXPECT_EQ(msg::Avatar_Item_8, 3511);
}

TEST(MessageTable, Groups) {
    for (uint16_t t : {3009, 3021, 3819})
        EXPECT_EQ(GroupOf(t), MessageGroup::Chat) << t;
    for (uint16_t t = 601; t <= 646; ++t) {
        if (FindMessage(t)) {
            EXPECT_EQ(GroupOf(t), MessageGroup::Billiards) << t;
        }
    }
    for (uint16_t t : {3001, 3010, 3011, 3040, 3106, 3806, 3821})
        EXPECT_EQ(GroupOf(t), MessageGroup::Table) << t;
    EXPECT_EQ(GroupOf(3012), MessageGroup::Unknown);
}

TEST(MessageTable, PersonFamilies) {
    EXPECT_EQ(PersonFamilyOf(3106), 0);
    EXPECT_EQ(PersonFamilyOf(3161), 1);
    EXPECT_EQ(PersonFamilyOf(3257), 3);
    EXPECT_EQ(PersonFamilyOf(3510), 8);
    for (uint16_t t : {3100, 3105, 3108, 3112, 3512, 3556, 3806})
        EXPECT_EQ(PersonFamilyOf(t), -1) << t;
}

TEST(MessageTable, KeepAliveAndInGameFlags) {
    for (uint16_t t : {602, 607, 608, 609, 615, 616, 617, 621, 622, 623, 625, 3026, 3031})
        EXPECT_EQ(SendFlagsOf(t), KeepAlive | InGame) << t;
    for (uint16_t t : {3011, 3021, 3027, 3032, 3040})
        EXPECT_EQ(SendFlagsOf(t), KeepAlive) << t;
    EXPECT_EQ(SendFlagsOf(3005), InGame);
    for (uint16_t t : {3001, 3009})
        EXPECT_EQ(SendFlagsOf(t), 0) << t;
}

// The body sizes of the catalogue, by direction.
TEST(MessageTable, BodySizesOfTheCatalogue) {
    const struct {
        uint16_t type;
        uint32_t client, server; // 0: that direction does not exist
    } sizes[] = {
        {601, 0, 6},    {602, 4, 4},    {605, 0, 1096}, {607, 8, 8},      {608, 28, 28},
        {609, 1096, 0}, {610, 0, 1100}, {615, 8, 8},    {616, 28, 28},    {617, 1100, 0},
        {618, 0, 1096}, {621, 16, 16},  {622, 20, 20},  {623, 4, 0},      {624, 0, 6},
        {625, 8, 0},    {626, 0, 12},   {631, 0, 44},   {641, 0, 10},     {642, 0, 1104},
        {643, 0, 1120}, {644, 0, 1108}, {645, 0, 1124}, {646, 0, 1104},   {3001, 16, 0},
        {3002, 0, 8},   {3003, 0, 12},  {3004, 0, 8},   {3005, 8, 0},     {3009, 48, 48},
        {3010, 0, 28},  {3016, 0, 8},   {3021, 48, 48}, {3026, 8, 8},     {3027, 12, 12},
        {3031, 8, 8},   {3032, 16, 16}, {3033, 0, 12},  {3040, 228, 228}, {3041, 0, 20},
        {3045, 0, 8},   {3107, 0, 256}, {3257, 0, 264}, {3307, 0, 228},   {3357, 0, 236},
        {3407, 0, 228}, {3111, 0, 176}, {3817, 0, 48},  {3819, 0, 48},    {3821, 0, 12},
    };
    for (const auto& s : sizes) {
        EXPECT_EQ(ClientMinBody(s.type), s.client) << s.type;
        EXPECT_EQ(ServerMinBody(s.type), s.server) << s.type;
    }
    // Lists hold any number of whole records.
    for (uint16_t t : {3106, 3110, 3806})
        EXPECT_EQ(ServerMinBody(t), 0u) << t;
}

// Every fixed-size message builds exactly its catalogue size, in both
// directions, through the dispatch the type table generates.
TEST(MessageTable, DefaultMessagesBuildTheirCatalogueSize) {
    std::size_t count = 0;
    const MessageInfo* rows = MessageRows(count);
    const auto sizeOf = [](const auto& m) { return m.Build().size(); };
    for (std::size_t i = 0; i < count; ++i) {
        const MessageInfo& r = rows[i];
        const std::vector<uint8_t> zeros(2000, 0);
        for (const bool fromServer : {true, false}) {
            const uint32_t expected = fromServer ? r.serverMinBody : r.clientMinBody;
            std::size_t built = 0;
            const auto result = fromServer
                                    ? DispatchFromServer(r.type, std::span(zeros).first(expected),
                                                         [&](const auto& m) { built = sizeOf(m); })
                                    : DispatchFromClient(r.type, std::span(zeros).first(expected),
                                                         [&](const auto& m) { built = sizeOf(m); });
            if (*(fromServer ? r.serverName : r.clientName) == '\0') {
                EXPECT_EQ(result, DispatchResult::Unknown) << r.type;
                continue;
            }
            ASSERT_EQ(result, DispatchResult::Taken) << r.type << " " << fromServer;
            const bool chat = r.group == MessageGroup::Chat;
            // A chat line's text always ends with its zero.
            EXPECT_EQ(built, expected + (chat ? 1 : 0)) << r.type << " " << fromServer;
        }
    }
}

} // namespace
