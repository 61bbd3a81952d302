#include "desk/control/TurnClock.h"

namespace desk::control {

bool CTurnClock::start(int loc) {
    m_nSeconds = 0;
    if (loc != 0 && loc != 1) {
        m_nTurnLoc = -1;
        m_bRunning = false;
        return false;
    }
    m_nTurnLoc = loc;
    m_bRunning = true;
    return true;
}

void CTurnClock::stop() {
    m_bRunning = false;
    m_nSeconds = 0;
}

CTurnClock::Tick CTurnClock::tick() {
    if (!m_bRunning)
        return Tick::Counted;
    ++m_nSeconds;
    if (m_nTurnLoc == 0) {
        if (m_nSeconds >= kLimit) {
            m_bRunning = false;
            return Tick::Expired;
        }
        return m_nSeconds == kHurry ? Tick::Hurry : Tick::Counted;
    }
    if (m_nSeconds >= kRemoteStop) {
        m_bRunning = false;
        return Tick::Stopped;
    }
    return Tick::Counted;
}

} // namespace desk::control
