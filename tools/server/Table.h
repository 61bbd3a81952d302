#pragma once
// One table (desk) of the server: the two seats and the watchers, the
// connection flow the client expects (keys, person lists, person states,
// start-up and recovery), the games with their referee, the checks and
// replays of every reported shot, and the table messages (chat, magic
// actions, exit negotiation, play-time notices).
//
// A table starts Waiting for its two players. Once both are there it runs a
// series of games until somebody leaves; then it has Ended and the server
// drops it once its connections are gone. Stages of one game:
//
//   Agreeing → Break → BreakFlight → Aim ⇄ Flight, BallInHand → … → Agreeing
//
// Every stage change that the clients must follow is a message to all
// clients of the table; what a returning client needs is one recovery
// message built from the same state.

#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/Messages.h"
#include "platform/timers/WindowTimers.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportJudge.h"
#include "tools/referee/ScoreBoard.h"
#include "tools/referee/ShotReplay.h"
#include "tools/server/ServerConfig.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <vector>

namespace desk {
class CShotEngine;
}

namespace server {

class CAccounts;
class CClientLink;

struct CServerStats {
    uint64_t connections = 0;
    uint64_t games = 0;
    uint64_t shotsJudged = 0;
    uint64_t reportDifferences = 0; // reports whose balls or values differ from the replay
    uint64_t reportsReplaced = 0;   // impossible reports judged from the replay instead
    uint64_t linksDropped = 0;      // connections closed for a protocol fault
};

class ITableHost {
public:
    virtual ~ITableHost() = default;
    virtual uint32_t Random() = 0;
    virtual desk::CShotEngine& Engine() = 0;
    virtual CAccounts& Accounts() = 0;
    virtual CServerStats& Stats() = 0;
    // The table has ended; it goes once its connections are gone.
    virtual void TableEnded() = 0;
};

class CTable final : private platform::ITimerOwner {
public:
    enum class Stage : uint8_t {
        Waiting,
        Agreeing,
        Break,
        BreakFlight,
        Aim,
        Flight,
        BallInHand,
        Ended,
    };
    static const char* StageName(Stage stage);

    // Person states of message 3002.
    static constexpr int16_t kStateInGame = 1;
    static constexpr int16_t kStateBack = 2;
    static constexpr int16_t kStateWatcher = 3;
    static constexpr int16_t kStateWaiting = 4;

    // Game-end reasons of message 3026.
    static constexpr int16_t kReasonNormal = 0;
    static constexpr int16_t kReasonForced = 1;
    static constexpr int16_t kReasonDropped = 2;
    static constexpr int16_t kReasonAgreed = 3;

    CTable(uint16_t desk, const CServerConfig& config, ITableHost& host);
    ~CTable() override;
    CTable(const CTable&) = delete;
    CTable& operator=(const CTable&) = delete;

    // A logged-in connection for this table. Refused (3004, then closed)
    // when its seat belongs to somebody else.
    void Admit(CClientLink& link, const protocol::CTable_Login& login);
    void OnFrame(CClientLink& link, const protocol::CFrame& frame);
    void OnLinkClosed(CClientLink& link);
    // The server goes down: every client hears that it cannot be served.
    void Shutdown();

    uint16_t Desk() const { return m_nDesk; }
    Stage CurrentStage() const { return m_stage; }
    bool Ended() const { return m_stage == Stage::Ended; }
    bool HasLinks() const;
    const referee::CScoreBoard& Scores() const { return m_scores; }
    const referee::CEightBallReferee& Referee() const { return m_referee; }
    int ShotsThisGame() const { return m_nShots; }

    enum TimerId : int {
        kStartupTimer = 1,
        kGraceTimer = 2, // + seat
        kTurnTimer = 4,
        kFlightTimer = 5,
        kExitAnswerTimer = 6,
        kPlayTimeTimer = 7, // + seat
    };

private:
    struct Seat {
        bool occupied = false;
        TablePerson person;
        CClientLink* link = nullptr; // null while the player is away
        bool agreed = false;
        int64_t playedMs = 0; // before the current stretch online
        QElapsedTimer playing;
        int noticesSent = 0;
        int64_t lastMagicMs = -1;
    };
    struct Watcher {
        TablePerson person;
        CClientLink* link = nullptr;
        int64_t lastMagicMs = -1;
    };
    enum class Shot : uint8_t { Break, Play };

    void OnTimer(int id) override;

    // --- arrivals and departures ---
    void admitPlayer(CClientLink& link, const protocol::CTable_Login& login);
    void admitWatcher(CClientLink& link, const protocol::CTable_Login& login);
    void greet(CClientLink& link);
    void startTable();
    void playerLeft(int seat, const QString& why);
    void endTable(uint32_t personId, int16_t reason, const QString& why);
    void abortStartup(int16_t kind, uint32_t personId, const QString& why);
    void removeWatcher(std::size_t index, bool tellHimToo);

    // --- the game ---
    void newGame();
    void startRack(int breaker);
    void onAgree(int seat, const protocol::CAgree_Start& m);
    void onTurn(int seat, uint16_t type, int32_t arc);
    void onStrike(int seat, Shot kind, const protocol::CRecoverShot& shot);
    void onBreakReport(int seat, const protocol::CCrash_End_InStart& m);
    void onShotReport(int seat, const protocol::CCrash_End_InPlay& m);
    void judgeReport(int seat, const referee::ReportedShot& report);
    void judgeWithReplay(const QString& why);
    void judge(Shot kind, const desk::SphereRecords& balls, const referee::ShotFacts& facts);
    void finishGame(int winner, const QString& why, bool playOn = true);
    void onMoving(int seat, const protocol::CBall_Moving& m);
    void onMoved(int seat, const protocol::CBall_Moved& m);
    void onTimeOut(int seat, bool placing);
    void applyTimeOut(bool placing, const QString& why);
    void armTurnTimer();
    int shotLimitWinner() const;

    // --- table messages ---
    void onExitGame(int seat, const protocol::CExit_Game& m);
    void onExitRequest(int seat);
    void onExitAnswer(CClientLink& link, const protocol::CExit_Answer& m);
    void onLeaveSeat(int seat);
    void onExitWatch(CClientLink& link);
    void onChat(CClientLink& link, protocol::CChat_Line m);
    void onMagic(CClientLink& link, protocol::CMagic_Action m);
    void armPlayTime(int seat);
    void pausePlayTime(int seat);

    // --- sending ---
    template <class M> void toAll(const M& m);
    template <class M> void toAllBut(const CClientLink* except, const M& m);
    void sendPersonList(CClientLink* only);
    void sendAvatarList(CClientLink* only);
    void sendState(uint32_t personId, int16_t state);
    void sendRecovery(CClientLink* only);
    void resyncAll();
    void sendScoreList(int winner);
    std::vector<CClientLink*> links() const;
    int seatOf(const CClientLink& link) const;
    int watcherOf(const CClientLink& link) const;
    bool rackInProgress() const;
    bool running() const { return m_stage != Stage::Waiting && m_stage != Stage::Ended; }
    uint16_t solidsSeatWire() const;
    uint16_t stripesSeatWire() const;
    int16_t scoreOf(int seat) const;
    QString who(int seat) const;
    void log(const QString& line) const;

    uint16_t m_nDesk;
    const CServerConfig& m_config;
    ITableHost& m_host;
    Stage m_stage = Stage::Waiting;
    Seat m_seats[2];
    std::vector<Watcher> m_watchers;

    referee::CEightBallReferee m_referee;
    referee::CScoreBoard m_scores;
    referee::CTablePosition m_position;
    protocol::CRecoverShot m_strike; // the shot in flight
    int m_nNextBreaker = 0;
    int m_nShots = 0;
    int m_nGames = 0;
    int m_nExitAsker = -1; // seat waiting for an answer to its exit request
    bool m_bScoresLoaded = false;
    QElapsedTimer m_clock;
    platform::CWindowTimers m_timers{*this};
};

} // namespace server
