#include "billiards/protocol/PersonRecords.h"

#include "platform/text/GbkBytes.h"

#include <cstring>

namespace protocol {

namespace {

enum class F : uint8_t {
    id,
    username,
    nickname,
    sex,
    headpicid,
    ismember,
    level,
    priority,
    forbidtype,
    money,
    wealth,
    groupid,
    school_name,
    ip,
    proxyip,
    networkspeed,
    link_num,
    break_num,
    startgame_num,
    forceexit_num,
    bubble_points,
    is_permit_watch,
    gamescore,
    winnum,
    losenum,
    equalnum,
    score_level,
    teamid,
    status,
    deskno,
    seatno,
    watchno,
    extra_a,
    extra_b,
    extra_c,
    extra_text,
    extra_d,
    extra_e,
    extra_f,
    flag_a,
    flag_b,
    flag_c,
    flag_d,
    flag_e,
    flag_f,
};

// How a field is laid out on the wire.
enum class W : uint8_t {
    U32,
    I32,
    I16,
    U16,
    Low16, // i32 on the wire of which only the low 16 bits count, sign-extended
    Text,
};

struct Slot {
    F field;
    uint16_t offset;
    W wire;
    uint8_t width = 0; // bytes of a text field on the wire
};

// Where a field lives in TablePerson.
struct Ref {
    enum Kind { U32, I32, I16, U16, Text } kind;
    void* p;
    std::size_t size = 0; // text fields: the array size
};

template <std::size_t N> Ref textRef(char (&a)[N]) {
    return {Ref::Text, a, N};
}

Ref ref(TablePerson& t, F f) {
    switch (f) {
    case F::id:
        return {Ref::U32, &t.id};
    case F::username:
        return textRef(t.username);
    case F::nickname:
        return textRef(t.nickname);
    case F::sex:
        return {Ref::I16, &t.sex};
    case F::headpicid:
        return {Ref::I16, &t.headpicid};
    case F::ismember:
        return {Ref::I16, &t.ismember};
    case F::level:
        return {Ref::I16, &t.level};
    case F::priority:
        return {Ref::I16, &t.priority};
    case F::forbidtype:
        return {Ref::U16, &t.forbidtype};
    case F::money:
        return {Ref::I32, &t.money};
    case F::wealth:
        return {Ref::I32, &t.wealth};
    case F::groupid:
        return {Ref::I32, &t.groupid};
    case F::school_name:
        return textRef(t.school_name);
    case F::ip:
        return {Ref::I32, &t.ip};
    case F::proxyip:
        return {Ref::I32, &t.proxyip};
    case F::networkspeed:
        return {Ref::I16, &t.networkspeed};
    case F::link_num:
        return {Ref::I32, &t.link_num};
    case F::break_num:
        return {Ref::I32, &t.break_num};
    case F::startgame_num:
        return {Ref::I32, &t.startgame_num};
    case F::forceexit_num:
        return {Ref::I32, &t.forceexit_num};
    case F::bubble_points:
        return {Ref::I32, &t.bubble_points};
    case F::is_permit_watch:
        return {Ref::I16, &t.is_permit_watch};
    case F::gamescore:
        return {Ref::I32, &t.gamescore};
    case F::winnum:
        return {Ref::I32, &t.winnum};
    case F::losenum:
        return {Ref::I32, &t.losenum};
    case F::equalnum:
        return {Ref::I32, &t.equalnum};
    case F::score_level:
        return {Ref::I16, &t.score_level};
    case F::teamid:
        return {Ref::I32, &t.teamid};
    case F::status:
        return {Ref::I16, &t.status};
    case F::deskno:
        return {Ref::I16, &t.deskno};
    case F::seatno:
        return {Ref::I16, &t.seatno};
    case F::watchno:
        return {Ref::I16, &t.watchno};
    case F::extra_a:
        return {Ref::I32, &t.extra_a};
    case F::extra_b:
        return {Ref::I32, &t.extra_b};
    case F::extra_c:
        return {Ref::I32, &t.extra_c};
    case F::extra_text:
        return textRef(t.extra_text);
    case F::extra_d:
        return {Ref::I16, &t.extra_d};
    case F::extra_e:
        return {Ref::I16, &t.extra_e};
    case F::extra_f:
        return {Ref::I16, &t.extra_f};
    case F::flag_a:
        return {Ref::I16, &t.flag_a};
    case F::flag_b:
        return {Ref::I16, &t.flag_b};
    case F::flag_c:
        return {Ref::I16, &t.flag_c};
    case F::flag_d:
        return {Ref::I16, &t.flag_d};
    case F::flag_e:
        return {Ref::I16, &t.flag_e};
    case F::flag_f:
        return {Ref::I16, &t.flag_f};
    }
    return {Ref::I32, &t.extra_c}; // unreachable: every field is listed
}

int64_t load(const Ref& r) {
    switch (r.kind) {
    case Ref::U32:
        return *static_cast<const uint32_t*>(r.p);
    case Ref::I32:
        return *static_cast<const int32_t*>(r.p);
    case Ref::I16:
        return *static_cast<const int16_t*>(r.p);
    case Ref::U16:
        return *static_cast<const uint16_t*>(r.p);
    case Ref::Text:
        break;
    }
    return 0;
}

void store(const Ref& r, int64_t v) {
    switch (r.kind) {
    case Ref::U32:
        *static_cast<uint32_t*>(r.p) = uint32_t(v);
        break;
    case Ref::I32:
        *static_cast<int32_t*>(r.p) = int32_t(v);
        break;
    case Ref::I16:
        *static_cast<int16_t*>(r.p) = int16_t(v);
        break;
    case Ref::U16:
        *static_cast<uint16_t*>(r.p) = uint16_t(v);
        break;
    case Ref::Text:
        break;
    }
}

// Fields every format starts with.
#define PERSON_HEAD                                                                                \
    {F::id, 0, W::U32}, {F::username, 4, W::Text, 34}, {F::nickname, 38, W::Text, 34},             \
        {F::sex, 72, W::I16}, {                                                                    \
        F::headpicid, 74, W::I16                                                                   \
    }

const Slot kFull256[] = {
    PERSON_HEAD,
    {F::ismember, 76, W::I16},
    {F::level, 78, W::I16},
    {F::priority, 80, W::I16},
    {F::forbidtype, 82, W::U16},
    {F::money, 84, W::I32},
    {F::wealth, 88, W::I32},
    {F::groupid, 92, W::Low16},
    {F::school_name, 96, W::Text, 48},
    {F::ip, 144, W::U32},
    {F::proxyip, 160, W::U32},
    {F::networkspeed, 164, W::I16},
    {F::link_num, 168, W::I32},
    {F::break_num, 172, W::I32},
    {F::startgame_num, 176, W::I32},
    {F::forceexit_num, 180, W::I32},
    {F::is_permit_watch, 188, W::I16},
    {F::gamescore, 192, W::I32},
    {F::winnum, 196, W::I32},
    {F::losenum, 200, W::I32},
    {F::equalnum, 204, W::I32},
    {F::score_level, 208, W::I16},
    {F::teamid, 212, W::I32},
    {F::status, 216, W::I16},
    {F::deskno, 218, W::I16},
    {F::seatno, 220, W::I16},
    {F::watchno, 222, W::I16},
    {F::extra_b, 224, W::I32},
    {F::extra_a, 228, W::I32},
    {F::extra_c, 232, W::I32},
    {F::extra_text, 236, W::Text, 20},
};

const Slot kWide264[] = {
    PERSON_HEAD,
    {F::ismember, 76, W::I16},
    {F::level, 78, W::I16},
    {F::priority, 80, W::I16},
    {F::forbidtype, 82, W::U16},
    {F::money, 84, W::I32},
    {F::wealth, 88, W::I32},
    {F::extra_d, 92, W::I16},
    {F::extra_e, 94, W::I16},
    {F::extra_f, 96, W::I16},
    {F::groupid, 100, W::Low16},
    {F::school_name, 104, W::Text, 48},
    {F::ip, 152, W::U32},
    {F::proxyip, 168, W::U32},
    {F::networkspeed, 172, W::I16},
    {F::link_num, 176, W::I32},
    {F::break_num, 180, W::I32},
    {F::startgame_num, 184, W::I32},
    {F::forceexit_num, 188, W::I32},
    {F::bubble_points, 192, W::I32},
    {F::is_permit_watch, 196, W::I16},
    {F::gamescore, 200, W::I32},
    {F::winnum, 204, W::I32},
    {F::losenum, 208, W::I32},
    {F::equalnum, 212, W::I32},
    {F::score_level, 216, W::I16},
    {F::teamid, 220, W::I32},
    {F::status, 224, W::I16},
    {F::deskno, 226, W::I16},
    {F::seatno, 228, W::I16},
    {F::watchno, 230, W::I16},
    {F::extra_b, 232, W::I32},
    {F::extra_a, 236, W::I32},
    {F::extra_c, 240, W::I32},
    {F::extra_text, 244, W::Text, 20},
};

const Slot kShort228[] = {
    PERSON_HEAD,
    {F::ip, 88, W::U32},
    {F::proxyip, 104, W::U32},
    {F::networkspeed, 108, W::I16},
    {F::flag_a, 110, W::I16},
    {F::flag_b, 112, W::I16},
    {F::flag_c, 114, W::I16},
    {F::flag_d, 116, W::I16},
    {F::is_permit_watch, 118, W::I16},
    {F::gamescore, 120, W::I32},
    {F::winnum, 124, W::I32},
    {F::losenum, 128, W::I32},
    {F::equalnum, 132, W::I32},
    {F::status, 136, W::I16},
    {F::deskno, 138, W::I16},
    {F::seatno, 140, W::I16},
    {F::watchno, 142, W::I16},
    {F::extra_b, 144, W::I32},
    {F::extra_a, 148, W::I32},
    {F::extra_c, 152, W::I32},
    {F::extra_text, 156, W::Text, 20},
    {F::groupid, 176, W::Low16},
    {F::school_name, 180, W::Text, 48},
};

// Connection counts are 16-bit in this format: they share the space before
// the status fields.
const Slot kMid236[] = {
    PERSON_HEAD,
    {F::ip, 88, W::U32},
    {F::proxyip, 104, W::U32},
    {F::networkspeed, 108, W::I16},
    {F::flag_e, 110, W::I16},
    {F::flag_a, 112, W::I16},
    {F::flag_b, 114, W::I16},
    {F::flag_c, 116, W::I16},
    {F::is_permit_watch, 118, W::I16},
    {F::gamescore, 120, W::I32},
    {F::winnum, 124, W::I32},
    {F::losenum, 128, W::I32},
    {F::equalnum, 132, W::I32},
    {F::flag_f, 136, W::I16},
    {F::forceexit_num, 138, W::I16},
    {F::break_num, 140, W::I16},
    {F::status, 142, W::I16},
    {F::deskno, 144, W::I16},
    {F::seatno, 146, W::I16},
    {F::watchno, 148, W::I16},
    {F::extra_b, 152, W::I32},
    {F::extra_a, 156, W::I32},
    {F::extra_c, 160, W::I32},
    {F::extra_text, 164, W::Text, 20},
    {F::groupid, 184, W::Low16},
    {F::school_name, 188, W::Text, 48},
};

// The school name is shorter here: member, level and the money values follow it.
const Slot kAlt228[] = {
    PERSON_HEAD,
    {F::ip, 88, W::U32},
    {F::proxyip, 104, W::U32},
    {F::networkspeed, 108, W::I16},
    {F::flag_a, 110, W::I16},
    {F::flag_b, 112, W::I16},
    {F::flag_c, 114, W::I16},
    {F::is_permit_watch, 116, W::I16},
    {F::gamescore, 120, W::I32},
    {F::winnum, 124, W::I32},
    {F::losenum, 128, W::I32},
    {F::equalnum, 132, W::I32},
    {F::status, 136, W::I16},
    {F::deskno, 138, W::I16},
    {F::seatno, 140, W::I16},
    {F::watchno, 142, W::I16},
    {F::extra_b, 144, W::I32},
    {F::extra_a, 148, W::I32},
    {F::extra_c, 152, W::I32},
    {F::extra_text, 156, W::Text, 20},
    {F::groupid, 176, W::Low16},
    {F::school_name, 180, W::Text, 34},
    {F::ismember, 214, W::I16},
    {F::level, 216, W::I16},
    {F::money, 220, W::I32},
    {F::wealth, 224, W::I32},
};

#undef PERSON_HEAD

std::span<const Slot> slotsOf(PersonFormat format) {
    switch (format) {
    case PersonFormat::Full256:
        return kFull256;
    case PersonFormat::Wide264:
        return kWide264;
    case PersonFormat::Short228:
        return kShort228;
    case PersonFormat::Mid236:
        return kMid236;
    case PersonFormat::Alt228:
        return kAlt228;
    }
    return kFull256;
}

uint32_t readBE(const uint8_t* p, std::size_t n) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v = v << 8 | p[i];
    return v;
}

void writeBE(uint8_t* p, std::size_t n, uint32_t v) {
    for (std::size_t i = n; i-- > 0; v >>= 8)
        p[i] = uint8_t(v);
}

int64_t readWire(const uint8_t* p, W w) {
    switch (w) {
    case W::U32:
        return readBE(p, 4);
    case W::I32:
        return int32_t(readBE(p, 4));
    case W::I16:
        return int16_t(readBE(p, 2));
    case W::U16:
        return uint16_t(readBE(p, 2));
    case W::Low16:
        return int16_t(readBE(p, 4) & 0xFFFF);
    case W::Text:
        break;
    }
    return 0;
}

void writeWire(uint8_t* p, W w, int64_t v) {
    switch (w) {
    case W::U32:
    case W::I32:
    case W::Low16:
        writeBE(p, 4, uint32_t(v));
        break;
    case W::I16:
    case W::U16:
        writeBE(p, 2, uint32_t(v));
        break;
    case W::Text:
        break;
    }
}

} // namespace

PersonFormat PersonFormatOfFamily(int k) {
    switch (k) {
    case 3:
        return PersonFormat::Wide264;
    case 4:
        return PersonFormat::Short228;
    case 5:
        return PersonFormat::Mid236;
    case 6:
        return PersonFormat::Alt228;
    default:
        return PersonFormat::Full256;
    }
}

std::size_t PersonRecordSize(PersonFormat format) {
    switch (format) {
    case PersonFormat::Full256:
        return 256;
    case PersonFormat::Wide264:
        return 264;
    case PersonFormat::Short228:
        return 228;
    case PersonFormat::Mid236:
        return 236;
    case PersonFormat::Alt228:
        return 228;
    }
    return 256;
}

bool CPersonRecord::Parse(PersonFormat format, std::span<const uint8_t> record) {
    const std::size_t size = PersonRecordSize(format);
    if (record.size() < size)
        return false;
    m_nFormat = format;
    m_Person = TablePerson{};
    for (const Slot& s : slotsOf(format)) {
        const Ref r = ref(m_Person, s.field);
        const uint8_t* at = record.data() + s.offset;
        if (s.wire == W::Text)
            platform::gbk::copyToField(
                static_cast<char*>(r.p), r.size,
                platform::gbk::fieldText(reinterpret_cast<const char*>(at), s.width));
        else
            store(r, readWire(at, s.wire));
    }
    if (format == PersonFormat::Full256) {
        const auto nick = platform::gbk::fieldText(m_Person.nickname);
        if (nick.size() >= 5 && (m_Person.forbidtype & 0xFF) >= 192)
            std::memcpy(m_Person.nickname, m_Person.username, sizeof m_Person.nickname);
    }
    return true;
}

std::vector<uint8_t> CPersonRecord::Build() const {
    std::vector<uint8_t> out(PersonRecordSize(m_nFormat), 0);
    TablePerson values = m_Person; // ref() hands out mutable addresses
    for (const Slot& s : slotsOf(m_nFormat)) {
        const Ref r = ref(values, s.field);
        uint8_t* at = out.data() + s.offset;
        if (s.wire == W::Text)
            platform::gbk::copyToField(
                reinterpret_cast<char*>(at), s.width,
                platform::gbk::fieldText(static_cast<const char*>(r.p), r.size));
        else
            writeWire(at, s.wire, load(r));
    }
    return out;
}

void CPersonRecord::ApplyTo(TablePerson& target, int headIconCount) const {
    TablePerson source = m_Person;
    for (const Slot& s : slotsOf(m_nFormat)) {
        const Ref from = ref(source, s.field);
        const Ref to = ref(target, s.field);
        if (from.kind == Ref::Text)
            std::memcpy(to.p, from.p, to.size);
        else
            store(to, load(from));
    }
    if (headIconCount > 0) {
        const int m = target.headpicid % headIconCount;
        target.headpicid = int16_t(m < 0 ? m + headIconCount : m);
    }
    target.ismyfriend = 0;
    target.ismydislike = 0;
}

TablePerson CRefereeRecord::ToTablePerson() const {
    // "主裁判" (chief referee) and "副裁判" in GBK.
    static constexpr char kChief[] = "\xD6\xF7\xB2\xC3\xC5\xD0";
    static constexpr char kAssistant[] = "\xB8\xB1\xB2\xC3\xC5\xD0";

    TablePerson p;
    std::memset(static_cast<void*>(&p), 0, sizeof p);
    p.id = m_nRefereeId;
    platform::gbk::copyToField(p.username, platform::gbk::fieldText(m_sUserName));
    platform::gbk::copyToField(p.nickname, m_nKind == 1 ? kChief : kAssistant);
    p.priority = m_nKind == 1 ? 2 : 3;
    p.sex = 1;
    p.headpicid = 1;
    p.link_num = 1;
    p.seatno = 0;
    p.status = status;
    p.deskno = deskno;
    p.watchno = watchno;
    p.flag_a = 1;
    p.flag_b = 1;
    p.flag_c = 1;
    p.flag_d = -1;
    return p;
}

} // namespace protocol
