#pragma once
// The server's records of persons, referees and avatars, and how they turn
// into TablePerson. The nine person families (types 3100 + 50·k + …) share
// five record formats that carry the same kind of fields at other offsets;
// each format is one table of (field, offset, wire type), read and written by
// the same code.

#include "billiards/protocol/MessageBase.h"
#include "billiards/protocol/TablePerson.h"

#include <span>
#include <vector>

namespace protocol {

enum class PersonFormat : uint8_t {
    Full256,  // families 0, 1, 2, 7, 8
    Wide264,  // family 3
    Short228, // family 4
    Mid236,   // family 5
    Alt228,   // family 6
};

PersonFormat PersonFormatOfFamily(int k);
std::size_t PersonRecordSize(PersonFormat format);

// One person record as it travels: the fields its format carries.
struct CPersonRecord {
    PersonFormat m_nFormat = PersonFormat::Full256;
    // The carried fields; the others hold a new record's initial values.
    TablePerson m_Person;

    // Reads one record of exactly PersonRecordSize(format) bytes (more are
    // ignored, fewer refused). In the 256-byte format a nickname of at
    // least 5 bytes is replaced by the user name when the low byte of
    // `forbidtype` is 192 or more.
    bool Parse(PersonFormat format, std::span<const uint8_t> record);
    std::vector<uint8_t> Build() const;

    // Copies the carried fields into `target`; the fields the format does
    // not carry keep their value, `ismyfriend` and `ismydislike` become 0.
    // `headpicid` is reduced modulo `headIconCount` (kept when no icon is
    // loaded). `deskno` and `seatno` are copied as received: mapping them to
    // the own desk and the local seat is the table's business.
    void ApplyTo(TablePerson& target, int headIconCount) const;
    TablePerson MakePerson(int headIconCount) const {
        TablePerson p;
        ApplyTo(p, headIconCount);
        return p;
    }
};

// A referee (3806, 3817).
struct CRefereeRecord {
    static constexpr std::size_t kSize = 48;

    uint32_t m_nRefereeId = 0;
    char m_sUserName[34] = {};
    int16_t m_nKind = 0; // 1 = chief referee
    int16_t status = 0;
    int16_t deskno = 0;
    int16_t watchno = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nRefereeId);
        io.text(s.m_sUserName);
        io.i16(s.m_nKind);
        io.i16(s.status);
        io.i16(s.deskno);
        io.i16(s.watchno);
        io.pad(2);
    }

    // The table's record of the referee: nickname "主裁判" or "副裁判",
    // everything not given by the referee record at fixed values.
    TablePerson ToTablePerson() const;
};

// One avatar of a player (avatar list and avatar item).
struct CAvatarRecord {
    static constexpr std::size_t kSize = 176;

    uint32_t m_nPersonId = 0;
    uint32_t m_nValue[5] = {};
    int16_t m_nValue24 = 0;
    int16_t m_nValue98 = 0;
    char m_sFileName[72] = {}; // zero-terminated file name under the avatar folder
    int16_t m_nValue172 = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        for (auto& v : s.m_nValue)
            io.u32(v);
        io.i16(s.m_nValue24);
        io.pad(72);
        io.i16(s.m_nValue98);
        io.text(s.m_sFileName);
        io.i16(s.m_nValue172);
        io.pad(2);
    }
};

// Reads or writes one record with a Fields() description.
template <class R> bool ParseRecord(R& r, std::span<const uint8_t> bytes) {
    if (bytes.size() < R::kSize)
        return false;
    CFieldReader in(bytes.first(R::kSize));
    R::Fields(r, in);
    return in.ok();
}

template <class R> void BuildRecord(const R& r, CFieldWriter& out) {
    R::Fields(r, out);
}

} // namespace protocol
