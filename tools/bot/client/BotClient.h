#pragma once
// A headless player (or watcher) of one table: the client's own connection
// machine (CTableConnection on the socket component) and a table that
// follows every message the way a desk does, keeping the position, the
// turn, the chances and the groups. Every shot of the table is simulated
// with the desk's core from the position every desk holds, and compared with
// the verdict the server sends, so a run shows whether all clients agree to
// the bit.
//
// What to play is not decided here: the owner is told when it is the bot's
// turn to agree, break, shoot or place the cue ball, and answers with the
// send helpers (Break, Shoot, PlaceCueBall …), which send what the desk
// would send, including the report of the shot simulated here.

#include "billiards/protocol/IConnectionReporter.h"
#include "billiards/protocol/Messages.h"
#include "billiards/protocol/TableConnection.h"
#include "desk/physics/ShotEngine.h"
#include "platform/qevsock/QevSock.h"
#include "tools/referee/ShotReplay.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace bot {

struct CBotSettings {
    std::string host = "127.0.0.1";
    long port = 7100;
    uint32_t id = 0;
    uint16_t desk = 0;
    uint16_t seat = 0;
    bool watcher = false;
};

// What the table looks like from this client.
struct CGameView {
    int mySeat = 0; // the watched seat for a watcher
    bool watcher = false;
    int16_t deskStatus = 0;
    int turnSeat = -1;
    int chances = 0;
    int myGroup = desk::kOpenTable;
    int solidsSeat = -1;
    int stripesSeat = -1;
    bool agreed[2] = {};
    int16_t scores[2] = {};
    bool gameStarted = false;
    bool handInProgress = false;
    bool interrupted = false;
    bool ended = false;
    referee::CTablePosition position;

    int GroupOfSeat(int seat) const {
        return seat == solidsSeat    ? desk::kSolids
               : seat == stripesSeat ? desk::kStripes
                                     : desk::kOpenTable;
    }
    bool MyTurn() const { return !watcher && turnSeat == mySeat; }
};

// One shot seen by this client: its own simulation against the verdict.
struct CShotCheck {
    int shooter = -1;
    bool own = false;
    bool identical = false;
    // Replayed from a recovery message, whose rebuilt table may step the
    // shot differently from the desks that saw it live: not compared.
    bool recovered = false;
    int steps = 0;
    int nextSeat = -1; // who plays next by the verdict (−1: nobody)
};

struct CBotCallbacks {
    std::function<void()> agreeTurn; // the start button is up
    std::function<void()> breakTurn;
    std::function<void()> shotTurn;
    std::function<void()> placeTurn;
    std::function<void(const CShotCheck&)> shotChecked;
    std::function<void(const protocol::CScore_List_Server&)> gameOver;
    // Somebody asks to leave; return the answer (0 agree, 1 refuse).
    std::function<int(uint32_t personId)> exitRequested;
    std::function<void(const QString& why)> ended;
    std::function<void(const QString& line)> log;
};

class CBotClient final : private protocol::IConnectionReporter, private protocol::IMessageHandler {
public:
    explicit CBotClient(const CBotSettings& settings);
    ~CBotClient() override;
    CBotClient(const CBotClient&) = delete;
    CBotClient& operator=(const CBotClient&) = delete;

    CBotCallbacks& Callbacks() { return m_callbacks; }
    const CGameView& View() const { return m_view; }
    const CBotSettings& Settings() const { return m_settings; }
    const TablePerson* Person(uint32_t id) const;
    protocol::CTableConnection& Connection() { return *m_connection; }

    void Connect();

    // --- what the desk sends --------------------------------------------
    void Agree();
    // The break and a shot in play: the cue turned to `strike.arc`, the
    // strike, then the report of the shot simulated from the position.
    void Break(const desk::Strike& strike);
    void Shoot(const desk::Strike& strike);
    // Ball in hand: the cue ball dragged to, and placed at, (x, y) in
    // interface units.
    void PlaceCueBall(int32_t x, int32_t y);
    // Passing the turn, as the desk does when its turn clock runs out.
    void PassTurn();
    void Chat(const std::string& utf8);
    // Leaving: during a game (3026), as a watcher or outside a game (3027),
    // before the game (3005), and asking the others (3031).
    void ExitGame(bool force);
    void ExitWatch();
    void LeaveSeat();
    bool RequestExit();
    void AnswerExit(uint32_t askerId, int askerSeat, int answer);

    // Changes whenever a turn is taken or something arrives that may change
    // whose turn it is: a choice made for an older value is stale.
    uint64_t TurnSerial() const { return m_nTurnSerial; }

    // Counters of the run.
    int GamesOver() const { return m_nGamesOver; }
    int NetworkFaults() const { return m_nFaults; }
    int ShotsCompared() const { return m_nCompared; }
    int ShotMismatches() const { return m_nMismatches; }
    int RecoveriesReceived() const { return m_nRecoveries; }

private:
    // IConnectionReporter
    void ShowTimedDialog(const std::string& text, int ms) override;
    void ShowModalMessage(const std::string& text) override;
    void ShowEndMessage(const std::string& text) override;
    void CloseTable() override;
    // IMessageHandler (table and billiards messages alike)
    bool HandleMessage(uint16_t type, std::span<const uint8_t> body) override;

    bool handleTable(uint16_t type, std::span<const uint8_t> body);
    bool handleBilliards(uint16_t type, std::span<const uint8_t> body);
    void onVerdict(const protocol::SphereArray& balls, int seat, int chances, int16_t status);
    void onRecovery(const protocol::CRecoverHead& head, int16_t status, int chances,
                    std::optional<int> solids, std::optional<int> stripes,
                    const protocol::CRecoverShot* shot);
    void simulate(int shooter, const desk::Strike& strike, bool recovered);
    void report(bool isBreak);
    template <class TTurn, class TBegin>
    void sendStrike(const desk::Strike& strike, int flightStatus, bool isBreak);
    void setGroups(int solids, int stripes);
    void end(const QString& why);
    void scheduleTurn();
    void takeTurn(uint64_t serial);
    void log(const QString& line);

    CBotSettings m_settings;
    CBotCallbacks m_callbacks;
    platform::CQevSock m_socket;
    std::unique_ptr<protocol::CTableConnection> m_connection;
    CGameView m_view;
    std::map<uint32_t, TablePerson> m_persons;
    desk::CShotEngine m_engine;

    // The shot in flight: simulated when it was struck.
    struct Pending {
        int shooter = -1;
        bool own = false;
        bool recovered = false;
        bool isBreak = false;
        desk::ShotOutcome outcome;
    };
    std::optional<Pending> m_pending;
    bool m_bOwnStrike = false; // our own strike's echo is still to come
    uint64_t m_nTurnSerial = 0;
    int m_nGamesOver = 0;
    int m_nFaults = 0;
    int m_nCompared = 0;
    int m_nMismatches = 0;
    int m_nRecoveries = 0;
};

} // namespace bot
