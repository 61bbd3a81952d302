#pragma once
// The two player entries shown on the desk, one per table position `loc`
// (0 the local side, 1 the other), and the loc whose turn clock runs.

#include "desk/model/PersonInfo.h"

#include <array>
#include <cstdint>
#include <string>

namespace desk {

struct CPlayerEntry {
    std::string m_sName; // GBK bytes, as received
    int16_t m_nScore = 0;
    int16_t m_nChances = 0;
    int16_t m_nReady = 0;
};

inline constexpr int kNoTurn = -1;

class CPlayers {
public:
    static bool isLoc(int loc) { return loc == 0 || loc == 1; }

    // Nothing happens for a loc other than 0 or 1, and none of the setters
    // ever writes outside the two entries.
    void setPersonInfo(int loc, const PersonInfo* info);
    void setScore(int loc, int32_t score);
    void setChances(int loc, int chances);
    // The player to move gets `chances`, the other none.
    void giveTurnChances(int loc, int chances);
    void setReady(int loc, bool ready);
    void clearReady();

    const CPlayerEntry& entry(int loc) const { return m_entries.at(static_cast<std::size_t>(loc)); }

    int turnLoc() const { return m_nTurnLoc; }
    void setTurnLoc(int loc) { m_nTurnLoc = isLoc(loc) ? loc : kNoTurn; }

private:
    std::array<CPlayerEntry, 2> m_entries{};
    int m_nTurnLoc = kNoTurn;
};

} // namespace desk
