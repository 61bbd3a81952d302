#include "billiards/protocol/PersonMessages.h"

namespace protocol {

namespace {

PersonFormat formatOf(uint16_t type) {
    const int k = PersonFamilyOf(type);
    return PersonFormatOfFamily(k < 0 ? 0 : k);
}

// Calls fn on each whole record of `size` bytes.
template <class Fn> bool forEachRecord(std::span<const uint8_t> body, std::size_t size, Fn&& fn) {
    for (std::size_t at = 0; size != 0 && body.size() - at >= size; at += size)
        if (!fn(body.subspan(at, size)))
            return false;
    return true;
}

template <class R> std::vector<uint8_t> buildRecords(const std::vector<R>& records) {
    CFieldWriter w;
    for (const R& r : records)
        BuildRecord(r, w);
    return w.take();
}

template <class R> bool parseRecords(std::span<const uint8_t> body, std::vector<R>& out) {
    out.clear();
    out.reserve(body.size() / R::kSize);
    return forEachRecord(body, R::kSize, [&](std::span<const uint8_t> bytes) {
        R r;
        if (!ParseRecord(r, bytes))
            return false;
        out.push_back(r);
        return true;
    });
}

template <class R> std::vector<uint8_t> buildOne(const R& r) {
    CFieldWriter w;
    BuildRecord(r, w);
    return w.take();
}

} // namespace

PersonFormat CPerson_List_Server::Format() const {
    return formatOf(m_nType);
}

std::vector<uint8_t> CPerson_List_Server::Build() const {
    std::vector<uint8_t> out;
    for (CPersonRecord r : m_Persons) {
        r.m_nFormat = Format();
        const auto bytes = r.Build();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

bool CPerson_List_Server::Parse(std::span<const uint8_t> body) {
    const PersonFormat format = Format();
    m_Persons.clear();
    m_Persons.reserve(body.size() / PersonRecordSize(format));
    return forEachRecord(body, PersonRecordSize(format), [&](std::span<const uint8_t> bytes) {
        CPersonRecord r;
        if (!r.Parse(format, bytes))
            return false;
        m_Persons.push_back(r);
        return true;
    });
}

std::size_t CWatcher_Arrive_Server::MinBodySizeFor(uint16_t type) {
    return PersonRecordSize(formatOf(type));
}

PersonFormat CWatcher_Arrive_Server::Format() const {
    return formatOf(m_nType);
}

std::vector<uint8_t> CWatcher_Arrive_Server::Build() const {
    CPersonRecord r = m_Person;
    r.m_nFormat = Format();
    return r.Build();
}

bool CWatcher_Arrive_Server::Parse(std::span<const uint8_t> body) {
    return m_Person.Parse(Format(), body);
}

std::vector<uint8_t> CAvatar_List_Server::Build() const {
    return buildRecords(m_Avatars);
}
bool CAvatar_List_Server::Parse(std::span<const uint8_t> body) {
    return parseRecords(body, m_Avatars);
}

std::vector<uint8_t> CAvatar_Item_Server::Build() const {
    return buildOne(m_Avatar);
}
bool CAvatar_Item_Server::Parse(std::span<const uint8_t> body) {
    return ParseRecord(m_Avatar, body);
}

std::vector<uint8_t> CReferee_List_Server::Build() const {
    return buildRecords(m_Referees);
}
bool CReferee_List_Server::Parse(std::span<const uint8_t> body) {
    return parseRecords(body, m_Referees);
}

std::vector<uint8_t> CReferee_Arrive_Server::Build() const {
    return buildOne(m_Referee);
}
bool CReferee_Arrive_Server::Parse(std::span<const uint8_t> body) {
    return ParseRecord(m_Referee, body);
}

} // namespace protocol
