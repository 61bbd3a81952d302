#include "desk/model/Players.h"

#include <cstring>

namespace desk {

namespace {
// Names come from the lobby's person records (32-byte fields); a longer run of
// bytes without a terminator is cut instead of being read without end.
constexpr std::size_t kMaxNameBytes = 256;
} // namespace

void CPlayers::setPersonInfo(int loc, const PersonInfo* info) {
    if (!isLoc(loc) || info == nullptr)
        return;
    CPlayerEntry& e = m_entries[static_cast<std::size_t>(loc)];
    if (info->name != nullptr)
        e.m_sName.assign(info->name, strnlen(info->name, kMaxNameBytes));
    if (info->score >= 0)
        e.m_nScore = info->score;
    if (info->chances >= 0)
        e.m_nChances = info->chances;
}

void CPlayers::setScore(int loc, int32_t score) {
    if (isLoc(loc))
        m_entries[static_cast<std::size_t>(loc)].m_nScore = static_cast<int16_t>(score);
}

void CPlayers::setChances(int loc, int chances) {
    if (isLoc(loc))
        m_entries[static_cast<std::size_t>(loc)].m_nChances = static_cast<int16_t>(chances);
}

void CPlayers::giveTurnChances(int loc, int chances) {
    if (!isLoc(loc))
        return;
    setChances(loc, chances);
    setChances(1 - loc, 0);
}

void CPlayers::setReady(int loc, bool ready) {
    if (isLoc(loc))
        m_entries[static_cast<std::size_t>(loc)].m_nReady = ready ? 1 : 0;
}

void CPlayers::clearReady() {
    for (auto& e : m_entries)
        e.m_nReady = 0;
}

} // namespace desk
