#include "tools/bot/client/BotClient.h"

#include "billiards/protocol/ConnectionTexts.h"
#include "billiards/protocol/MessageDispatch.h"
#include "platform/text/Gbk.h"
#include "tools/referee/EightBallReferee.h"

#include <QTimer>
#include <cstring>

namespace bot {

using namespace protocol;

namespace {

desk::SphereRecords toRecords(const SphereArray& a) {
    desk::SphereRecords r{};
    std::copy(a.begin(), a.end(), r.begin());
    return r;
}

int seatOrNone(uint16_t wire) {
    return wire <= 1 ? int(wire) : -1;
}

} // namespace

CBotClient::CBotClient(const CBotSettings& settings) : m_settings(settings) {
    m_connection = std::make_unique<CTableConnection>(
        m_socket, static_cast<protocol::IConnectionReporter&>(*this));
    m_socket.Advise(m_connection.get());
    m_connection->SetHandlers(this, nullptr, nullptr);
    CConnectionSettings cs;
    cs.address = settings.host;
    cs.port = settings.port;
    m_connection->SetSettings(cs);
    CTable_Login login;
    login.m_nPersonId = settings.id;
    login.m_nDeskNo = settings.desk;
    login.m_nSeatNo = settings.seat;
    login.m_nWatchNo = settings.watcher ? 0 : -1;
    login.m_nServiceType = 1;
    login.m_nGameType = 1;
    login.m_nSubType = 1;
    m_connection->SetLogin(login);
    // A player's connection starts in game; a watcher's never is.
    m_connection->State().inGame = !settings.watcher;
    m_view.mySeat = settings.seat;
    m_view.watcher = settings.watcher;
}

CBotClient::~CBotClient() {
    m_socket.Unadvise(m_connection.get());
    m_connection->SetHandlers(nullptr, nullptr, nullptr);
}

void CBotClient::log(const QString& line) {
    if (m_callbacks.log)
        m_callbacks.log(line);
}

const TablePerson* CBotClient::Person(uint32_t id) const {
    const auto it = m_persons.find(id);
    return it == m_persons.end() ? nullptr : &it->second;
}

void CBotClient::Connect() {
    m_connection->Connect();
}

// ---- the connection's dialogs ---------------------------------------------------

void CBotClient::ShowTimedDialog(const std::string& text, int) {
    log(QStringLiteral("dialog: ") + QString::fromStdString(platform::gbk::toUtf8(text)));
}

void CBotClient::ShowModalMessage(const std::string& text) {
    if (text == texts::NetworkFault() || text == texts::CannotConnect())
        ++m_nFaults;
    log(QStringLiteral("message: ") + QString::fromStdString(platform::gbk::toUtf8(text)));
}

void CBotClient::ShowEndMessage(const std::string& text) {
    end(QString::fromStdString(platform::gbk::toUtf8(text)));
}

void CBotClient::CloseTable() {
    end(QStringLiteral("left the table"));
}

void CBotClient::end(const QString& why) {
    if (m_view.ended)
        return;
    m_view.ended = true;
    m_connection->State().ended = true;
    log(QStringLiteral("table ended: ") + why);
    if (m_callbacks.ended)
        m_callbacks.ended(why);
}

// ---- received messages -----------------------------------------------------------

bool CBotClient::HandleMessage(uint16_t type, std::span<const uint8_t> body) {
    if (GroupOf(type) == MessageGroup::Billiards) {
        // Recovery messages are the only ones a returning client takes
        // before it has been brought back.
        const bool recovery = type >= msg::Recover_Idle && type <= msg::Recover_Moving;
        if (m_view.interrupted && !recovery)
            return true;
        handleBilliards(type, body);
        return true;
    }
    handleTable(type, body);
    return true;
}

bool CBotClient::handleTable(uint16_t type, std::span<const uint8_t> body) {
    const uint32_t ownId = m_settings.id;
    DispatchFromServer(
        type, body,
        Overloaded{
            [&](const CPerson_State_Server& m) {
                const bool own = m.m_nPersonId == ownId && !m_settings.watcher;
                m_connection->ApplyPersonState(m, own);
                if (m.m_nEndFlag == 1 || m.m_nEndFlag == 2) {
                    end(QStringLiteral("network failure ended the game"));
                    return;
                }
                if (own && m.m_nState == 2) {
                    m_view.interrupted = true;
                    log(QStringLiteral("back in the running game"));
                }
            },
            [&](const CGame_Abort_Server& m) {
                m_connection->ApplyGameAbort();
                if (m_view.interrupted)
                    return;
                if (m.m_nMode == 0)
                    end(QStringLiteral("start-up broken off (kind %1)").arg(m.m_nKind));
                else if (m.m_nMode == 2)
                    m_view.interrupted = true;
            },
            [&](const CNo_Server&) { end(QStringLiteral("the server cannot serve the table")); },
            [&](const CGame_End_Server& m) {
                const TablePerson* p = Person(static_cast<uint32_t>(m.m_nPersonId));
                const bool player = p && p->status == 4;
                if (player || !p || static_cast<uint32_t>(m.m_nPersonId) == ownId)
                    end(QStringLiteral("game over, reason %1, person %2")
                            .arg(m.m_nReason)
                            .arg(m.m_nPersonId));
                else
                    m_persons.erase(static_cast<uint32_t>(m.m_nPersonId));
            },
            [&](const CPerson_Leave_Server& m) {
                if (m.m_nPersonId == ownId)
                    end(QStringLiteral("left the table"));
                else
                    m_persons.erase(m.m_nPersonId);
            },
            [&](const CPerson_Offline_Server& m) {
                log(QStringLiteral("person %1 dropped, waiting for him").arg(m.m_nPersonId));
            },
            [&](const CExit_Request& m) {
                if (m.m_nPersonId == ownId || m_settings.watcher)
                    return;
                const int answer =
                    m_callbacks.exitRequested ? m_callbacks.exitRequested(m.m_nPersonId) : 0;
                AnswerExit(m.m_nPersonId, m.m_nSeatNo, answer);
            },
            [&](const CExit_Refused_Server& m) {
                if (m.m_nPersonId == ownId)
                    log(QStringLiteral("leaving refused until the game is over"));
            },
            [&](const CPerson_List_Server& m) {
                for (const CPersonRecord& r : m.m_Persons)
                    m_persons[r.m_Person.id] = r.m_Person;
            },
            [&](const CWatcher_Arrive_Server& m) {
                m_persons.emplace(m.m_Person.m_Person.id, m.m_Person.m_Person);
            },
            [&](const CMagic_Action_Failed_Server& m) {
                if (m.m_nPersonId == ownId)
                    log(QStringLiteral("magic action refused (%1)").arg(m.m_nKind));
            },
            [&](const CPlay_Time_Server& m) {
                log(QStringLiteral("seat %1 play-time notice %2").arg(m.m_nSeatNo).arg(m.m_nKind));
            },
        });
    return true;
}

bool CBotClient::handleBilliards(uint16_t type, std::span<const uint8_t> body) {
    const int mySeat = m_view.mySeat;
    DispatchFromServer(
        type, body,
        Overloaded{
            [&](const CGame_Start_Server&) {
                m_view.gameStarted = true;
                m_view.handInProgress = false;
                m_view.deskStatus = referee::kStatusBeforeGame;
                m_view.myGroup = desk::kOpenTable;
                m_view.solidsSeat = m_view.stripesSeat = -1;
                m_view.agreed[0] = m_view.agreed[1] = false;
                m_view.turnSeat = -1;
                m_pending.reset();
                scheduleTurn();
            },
            [&](const CAgree_Start& m) {
                if (m.m_nVersion == kWrongVersion) {
                    end(QStringLiteral("wrong version at seat %1").arg(m.m_nSeatNo));
                    return;
                }
                if (m.m_nSeatNo <= 1)
                    m_view.agreed[m.m_nSeatNo] = true;
            },
            [&](const COneHand_Start_Server& m) {
                m_view.deskStatus = referee::kStatusBreakAim;
                m_view.position = referee::CTablePosition::Rack(toRecords(m.m_Sphere));
                m_view.turnSeat = seatOrNone(m.m_nSeatNo);
                m_view.chances = 1;
                m_view.handInProgress = true;
                m_pending.reset();
                scheduleTurn();
            },
            [&](const CTurn_InStart&) { m_view.deskStatus = referee::kStatusBreakAim; },
            [&](const CTurn_InPlay&) { m_view.deskStatus = referee::kStatusAim; },
            [&](const CCrash_Begin_InStart& m) {
                m_view.deskStatus = m.m_nStatus;
                const bool own = m.m_nSeatNo == mySeat && !m_view.watcher;
                if (!(own && m_bOwnStrike))
                    simulate(m.m_nSeatNo, {m.arc, m.speed, m.z}, false);
                m_bOwnStrike = false;
            },
            [&](const CCrash_Begin_InPlay& m) {
                m_view.deskStatus = m.m_nStatus;
                const bool own = m.m_nSeatNo == mySeat && !m_view.watcher;
                if (!(own && m_bOwnStrike))
                    simulate(m.m_nSeatNo, {m.arc, m.speed, m.z}, false);
                m_bOwnStrike = false;
            },
            [&](const CCrash_End_InStart_Server& m) {
                setGroups(seatOrNone(m.m_nSeatNo_Mono), seatOrNone(m.m_nSeatNo_Hua));
                onVerdict(m.m_Sphere, m.m_nSeatNo, m.gan_num, m.m_nStatus);
            },
            [&](const CCrash_End_InPlay_Server& m) {
                onVerdict(m.m_Sphere, m.m_nSeatNo, m.gan_num, m.m_nStatus);
            },
            [&](const CBall_Moving&) {},
            [&](const CBall_Moved& m) {
                m_view.deskStatus = m.m_nStatus;
                m_view.position.PlaceCueBall({m.x, m.y});
                m_view.turnSeat = seatOrNone(m.m_nSeatNo);
                scheduleTurn();
            },
            [&](const CGuo_InMoving_Server& m) {
                m_view.turnSeat = seatOrNone(m.m_nSeatNo_Next);
                m_view.chances = m.num;
                scheduleTurn();
            },
            [&](const CGuo_InPlay_Server& m) {
                m_view.turnSeat = seatOrNone(m.m_nSeatNo_Next);
                m_view.chances = m.num;
                scheduleTurn();
            },
            [&](const CScore_List_Server& m) {
                m_view.handInProgress = false;
                m_view.turnSeat = -1;
                for (int s = 0; s < 2; ++s)
                    m_view.scores[s] = static_cast<int16_t>(m.m_nTotalScore[s]);
                ++m_nGamesOver;
                log(QStringLiteral("game over: seat %1 wins, totals %2 : %3")
                        .arg(m.m_nWinner)
                        .arg(m.m_nTotalScore[0])
                        .arg(m.m_nTotalScore[1]));
                if (m_callbacks.gameOver)
                    m_callbacks.gameOver(m);
            },
            [&](const CRecover_Idle& m) {
                ++m_nRecoveries;
                m_view.interrupted = false;
                m_view.gameStarted = true;
                m_view.handInProgress = false;
                m_view.deskStatus = referee::kStatusBeforeGame;
                m_view.turnSeat = -1;
                for (int s = 0; s < 2; ++s) {
                    m_view.agreed[s] = m.m_nAgreed[s] == 1;
                    m_view.scores[s] = m.m_nScore[s];
                }
                scheduleTurn();
            },
            [&](const CRecover_Turn_OnKai& m) {
                onRecovery(m, referee::kStatusBreakAim, m.num, std::nullopt, std::nullopt, nullptr);
            },
            [&](const CRecover_Crash_OnKai& m) {
                onRecovery(m, referee::kStatusBreakFlight, m_view.chances, std::nullopt,
                           std::nullopt, &m);
            },
            [&](const CRecover_Turn_OnPlay& m) {
                onRecovery(m, referee::kStatusAim, m.num, seatOrNone(m.m_nSeatNo_Mono),
                           seatOrNone(m.m_nSeatNo_Hua), nullptr);
            },
            [&](const CRecover_Crash_OnPlay& m) {
                onRecovery(m, referee::kStatusFlight, m_view.chances, seatOrNone(m.m_nSeatNo_Mono),
                           seatOrNone(m.m_nSeatNo_Hua), &m);
            },
            [&](const CRecover_Moving& m) {
                onRecovery(m, referee::kStatusBallInHand, m_view.chances,
                           seatOrNone(m.m_nSeatNo_Mono), seatOrNone(m.m_nSeatNo_Hua), nullptr);
            },
        });
    return true;
}

void CBotClient::setGroups(int solids, int stripes) {
    m_view.solidsSeat = solids;
    m_view.stripesSeat = stripes;
    // The desk's own group: the watched seat's for a watcher.
    m_view.myGroup = m_view.GroupOfSeat(m_view.mySeat);
}

void CBotClient::onVerdict(const SphereArray& wire, int seat, int chances, int16_t status) {
    const desk::SphereRecords balls = toRecords(wire);
    if (m_pending) {
        CShotCheck check;
        check.shooter = m_pending->shooter;
        check.own = m_pending->own;
        check.recovered = m_pending->recovered;
        check.steps = m_pending->outcome.steps;
        check.nextSeat = seatOrNone(static_cast<uint16_t>(seat));
        check.identical = std::memcmp(balls.data(), m_pending->outcome.balls.data(),
                                      sizeof(SphereRecord) * balls.size()) == 0;
        if (!check.recovered) {
            ++m_nCompared;
            if (!check.identical)
                ++m_nMismatches;
        }
        if (m_callbacks.shotChecked)
            m_callbacks.shotChecked(check);
        m_pending.reset();
    }
    m_view.position = referee::CTablePosition::AfterShot(balls);
    m_view.turnSeat = seatOrNone(static_cast<uint16_t>(seat));
    m_view.chances = chances;
    m_view.deskStatus = status;
    scheduleTurn();
}

void CBotClient::onRecovery(const CRecoverHead& head, int16_t status, int chances,
                            std::optional<int> solids, std::optional<int> stripes,
                            const CRecoverShot* shot) {
    if (!m_view.interrupted && m_pending && m_pending->own && !m_pending->recovered) {
        // The position was sent before our strike reached the server (a
        // player came back meanwhile): the server judges the strike all the
        // same and its verdict follows. The turn this message shows is over.
        log(QStringLiteral("a position message crossed our shot; waiting for its verdict"));
        return;
    }
    ++m_nRecoveries;
    m_view.interrupted = false;
    m_view.gameStarted = true;
    m_view.handInProgress = true;
    m_view.deskStatus = status;
    m_view.position = referee::CTablePosition::Rack(toRecords(head.m_Sphere));
    m_view.turnSeat = seatOrNone(head.m_nNext);
    m_view.chances = chances;
    m_view.scores[0] = head.m_nScore[0];
    m_view.scores[1] = head.m_nScore[1];
    if (solids || stripes)
        setGroups(solids.value_or(-1), stripes.value_or(-1));
    m_pending.reset();
    if (shot) {
        // The shot in flight is replayed here; the shooter's desk reports it.
        simulate(m_view.turnSeat, {shot->arc, shot->speed, shot->z}, true);
        if (m_pending && m_pending->own)
            report(status == referee::kStatusBreakFlight);
        return;
    }
    scheduleTurn();
}

void CBotClient::simulate(int shooter, const desk::Strike& strike, bool recovered) {
    Pending p;
    p.shooter = shooter;
    p.own = shooter == m_view.mySeat && !m_view.watcher;
    p.recovered = recovered;
    p.isBreak = m_view.deskStatus == referee::kStatusBreakFlight;
    const int group = p.isBreak ? desk::kOpenTable : m_view.GroupOfSeat(shooter);
    p.outcome = referee::ReplayShot(m_engine, m_view.position, group, strike);
    m_pending = p;
}

void CBotClient::report(bool isBreak) {
    if (!m_pending)
        return;
    const desk::ShotOutcome& out = m_pending->outcome;
    const uint16_t seat = static_cast<uint16_t>(m_view.mySeat);
    if (isBreak)
        m_connection->Send(CCrash_End_InStart::FromDesk(seat, 16, out.balls.data(), out.judge));
    else
        m_connection->Send(CCrash_End_InPlay::FromDesk(seat, 16, out.balls.data(), out.judge));
}

// ---- whose turn -------------------------------------------------------------------

void CBotClient::scheduleTurn() {
    const uint64_t serial = ++m_nTurnSerial;
    if (m_view.watcher || m_view.ended)
        return;
    // The owner decides outside the message handler; anything that arrives
    // meanwhile makes this turn stale.
    QTimer::singleShot(0, &m_socket, [this, serial] { takeTurn(serial); });
}

void CBotClient::takeTurn(uint64_t serial) {
    if (serial != m_nTurnSerial || m_view.ended || m_view.interrupted || m_view.watcher)
        return;
    if (m_view.deskStatus == referee::kStatusBeforeGame) {
        if (m_view.gameStarted && !m_view.agreed[m_view.mySeat] && m_callbacks.agreeTurn)
            m_callbacks.agreeTurn();
        return;
    }
    if (!m_view.MyTurn())
        return;
    switch (m_view.deskStatus) {
    case referee::kStatusBreakAim:
        if (m_callbacks.breakTurn)
            m_callbacks.breakTurn();
        break;
    case referee::kStatusAim:
        if (m_callbacks.shotTurn)
            m_callbacks.shotTurn();
        break;
    case referee::kStatusBallInHand:
        if (m_callbacks.placeTurn)
            m_callbacks.placeTurn();
        break;
    default:
        break;
    }
}

// ---- sending ------------------------------------------------------------------------

void CBotClient::Agree() {
    CAgree_Start m;
    m.m_nSeatNo = static_cast<uint16_t>(m_view.mySeat);
    m_connection->Send(m);
}

void CBotClient::Break(const desk::Strike& strike) {
    sendStrike<CTurn_InStart, CCrash_Begin_InStart>(strike, referee::kStatusBreakFlight, true);
}

void CBotClient::Shoot(const desk::Strike& strike) {
    sendStrike<CTurn_InPlay, CCrash_Begin_InPlay>(strike, referee::kStatusFlight, false);
}

// What the desk sends at a release: the last cue angle, then the strike; the
// bot then simulates the shot itself and reports it as the desk would.
template <class TTurn, class TBegin>
void CBotClient::sendStrike(const desk::Strike& strike, int flightStatus, bool isBreak) {
    const uint16_t seat = static_cast<uint16_t>(m_view.mySeat);
    TTurn turn;
    turn.m_nSeatNo = seat;
    turn.arc = strike.arc;
    m_connection->Send(turn);
    TBegin begin;
    begin.m_nSeatNo = seat;
    begin.arc = strike.arc;
    begin.speed = strike.speed;
    begin.z = strike.tip;
    m_connection->Send(begin);
    ++m_nTurnSerial;
    m_view.deskStatus = static_cast<int16_t>(flightStatus);
    m_bOwnStrike = true;
    simulate(m_view.mySeat, strike, false);
    report(isBreak);
}

void CBotClient::PlaceCueBall(int32_t x, int32_t y) {
    const uint16_t seat = static_cast<uint16_t>(m_view.mySeat);
    CBall_Moving moving;
    moving.m_nSeatNo = seat;
    moving.x = x;
    moving.y = y;
    m_connection->Send(moving);
    CBall_Moved moved;
    moved.m_nSeatNo = seat;
    moved.x = x;
    moved.y = y;
    m_connection->Send(moved);
    ++m_nTurnSerial;
    m_view.deskStatus = referee::kStatusNoInput; // until the server's echo
}

void CBotClient::PassTurn() {
    const uint16_t seat = static_cast<uint16_t>(m_view.mySeat);
    ++m_nTurnSerial;
    if (m_view.deskStatus == referee::kStatusBallInHand) {
        CGuo_InMoving m;
        m.m_nSeatNo = seat;
        m_connection->Send(m);
    } else {
        CGuo_InPlay m;
        m.m_nSeatNo = seat;
        m_connection->Send(m);
    }
}

void CBotClient::Chat(const std::string& utf8) {
    CChat_Line m;
    m.m_nType = m_view.handInProgress ? msg::Chat_Line : msg::Chat_Line_Plain;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = static_cast<int16_t>(m_settings.seat);
    m.m_nWatchNo = m_settings.watcher ? 0 : -1;
    m.SetText(platform::gbk::fromUtf8(utf8));
    m_connection->Send(m);
}

void CBotClient::ExitGame(bool force) {
    CExit_Game m;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = m_settings.seat;
    m.m_nForce = force ? 1 : 0;
    m_connection->Send(m);
}

void CBotClient::ExitWatch() {
    CExit_Watch m;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = m_settings.seat;
    m.m_nWatchNo = m_settings.watcher ? 0 : -1;
    m_connection->Send(m);
}

void CBotClient::LeaveSeat() {
    CLeave_Seat m;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = m_settings.seat;
    m_connection->Send(m);
}

bool CBotClient::RequestExit() {
    CExit_Request m;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = m_settings.seat;
    return m_connection->RequestExit(m);
}

void CBotClient::AnswerExit(uint32_t askerId, int askerSeat, int answer) {
    CExit_Answer m;
    m.m_nPersonId = m_settings.id;
    m.m_nSeatNo = static_cast<int16_t>(m_settings.seat);
    m.m_nAskerId = askerId;
    m.m_nAskerSeatNo = static_cast<int16_t>(askerSeat);
    m.m_nAnswer = static_cast<int16_t>(answer);
    m_connection->Send(m);
}

} // namespace bot
