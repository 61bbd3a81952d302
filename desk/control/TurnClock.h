#pragma once
// The turn clock of one desk: whose turn runs (turnLoc) and the seconds
// counted in it. The local player's turn expires after 30 seconds, with a
// warning at 15; the other player's clock only keeps counting, up to 80,
// because the other desk reports its own time-out.

namespace desk::control {

class CTurnClock {
public:
    static constexpr int kTimerId = 110;
    static constexpr int kTickMs = 1000;
    static constexpr int kLimit = 30;
    static constexpr int kHurry = kLimit / 2;
    static constexpr int kRemoteStop = 80;

    enum class Tick {
        Counted, // nothing else happened
        Hurry,   // the local player's turn is half over
        Expired, // the local player's turn is over; the clock has stopped
        Stopped, // the other player's clock reached its end
    };

    // Gives the turn to loc and restarts the count. False for a loc other
    // than 0 or 1: no turn runs then.
    bool start(int loc);
    // Stops counting; the turn stays where it is.
    void stop();
    // One second of the running clock.
    Tick tick();

    int turnLoc() const { return m_nTurnLoc; }
    int seconds() const { return m_nSeconds; }
    bool running() const { return m_bRunning; }

private:
    int m_nTurnLoc = -1;
    int m_nSeconds = 0;
    bool m_bRunning = false;
};

} // namespace desk::control
