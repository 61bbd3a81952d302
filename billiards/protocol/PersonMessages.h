#pragma once
// Messages made of person, referee and avatar records. A list holds as many
// whole records as its body has room for; a partial record at the end is
// ignored, never read.

#include "billiards/protocol/MessageTable.h"
#include "billiards/protocol/PersonRecords.h"

#include <vector>

namespace protocol {

// All persons at the table (3100 + 50·k + 6).
struct CPerson_List_Server {
    static constexpr std::size_t kMinBodySize = 0;
    uint16_t m_nType = msg::Person_List_0;
    std::vector<CPersonRecord> m_Persons;

    PersonFormat Format() const;
    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

// One watcher entered (3100 + 50·k + 7).
struct CWatcher_Arrive_Server {
    static std::size_t MinBodySizeFor(uint16_t type);
    uint16_t m_nType = msg::Watcher_Arrive_0;
    CPersonRecord m_Person;

    PersonFormat Format() const;
    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

// Avatars of the table's players (3100 + 50·k + 10).
struct CAvatar_List_Server {
    static constexpr std::size_t kMinBodySize = 0;
    uint16_t m_nType = msg::Avatar_List_0;
    std::vector<CAvatarRecord> m_Avatars;

    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

// One avatar (3100 + 50·k + 11); converted, not used by the client.
struct CAvatar_Item_Server {
    static constexpr std::size_t kMinBodySize = CAvatarRecord::kSize;
    uint16_t m_nType = msg::Avatar_Item_0;
    CAvatarRecord m_Avatar;

    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

struct CReferee_List_Server {
    static constexpr uint16_t kType = msg::Referee_List_Server;
    static constexpr std::size_t kMinBodySize = 0;
    std::vector<CRefereeRecord> m_Referees;

    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

struct CReferee_Arrive_Server {
    static constexpr uint16_t kType = msg::Referee_Arrive_Server;
    static constexpr std::size_t kMinBodySize = CRefereeRecord::kSize;
    CRefereeRecord m_Referee;

    std::vector<uint8_t> Build() const;
    bool Parse(std::span<const uint8_t> body);
};

} // namespace protocol
