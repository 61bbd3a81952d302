#include "billiards/protocol/PersonMessages.h"
#include "billiards/protocol/PersonRecords.h"
#include "platform/text/Gbk.h"
#include "support/Bytes.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace protocol;
using namespace protocol::testing;

namespace {

using Get = std::function<int64_t(const TablePerson&)>;

struct Placed {
    std::size_t offset;
    std::size_t width; // 2 or 4
    uint32_t wire;     // what is written there
    int64_t expected;  // what the record then holds
    Get get;
};

#define FIELD(name) [](const TablePerson& p) { return int64_t(p.name); }

std::vector<uint8_t> recordWith(std::size_t size, const std::vector<Placed>& fields) {
    std::vector<uint8_t> b(size, 0);
    putText(b, 4, "user_name");
    putText(b, 38, "nick");
    for (const auto& f : fields)
        putBE(b, f.offset, f.wire, f.width);
    return b;
}

void expectFields(PersonFormat format, std::size_t size, const std::vector<Placed>& fields) {
    const auto bytes = recordWith(size, fields);
    CPersonRecord r;
    ASSERT_TRUE(r.Parse(format, bytes));
    ASSERT_FALSE(r.Parse(format, std::span(bytes).first(size - 1)));
    ASSERT_TRUE(r.Parse(format, bytes));
    const TablePerson p = r.MakePerson(0);
    EXPECT_STREQ(p.username, "user_name");
    EXPECT_STREQ(p.nickname, "nick");
    for (const auto& f : fields)
        EXPECT_EQ(f.get(p), f.expected) << "offset " << f.offset;
    // Building gives back the same bytes for every carried field.
    const auto built = r.Build();
    ASSERT_EQ(built.size(), size);
    for (const auto& f : fields) {
        // A group id keeps only its low 16 bits, so only those come back.
        const uint32_t mask = f.width == 4 && uint32_t(f.expected) != f.wire ? 0xFFFF : 0xFFFFFFFF;
        EXPECT_EQ(be(built, f.offset, f.width) & mask, f.wire & mask) << "offset " << f.offset;
    }
}

TEST(PersonRecords, Full256) {
    expectFields(PersonFormat::Full256, 256,
                 {{0, 4, 0x80000001, 0x80000001, FIELD(id)},
                  {72, 2, 1, 1, FIELD(sex)},
                  {74, 2, 12, 12, FIELD(headpicid)},
                  {76, 2, 1, 1, FIELD(ismember)},
                  {78, 2, 3, 3, FIELD(level)},
                  {80, 2, 2, 2, FIELD(priority)},
                  {82, 2, 0x8001, 0x8001, FIELD(forbidtype)},
                  {84, 4, 1000, 1000, FIELD(money)},
                  {88, 4, 2000, 2000, FIELD(wealth)},
                  {92, 4, 0x1234FFFE, -2, FIELD(groupid)}, // low 16 bits, sign-extended
                  {144, 4, 0xC0A80001, int32_t(0xC0A80001), FIELD(ip)},
                  {160, 4, 0x0A000001, 0x0A000001, FIELD(proxyip)},
                  {164, 2, 5, 5, FIELD(networkspeed)},
                  {168, 4, 40, 40, FIELD(link_num)},
                  {172, 4, 4, 4, FIELD(break_num)},
                  {176, 4, 30, 30, FIELD(startgame_num)},
                  {180, 4, 3, 3, FIELD(forceexit_num)},
                  {188, 2, 1, 1, FIELD(is_permit_watch)},
                  {192, 4, 1500, 1500, FIELD(gamescore)},
                  {196, 4, 20, 20, FIELD(winnum)},
                  {200, 4, 10, 10, FIELD(losenum)},
                  {204, 4, 2, 2, FIELD(equalnum)},
                  {208, 2, 6, 6, FIELD(score_level)},
                  {212, 4, 99, 99, FIELD(teamid)},
                  {216, 2, 4, 4, FIELD(status)},
                  {218, 2, 7, 7, FIELD(deskno)},
                  {220, 2, 1, 1, FIELD(seatno)},
                  {222, 2, 0xFFFF, -1, FIELD(watchno)},
                  {224, 4, 0xB, 0xB, FIELD(extra_b)},
                  {228, 4, 0xA, 0xA, FIELD(extra_a)},
                  {232, 4, 0xC, 0xC, FIELD(extra_c)}});
}

TEST(PersonRecords, Wide264) {
    expectFields(PersonFormat::Wide264, 264,
                 {{0, 4, 17, 17, FIELD(id)},
                  {82, 2, 0xC0, 0xC0, FIELD(forbidtype)}, // no nickname rule here
                  {84, 4, 1000, 1000, FIELD(money)},
                  {92, 2, 0xFFFD, -3, FIELD(extra_d)},
                  {94, 2, 4, 4, FIELD(extra_e)},
                  {96, 2, 5, 5, FIELD(extra_f)},
                  {100, 4, 0x00010002, 2, FIELD(groupid)},
                  {152, 4, 1, 1, FIELD(ip)},
                  {168, 4, 2, 2, FIELD(proxyip)},
                  {172, 2, 3, 3, FIELD(networkspeed)},
                  {176, 4, 4, 4, FIELD(link_num)},
                  {188, 4, 8, 8, FIELD(forceexit_num)},
                  {192, 4, 777, 777, FIELD(bubble_points)},
                  {196, 2, 1, 1, FIELD(is_permit_watch)},
                  {212, 4, 9, 9, FIELD(equalnum)},
                  {216, 2, 10, 10, FIELD(score_level)},
                  {220, 4, 11, 11, FIELD(teamid)},
                  {224, 2, 5, 5, FIELD(status)},
                  {230, 2, 2, 2, FIELD(watchno)},
                  {232, 4, 12, 12, FIELD(extra_b)},
                  {240, 4, 13, 13, FIELD(extra_c)}});
}

TEST(PersonRecords, Short228) {
    expectFields(PersonFormat::Short228, 228,
                 {{88, 4, 1, 1, FIELD(ip)},
                  {104, 4, 2, 2, FIELD(proxyip)},
                  {108, 2, 3, 3, FIELD(networkspeed)},
                  {110, 2, 0, 0, FIELD(flag_a)},
                  {112, 2, 0, 0, FIELD(flag_b)},
                  {114, 2, 0, 0, FIELD(flag_c)},
                  {116, 2, 7, 7, FIELD(flag_d)},
                  {118, 2, 1, 1, FIELD(is_permit_watch)},
                  {120, 4, 50, 50, FIELD(gamescore)},
                  {136, 2, 4, 4, FIELD(status)},
                  {140, 2, 1, 1, FIELD(seatno)},
                  {144, 4, 8, 8, FIELD(extra_b)},
                  {152, 4, 9, 9, FIELD(extra_c)},
                  {176, 4, 0xFFFF8000, -32768, FIELD(groupid)}});
}

TEST(PersonRecords, Mid236) {
    expectFields(PersonFormat::Mid236, 236,
                 {{108, 2, 3, 3, FIELD(networkspeed)},
                  {110, 2, 0, 0, FIELD(flag_e)},
                  {112, 2, 2, 2, FIELD(flag_a)},
                  {116, 2, 3, 3, FIELD(flag_c)},
                  {118, 2, 1, 1, FIELD(is_permit_watch)},
                  {132, 4, 6, 6, FIELD(equalnum)},
                  {136, 2, 9, 9, FIELD(flag_f)},
                  {138, 2, 0xFFFF, -1, FIELD(forceexit_num)}, // 16-bit counts here
                  {140, 2, 300, 300, FIELD(break_num)},
                  {142, 2, 4, 4, FIELD(status)},
                  {148, 2, 3, 3, FIELD(watchno)},
                  {152, 4, 8, 8, FIELD(extra_b)},
                  {160, 4, 9, 9, FIELD(extra_c)},
                  {184, 4, 5, 5, FIELD(groupid)}});
}

TEST(PersonRecords, Alt228) {
    expectFields(PersonFormat::Alt228, 228,
                 {{110, 2, 0, 0, FIELD(flag_a)},
                  {114, 2, 0, 0, FIELD(flag_c)},
                  {116, 2, 1, 1, FIELD(is_permit_watch)},
                  {136, 2, 4, 4, FIELD(status)},
                  {142, 2, 2, 2, FIELD(watchno)},
                  {176, 4, 5, 5, FIELD(groupid)},
                  {214, 2, 1, 1, FIELD(ismember)},
                  {216, 2, 8, 8, FIELD(level)},
                  {220, 4, 1000, 1000, FIELD(money)},
                  {224, 4, 2000, 2000, FIELD(wealth)}});
}

TEST(PersonRecords, FamiliesUseTheirFormats) {
    const struct {
        int k;
        std::size_t size;
    } cases[] = {{0, 256}, {1, 256}, {2, 256}, {3, 264}, {4, 228},
                 {5, 236}, {6, 228}, {7, 256}, {8, 256}};
    for (const auto& c : cases)
        EXPECT_EQ(PersonRecordSize(PersonFormatOfFamily(c.k)), c.size) << c.k;
}

TEST(PersonRecords, NicknameRuleOfTheFullFormat) {
    const struct {
        const char* nick;
        uint16_t forbid;
        PersonFormat format;
        const char* shown;
    } cases[] = {
        {"abcde", 0x00C0, PersonFormat::Full256, "user_name"},
        {"abcde", 0x80FF, PersonFormat::Full256, "user_name"},
        {"abcd", 0x00C0, PersonFormat::Full256, "abcd"},   // too short
        {"abcde", 0x00BF, PersonFormat::Full256, "abcde"}, // low byte below 192
        {"abcde", 0xC000, PersonFormat::Full256, "abcde"}, // only the low byte counts
        {"abcde", 0x00C0, PersonFormat::Wide264, "abcde"}, // other formats copy as they are
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> b(PersonRecordSize(c.format), 0);
        putText(b, 4, "user_name");
        putText(b, 38, c.nick);
        putBE(b, 82, c.forbid, 2);
        CPersonRecord r;
        ASSERT_TRUE(r.Parse(c.format, b));
        EXPECT_STREQ(r.m_Person.nickname, c.shown) << c.nick << " " << c.forbid;
    }
}

TEST(PersonRecords, TextsAreCutToTheirFieldsAndTerminated) {
    std::vector<uint8_t> b(256, 'N'); // every text field filled to its last byte
    CPersonRecord r;
    ASSERT_TRUE(r.Parse(PersonFormat::Full256, b));
    EXPECT_EQ(std::strlen(r.m_Person.username), 33u);
    EXPECT_EQ(std::strlen(r.m_Person.school_name), 33u);
    EXPECT_EQ(std::strlen(r.m_Person.extra_text), 19u);

    // A double-byte character across the cut is dropped whole.
    std::vector<uint8_t> c(256, 0);
    const std::string name = std::string(32, 'a') + platform::gbk::fromUtf8("中");
    putText(c, 4, name);
    ASSERT_TRUE(r.Parse(PersonFormat::Full256, c));
    EXPECT_EQ(std::strlen(r.m_Person.username), 32u);
}

TEST(PersonRecords, UpdateKeepsWhatTheFormatDoesNotCarry) {
    TablePerson known;
    known.id = 5;
    known.money = 123; // not in the short format
    known.ismyfriend = 1;
    known.bubble_points = 9; // only in the wide format
    std::vector<uint8_t> b(228, 0);
    putBE(b, 0, 5, 4);
    putBE(b, 74, 13, 2);
    putBE(b, 136, 4, 2);
    CPersonRecord r;
    ASSERT_TRUE(r.Parse(PersonFormat::Short228, b));
    r.ApplyTo(known, 5);
    EXPECT_EQ(known.money, 123);
    EXPECT_EQ(known.bubble_points, 9);
    EXPECT_EQ(known.status, 4);
    EXPECT_EQ(known.headpicid, 3); // 13 modulo 5 head icons
    EXPECT_EQ(known.ismyfriend, 0);

    // A new record starts from the initial values.
    const TablePerson fresh = r.MakePerson(0);
    EXPECT_EQ(fresh.headpicid, 13); // no icons loaded: kept
    EXPECT_EQ(fresh.money, 0);
    EXPECT_EQ(fresh.flag_e, -1);
    EXPECT_EQ(fresh.flag_f, -1);

    putBE(b, 74, 0xFFFF, 2); // a negative number still selects an icon
    ASSERT_TRUE(r.Parse(PersonFormat::Short228, b));
    EXPECT_EQ(r.MakePerson(5).headpicid, 4);
}

TEST(PersonMessages, ListsReadOnlyWholeRecords) {
    const struct {
        uint16_t type;
        std::size_t record;
    } cases[] = {{3106, 256}, {3256, 264}, {3306, 228}, {3356, 236}, {3406, 228}, {3506, 256}};
    for (const auto& c : cases) {
        std::vector<uint8_t> body(c.record * 2 + c.record - 1, 0);
        putBE(body, 0, 1, 4);
        putBE(body, c.record, 2, 4);
        putBE(body, 2 * c.record, 3, 4); // the partial third record
        CPerson_List_Server list;
        list.m_nType = c.type;
        ASSERT_TRUE(list.Parse(body));
        ASSERT_EQ(list.m_Persons.size(), 2u) << c.type;
        EXPECT_EQ(list.m_Persons[1].m_Person.id, 2u);
        EXPECT_EQ(list.Build().size(), 2 * c.record);
    }
    CAvatar_List_Server avatars;
    ASSERT_TRUE(avatars.Parse(std::vector<uint8_t>(176 * 3 + 100, 0)));
    EXPECT_EQ(avatars.m_Avatars.size(), 3u);
    CReferee_List_Server referees;
    ASSERT_TRUE(referees.Parse(std::vector<uint8_t>(47, 0)));
    EXPECT_TRUE(referees.m_Referees.empty());
    CWatcher_Arrive_Server watcher;
    watcher.m_nType = 3256;
    EXPECT_FALSE(watcher.Parse(std::vector<uint8_t>(263, 0)));
    EXPECT_TRUE(watcher.Parse(std::vector<uint8_t>(264, 0)));
}

TEST(PersonMessages, RefereeBecomesATablePerson) {
    for (const int16_t kind : {1, 2}) {
        std::vector<uint8_t> b(48, 0);
        putBE(b, 0, 900, 4);
        putText(b, 4, "judge");
        putBE(b, 38, uint32_t(kind), 2);
        putBE(b, 40, 5, 2);
        putBE(b, 42, 3, 2);
        putBE(b, 44, 2, 2);
        CReferee_Arrive_Server m;
        ASSERT_TRUE(m.Parse(b));
        const TablePerson p = m.m_Referee.ToTablePerson();
        EXPECT_EQ(p.id, 900u);
        EXPECT_STREQ(p.username, "judge");
        EXPECT_EQ(platform::gbk::toUtf8(p.nickname), kind == 1 ? "主裁判" : "副裁判");
        EXPECT_EQ(p.priority, kind == 1 ? 2 : 3);
        EXPECT_EQ(p.sex, 1);
        EXPECT_EQ(p.headpicid, 1);
        EXPECT_EQ(p.link_num, 1);
        EXPECT_EQ(p.seatno, 0);
        EXPECT_EQ(p.status, 5);
        EXPECT_EQ(p.deskno, 3);
        EXPECT_EQ(p.watchno, 2);
        EXPECT_EQ(p.flag_d, -1);
        EXPECT_EQ(p.money, 0);
        EXPECT_EQ(m.Build(), b);
    }
}

TEST(PersonMessages, AvatarFileNameIsBounded) {
    std::vector<uint8_t> b(176, 0);
    putBE(b, 0, 42, 4);
    for (std::size_t i = 100; i < 172; ++i)
        b[i] = 'p'; // no terminator inside the field
    putBE(b, 172, 0x0102, 2);
    CAvatar_Item_Server m;
    ASSERT_TRUE(m.Parse(b));
    EXPECT_EQ(m.m_Avatar.m_nPersonId, 42u);
    EXPECT_EQ(std::strlen(m.m_Avatar.m_sFileName), 71u);
    EXPECT_EQ(m.m_Avatar.m_nValue172, 0x0102);
}

} // namespace
