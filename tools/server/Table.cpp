#include "tools/server/Table.h"

#include "billiards/protocol/MessageDispatch.h"
#include "desk/model/StandardRack.h"
#include "desk/physics/ShotEngine.h"
#include "platform/text/Gbk.h"
#include "tools/referee/ReportCheck.h"
#include "tools/referee/ReportJudge.h"
#include "tools/server/Accounts.h"
#include "tools/server/ClientLink.h"
#include "tools/server/ServerLog.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace server {

using namespace protocol;
using referee::CEightBallReferee;

namespace {

constexpr uint16_t kNoSeatWire = 0xFFFF;

int16_t clamp16(int32_t v) {
    return static_cast<int16_t>(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

QString utf8Name(const TablePerson& p) {
    return QString::fromStdString(platform::gbk::toUtf8(platform::gbk::fieldText(p.nickname)));
}

desk::SphereRecords toRecords(const SphereArray& a) {
    desk::SphereRecords r{};
    std::copy(a.begin(), a.end(), r.begin());
    return r;
}

SphereArray toWire(const desk::SphereRecords& r) {
    SphereArray a{};
    std::copy(r.begin(), r.end(), a.begin());
    return a;
}

} // namespace

const char* CTable::StageName(Stage stage) {
    switch (stage) {
    case Stage::Waiting:
        return "waiting";
    case Stage::Agreeing:
        return "agreeing";
    case Stage::Break:
        return "break";
    case Stage::BreakFlight:
        return "break in flight";
    case Stage::Aim:
        return "aiming";
    case Stage::Flight:
        return "shot in flight";
    case Stage::BallInHand:
        return "ball in hand";
    case Stage::Ended:
        return "ended";
    }
    return "?";
}

CTable::CTable(uint16_t desk, const CServerConfig& config, ITableHost& host)
    : m_nDesk(desk), m_config(config), m_host(host) {
    m_clock.start();
}

CTable::~CTable() = default;

void CTable::log(const QString& line) const {
    LogLine(QStringLiteral("desk %1: ").arg(m_nDesk) + line);
}

QString CTable::who(int seat) const {
    const Seat& s = m_seats[seat];
    return QStringLiteral("seat %1 (id %2 %3)").arg(seat).arg(s.person.id).arg(utf8Name(s.person));
}

// ---- sending ------------------------------------------------------------------

std::vector<CClientLink*> CTable::links() const {
    std::vector<CClientLink*> out;
    for (const Seat& s : m_seats)
        if (s.link)
            out.push_back(s.link);
    for (const Watcher& w : m_watchers)
        if (w.link)
            out.push_back(w.link);
    return out;
}

template <class M> void CTable::toAll(const M& m) {
    toAllBut(nullptr, m);
}

template <class M> void CTable::toAllBut(const CClientLink* except, const M& m) {
    const std::vector<uint8_t> body = m.Build();
    uint16_t type = 0;
    if constexpr (requires { m.m_nType; })
        type = m.m_nType;
    else
        type = M::kType;
    for (CClientLink* link : links())
        if (link != except)
            link->SendBody(type, body);
}

bool CTable::HasLinks() const {
    return !links().empty();
}

int CTable::seatOf(const CClientLink& link) const {
    for (int s = 0; s < 2; ++s)
        if (m_seats[s].link == &link)
            return s;
    return -1;
}

int CTable::watcherOf(const CClientLink& link) const {
    for (std::size_t i = 0; i < m_watchers.size(); ++i)
        if (m_watchers[i].link == &link)
            return static_cast<int>(i);
    return -1;
}

void CTable::sendPersonList(CClientLink* only) {
    CPerson_List_Server list;
    list.m_nType = msg::Person_List_0;
    for (const Seat& s : m_seats) {
        if (!s.occupied)
            continue;
        CPersonRecord r;
        r.m_Person = s.person;
        list.m_Persons.push_back(r);
    }
    for (const Watcher& w : m_watchers) {
        CPersonRecord r;
        r.m_Person = w.person;
        list.m_Persons.push_back(r);
    }
    if (only)
        only->Send(list);
    else
        toAll(list);
}

void CTable::sendAvatarList(CClientLink* only) {
    // No avatar files: every client shows the default avatar of the
    // player's sex.
    CAvatar_List_Server list;
    list.m_nType = msg::Avatar_List_0;
    for (const Seat& s : m_seats) {
        if (!s.occupied)
            continue;
        CAvatarRecord r;
        r.m_nPersonId = s.person.id;
        list.m_Avatars.push_back(r);
    }
    if (only)
        only->Send(list);
    else
        toAll(list);
}

void CTable::sendState(uint32_t personId, int16_t state) {
    CPerson_State_Server m;
    m.m_nPersonId = personId;
    m.m_nState = state;
    toAll(m);
}

uint16_t CTable::solidsSeatWire() const {
    const int s = m_referee.SolidsSeat();
    return s < 0 ? kNoSeatWire : static_cast<uint16_t>(s);
}

uint16_t CTable::stripesSeatWire() const {
    const int s = m_referee.StripesSeat();
    return s < 0 ? kNoSeatWire : static_cast<uint16_t>(s);
}

int16_t CTable::scoreOf(int seat) const {
    return clamp16(m_scores.Seat(seat).total);
}

void CTable::sendRecovery(CClientLink* only) {
    const auto send = [&](const auto& m) {
        if (only)
            only->Send(m);
        else
            toAll(m);
    };
    const auto head = [&](CRecoverHead& h) {
        h.m_nScore[0] = scoreOf(0);
        h.m_nScore[1] = scoreOf(1);
        h.m_Sphere = toWire(m_position.DisplayRecords());
        h.m_nNext = static_cast<uint16_t>(m_referee.ToPlay());
    };
    switch (m_stage) {
    case Stage::Agreeing: {
        CRecover_Idle m;
        for (int s = 0; s < 2; ++s) {
            m.m_nScore[s] = scoreOf(s);
            m.m_nAgreed[s] = m_seats[s].agreed ? 1 : 0;
        }
        send(m);
        break;
    }
    case Stage::Break: {
        CRecover_Turn_OnKai m;
        head(m);
        m.num = static_cast<int16_t>(m_referee.Chances());
        send(m);
        break;
    }
    case Stage::BreakFlight: {
        CRecover_Crash_OnKai m;
        head(m);
        static_cast<CRecoverShot&>(m) = m_strike;
        send(m);
        break;
    }
    case Stage::Aim: {
        CRecover_Turn_OnPlay m;
        head(m);
        m.num = static_cast<int16_t>(m_referee.Chances());
        m.m_nSeatNo_Mono = solidsSeatWire();
        m.m_nSeatNo_Hua = stripesSeatWire();
        send(m);
        break;
    }
    case Stage::Flight: {
        CRecover_Crash_OnPlay m;
        head(m);
        static_cast<CRecoverShot&>(m) = m_strike;
        m.m_nSeatNo_Mono = solidsSeatWire();
        m.m_nSeatNo_Hua = stripesSeatWire();
        send(m);
        break;
    }
    case Stage::BallInHand: {
        CRecover_Moving m;
        head(m);
        m.m_nSeatNo_Mono = solidsSeatWire();
        m.m_nSeatNo_Hua = stripesSeatWire();
        send(m);
        break;
    }
    case Stage::Waiting:
    case Stage::Ended:
        break;
    }
}

void CTable::resyncAll() {
    // A position message rebuilds every desk's table the way a new rack
    // does, so the server's position follows suit.
    sendRecovery(nullptr);
    m_position = referee::CTablePosition::Rack(m_position.DisplayRecords());
}

// ---- arrivals ---------------------------------------------------------------------

void CTable::greet(CClientLink& link) {
    link.SendConnectionKey(m_host.Random() | 1u, m_host.Random() >> 2);
}

void CTable::Admit(CClientLink& link, const CTable_Login& login) {
    if (m_stage == Stage::Ended) {
        link.Send(CNo_Server{});
        link.Close(QStringLiteral("table has ended"));
        return;
    }
    if (login.m_nWatchNo >= 0)
        admitWatcher(link, login);
    else
        admitPlayer(link, login);
}

void CTable::admitPlayer(CClientLink& link, const CTable_Login& login) {
    const int s = login.m_nSeatNo;
    Seat& seat = m_seats[s];
    if (seat.occupied && seat.person.id != login.m_nPersonId) {
        link.Send(CNo_Server{});
        link.Close(QStringLiteral("seat %1 belongs to id %2").arg(s).arg(seat.person.id));
        return;
    }
    const bool returning = seat.occupied && running();
    if (seat.link) {
        // The same person again on a new connection: the old one is dead
        // even if its socket has not noticed yet.
        CClientLink* old = seat.link;
        seat.link = nullptr;
        old->Close(QStringLiteral("replaced by a new connection"));
    }
    // A shooter whose shot is still in flight comes back with a rebuilt
    // table that would step the shot differently from the desks that saw it:
    // the replay decides it, as when the drop was noticed in time.
    const bool ownShotInFlight =
        (m_stage == Stage::Flight || m_stage == Stage::BreakFlight) && m_referee.ToPlay() == s;
    if (returning && ownShotInFlight)
        judgeWithReplay(QStringLiteral("the shooter came back on a new connection"));
    if (!seat.occupied) {
        seat = Seat{};
        seat.occupied = true;
        seat.person = m_host.Accounts().Person(login.m_nPersonId);
        seat.person.status = 4;
        seat.person.deskno = static_cast<int16_t>(m_nDesk);
        seat.person.seatno = static_cast<int16_t>(s);
        seat.person.watchno = -1;
    }
    seat.link = &link;
    m_timers.KillTimer(kGraceTimer + s);
    greet(link);
    sendPersonList(nullptr);
    sendAvatarList(nullptr);

    if (returning) {
        log(who(s) + QStringLiteral(" is back (") + StageName(m_stage) + QLatin1Char(')'));
        sendState(seat.person.id, kStateBack);
        // Everybody is brought to the position the returning desk rebuilds,
        // so all desks step the next shot alike. A shot in flight is only
        // replayed by the one who missed it.
        const bool inFlight = m_stage == Stage::Flight || m_stage == Stage::BreakFlight;
        if (inFlight || m_stage == Stage::Agreeing)
            sendRecovery(&link);
        else
            resyncAll();
        armPlayTime(s);
        if (m_referee.ToPlay() == s)
            armTurnTimer();
        return;
    }
    log(who(s) + QStringLiteral(" sits down from ") + link.Peer());
    const int other = 1 - s;
    if (m_seats[other].occupied && m_seats[other].link) {
        startTable();
    } else {
        sendState(seat.person.id, kStateWaiting);
        if (!m_timers.IsActive(kStartupTimer))
            m_timers.SetTimer(kStartupTimer, m_config.limits.startupMs);
    }
}

void CTable::admitWatcher(CClientLink& link, const CTable_Login& login) {
    for (std::size_t i = 0; i < m_watchers.size(); ++i) {
        if (m_watchers[i].person.id == login.m_nPersonId) {
            CClientLink* old = m_watchers[i].link;
            m_watchers[i].link = nullptr;
            if (old)
                old->Close(QStringLiteral("replaced by a new connection"));
            m_watchers.erase(m_watchers.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    Watcher w;
    w.person = m_host.Accounts().Person(login.m_nPersonId);
    w.person.status = 5;
    w.person.deskno = static_cast<int16_t>(m_nDesk);
    w.person.seatno = static_cast<int16_t>(login.m_nSeatNo);
    w.person.watchno = login.m_nWatchNo;
    w.link = &link;
    m_watchers.push_back(w);
    log(QStringLiteral("watcher id %1 %2 on seat %3 from %4")
            .arg(w.person.id)
            .arg(utf8Name(w.person))
            .arg(login.m_nSeatNo)
            .arg(link.Peer()));

    greet(link);
    sendPersonList(&link);
    sendAvatarList(&link);
    CWatcher_Arrive_Server arrive;
    arrive.m_nType = msg::Watcher_Arrive_0;
    arrive.m_Person.m_Person = w.person;
    toAllBut(&link, arrive);
    sendState(w.person.id, kStateWatcher);
    if (running())
        sendRecovery(&link);
}

void CTable::startTable() {
    m_timers.KillTimer(kStartupTimer);
    if (!m_bScoresLoaded) {
        for (int s = 0; s < 2; ++s) {
            const TablePerson& p = m_seats[s].person;
            m_scores.SetSeat(s, {0, p.gamescore, p.winnum, p.losenum, p.equalnum});
        }
        m_bScoresLoaded = true;
    }
    log(QStringLiteral("both players are here: ") + who(0) + QStringLiteral(", ") + who(1));
    sendState(m_seats[0].person.id, kStateInGame);
    sendState(m_seats[1].person.id, kStateInGame);
    CGame_Abort_Server go;
    go.m_nMode = 1;
    toAll(go);
    armPlayTime(0);
    armPlayTime(1);
    newGame();
}

// ---- departures -------------------------------------------------------------------

void CTable::OnLinkClosed(CClientLink& link) {
    const int w = watcherOf(link);
    if (w >= 0) {
        m_watchers[static_cast<std::size_t>(w)].link = nullptr;
        removeWatcher(static_cast<std::size_t>(w), false);
        return;
    }
    const int s = seatOf(link);
    if (s < 0)
        return;
    m_seats[s].link = nullptr;
    if (m_stage == Stage::Ended)
        return;
    if (!running()) {
        log(who(s) + QStringLiteral(" left before the game"));
        m_seats[s] = Seat{};
        CPerson_Leave_Server leave;
        leave.m_nPersonId = link.personId;
        toAll(leave);
        if (!m_seats[0].occupied && !m_seats[1].occupied)
            m_timers.KillTimer(kStartupTimer);
        return;
    }
    log(who(s) + QStringLiteral(" dropped (") + StageName(m_stage) +
        QStringLiteral("), waiting %1 ms for him").arg(m_config.limits.reconnectGraceMs));
    pausePlayTime(s);
    CPerson_Offline_Server offline;
    offline.m_nPersonId = m_seats[s].person.id;
    toAll(offline);
    m_timers.SetTimer(kGraceTimer + s, m_config.limits.reconnectGraceMs);
    if (m_referee.ToPlay() == s)
        m_timers.KillTimer(kTurnTimer);
    // The server holds everything needed to finish a shot whose shooter is
    // gone: it need not wait for him.
    const bool inFlight = m_stage == Stage::Flight || m_stage == Stage::BreakFlight;
    if (inFlight && m_referee.ToPlay() == s)
        judgeWithReplay(QStringLiteral("the shooter dropped"));
}

void CTable::removeWatcher(std::size_t index, bool tellHimToo) {
    const Watcher w = m_watchers[index];
    m_watchers.erase(m_watchers.begin() + static_cast<std::ptrdiff_t>(index));
    log(QStringLiteral("watcher id %1 left").arg(w.person.id));
    CPerson_Leave_Server leave;
    leave.m_nPersonId = w.person.id;
    toAll(leave);
    if (tellHimToo && w.link) {
        w.link->Send(leave);
        w.link->Close(QStringLiteral("watcher left"));
    }
}

void CTable::endTable(uint32_t personId, int16_t reason, const QString& why) {
    if (m_stage == Stage::Ended)
        return;
    log(QStringLiteral("table ends, reason %1: ").arg(reason) + why);
    CGame_End_Server end;
    end.m_nPersonId = static_cast<int32_t>(personId);
    end.m_nReason = reason;
    toAll(end);
    m_stage = Stage::Ended;
    m_referee.Abandon();
    m_timers.KillAll();
    for (CClientLink* link : links())
        link->Close(QStringLiteral("table ended"));
    m_host.TableEnded();
}

void CTable::abortStartup(int16_t kind, uint32_t personId, const QString& why) {
    log(QStringLiteral("start-up broken off: ") + why);
    CGame_Abort_Server abort;
    abort.m_nMode = 0;
    abort.m_nKind = kind;
    abort.m_nPersonId = personId;
    toAll(abort);
    m_stage = Stage::Ended;
    m_timers.KillAll();
    for (CClientLink* link : links())
        link->Close(QStringLiteral("table ended"));
    m_host.TableEnded();
}

void CTable::Shutdown() {
    if (m_stage != Stage::Ended)
        log(QStringLiteral("server shutting down"));
    toAll(CNo_Server{});
    m_stage = Stage::Ended;
    m_timers.KillAll();
    for (CClientLink* link : links())
        link->Close(QStringLiteral("server shutting down"));
}

// ---- timers ------------------------------------------------------------------------

void CTable::OnTimer(int id) {
    m_timers.KillTimer(id);
    switch (id) {
    case kStartupTimer:
        if (m_stage == Stage::Waiting)
            abortStartup(0, 0, QStringLiteral("the second player did not come"));
        break;
    case kGraceTimer:
    case kGraceTimer + 1: {
        const int s = id - kGraceTimer;
        if (running() && !m_seats[s].link)
            endTable(m_seats[s].person.id, kReasonDropped,
                     who(s) + QStringLiteral(" did not come back"));
        break;
    }
    case kTurnTimer:
        if (m_stage == Stage::Break || m_stage == Stage::Aim)
            applyTimeOut(false, QStringLiteral("turn limit"));
        else if (m_stage == Stage::BallInHand)
            applyTimeOut(true, QStringLiteral("turn limit"));
        break;
    case kFlightTimer:
        if (m_stage == Stage::Flight || m_stage == Stage::BreakFlight)
            judgeWithReplay(QStringLiteral("no report within the flight limit"));
        break;
    case kExitAnswerTimer:
        if (m_nExitAsker >= 0 && m_seats[m_nExitAsker].link) {
            CExit_Refused_Server refused;
            refused.m_nPersonId = m_seats[m_nExitAsker].person.id;
            m_seats[m_nExitAsker].link->Send(refused);
        }
        m_nExitAsker = -1;
        break;
    case kPlayTimeTimer:
    case kPlayTimeTimer + 1: {
        const int s = id - kPlayTimeTimer;
        Seat& seat = m_seats[s];
        if (!seat.link || !running() || seat.noticesSent >= 2)
            break;
        // The timer ran exactly for what was left to the limit.
        seat.playedMs = seat.noticesSent == 0 ? m_config.limits.playTimeNotice1Ms
                                              : m_config.limits.playTimeNotice2Ms;
        ++seat.noticesSent;
        CPlay_Time_Server notice;
        notice.m_nSeatNo = static_cast<uint16_t>(s);
        notice.m_nKind = static_cast<int16_t>(seat.noticesSent);
        toAll(notice);
        log(who(s) + QStringLiteral(" play-time notice %1").arg(seat.noticesSent));
        armPlayTime(s);
        break;
    }
    default:
        break;
    }
}

void CTable::armPlayTime(int s) {
    Seat& seat = m_seats[s];
    seat.playing.start();
    const int64_t limits[2] = {m_config.limits.playTimeNotice1Ms,
                               m_config.limits.playTimeNotice2Ms};
    if (seat.noticesSent >= 2) {
        m_timers.KillTimer(kPlayTimeTimer + s);
        return;
    }
    const int64_t left = std::max<int64_t>(1, limits[seat.noticesSent] - seat.playedMs);
    m_timers.SetTimer(kPlayTimeTimer + s,
                      static_cast<int>(std::min<int64_t>(left, std::numeric_limits<int>::max())));
}

void CTable::pausePlayTime(int s) {
    Seat& seat = m_seats[s];
    if (seat.playing.isValid())
        seat.playedMs += seat.playing.elapsed();
    seat.playing.invalidate();
    m_timers.KillTimer(kPlayTimeTimer + s);
}

// ---- received messages --------------------------------------------------------------

void CTable::OnFrame(CClientLink& link, const CFrame& frame) {
    const uint16_t type = frame.header.type;
    if (type == msg::Detect) {
        link.Send(CDetect{});
        return;
    }
    if (m_stage == Stage::Ended)
        return;
    const int seat = seatOf(link);
    const int watcher = watcherOf(link);
    if (seat < 0 && watcher < 0)
        return;
    const bool player = seat >= 0;
    const DispatchResult r = DispatchFromClient(
        type, frame.body,
        Overloaded{
            [&](const CAgree_Start& m) { return player && (onAgree(seat, m), true); },
            [&](const CTurn_InStart& m) { return player && (onTurn(seat, type, m.arc), true); },
            [&](const CTurn_InPlay& m) { return player && (onTurn(seat, type, m.arc), true); },
            [&](const CCrash_Begin_InStart& m) {
                return player &&
                       (onStrike(seat, Shot::Break, {m.arc, m.speed, m.x, m.y, m.z}), true);
            },
            [&](const CCrash_Begin_InPlay& m) {
                return player &&
                       (onStrike(seat, Shot::Play, {m.arc, m.speed, m.x, m.y, m.z}), true);
            },
            [&](const CCrash_End_InStart& m) { return player && (onBreakReport(seat, m), true); },
            [&](const CCrash_End_InPlay& m) { return player && (onShotReport(seat, m), true); },
            [&](const CBall_Moving& m) { return player && (onMoving(seat, m), true); },
            [&](const CBall_Moved& m) { return player && (onMoved(seat, m), true); },
            [&](const CGuo_InMoving&) { return player && (onTimeOut(seat, true), true); },
            [&](const CGuo_InPlay&) { return player && (onTimeOut(seat, false), true); },
            [&](const CExit_Game& m) { return player && (onExitGame(seat, m), true); },
            [&](const CExit_Request&) { return player && (onExitRequest(seat), true); },
            [&](const CExit_Answer& m) { return (onExitAnswer(link, m), true); },
            [&](const CLeave_Seat&) { return player && (onLeaveSeat(seat), true); },
            [&](const CExit_Watch&) { return (onExitWatch(link), true); },
            [&](const CChat_Line& m) { return (onChat(link, m), true); },
            [&](const CMagic_Action& m) { return (onMagic(link, m), true); },
        });
    if (r == DispatchResult::Malformed) {
        link.Close(QStringLiteral("malformed message %1").arg(type));
    } else if (r != DispatchResult::Taken) {
        log(QStringLiteral("ignored message %1 from id %2").arg(type).arg(link.personId));
    }
}

// ---- the game ------------------------------------------------------------------------

bool CTable::rackInProgress() const {
    return m_stage == Stage::Break || m_stage == Stage::BreakFlight || m_stage == Stage::Aim ||
           m_stage == Stage::Flight || m_stage == Stage::BallInHand;
}

void CTable::newGame() {
    m_stage = Stage::Agreeing;
    m_seats[0].agreed = m_seats[1].agreed = false;
    m_timers.KillTimer(kTurnTimer);
    m_timers.KillTimer(kFlightTimer);
    CGame_Start_Server start;
    start.m_nValue[0] = static_cast<uint16_t>(m_nGames + 1);
    toAll(start);
}

void CTable::onAgree(int seat, const CAgree_Start& m) {
    if (m_stage != Stage::Agreeing)
        return;
    if (m.m_nVersion != kClientVersion) {
        CAgree_Start wrong;
        wrong.m_nSeatNo = static_cast<uint16_t>(seat);
        wrong.m_nVersion = kWrongVersion;
        toAll(wrong);
        log(who(seat) + QStringLiteral(" has protocol version %1").arg(m.m_nVersion));
        m_stage = Stage::Ended;
        m_timers.KillAll();
        for (CClientLink* link : links())
            link->Close(QStringLiteral("wrong version at the table"));
        m_host.TableEnded();
        return;
    }
    if (m_seats[seat].agreed)
        return;
    m_seats[seat].agreed = true;
    CAgree_Start echo;
    echo.m_nSeatNo = static_cast<uint16_t>(seat);
    echo.m_nVersion = kClientVersion;
    toAll(echo);
    if (m_seats[0].agreed && m_seats[1].agreed)
        startRack(m_nNextBreaker);
}

void CTable::startRack(int breaker) {
    const uint32_t seed = m_host.Random();
    const desk::SphereRecords rack = desk::standardRack(seed);
    m_position = referee::CTablePosition::Rack(rack);
    m_referee.StartRack(breaker);
    m_stage = Stage::Break;
    COneHand_Start_Server m;
    m.m_Sphere = toWire(m_position.records());
    m.m_nSeatNo = static_cast<uint16_t>(breaker);
    m.m_nValue = static_cast<int32_t>(seed);
    toAll(m);
    log(QStringLiteral("game %1: rack %2, ").arg(m_nGames + 1).arg(seed) + who(breaker) +
        QStringLiteral(" breaks"));
    armTurnTimer();
}

void CTable::armTurnTimer() {
    const int s = m_referee.ToPlay();
    if (s >= 0 && m_seats[s].link)
        m_timers.SetTimer(kTurnTimer, m_config.limits.turnMs);
    else
        m_timers.KillTimer(kTurnTimer);
}

namespace {

// The break and play variants of the turn and strike relays share one
// layout; only the message type differs.
template <class TTurn> TTurn turnMessage(int seat, int32_t arc) {
    TTurn m;
    m.m_nSeatNo = static_cast<uint16_t>(seat);
    m.arc = arc;
    return m;
}

template <class TBegin> TBegin beginMessage(int seat, const CRecoverShot& shot, int status) {
    TBegin m;
    m.m_nSeatNo = static_cast<uint16_t>(seat);
    m.arc = shot.arc;
    m.speed = shot.speed;
    m.x = shot.x;
    m.y = shot.y;
    m.z = shot.z;
    m.m_nStatus = static_cast<int16_t>(status);
    return m;
}

} // namespace

void CTable::onTurn(int seat, uint16_t type, int32_t arc) {
    const bool breakTurn = type == msg::Turn_InStart;
    if (seat != m_referee.ToPlay() || m_stage != (breakTurn ? Stage::Break : Stage::Aim))
        return;
    if (breakTurn)
        toAll(turnMessage<CTurn_InStart>(seat, arc));
    else
        toAll(turnMessage<CTurn_InPlay>(seat, arc));
}

void CTable::onStrike(int seat, Shot kind, const CRecoverShot& shot) {
    const Stage expected = kind == Shot::Break ? Stage::Break : Stage::Aim;
    if (seat != m_referee.ToPlay() || m_stage != expected) {
        log(who(seat) + QStringLiteral(" struck out of turn (") + StageName(m_stage) +
            QLatin1Char(')'));
        return;
    }
    m_strike = shot;
    m_timers.KillTimer(kTurnTimer);
    m_timers.SetTimer(kFlightTimer, m_config.limits.flightMs);
    if (kind == Shot::Break) {
        m_stage = Stage::BreakFlight;
        toAll(beginMessage<CCrash_Begin_InStart>(seat, shot, referee::kStatusBreakFlight));
    } else {
        m_stage = Stage::Flight;
        toAll(beginMessage<CCrash_Begin_InPlay>(seat, shot, referee::kStatusFlight));
    }
}

void CTable::onBreakReport(int seat, const CCrash_End_InStart& m) {
    if (seat != m_referee.ToPlay() || m_stage != Stage::BreakFlight)
        return;
    referee::ReportedShot report;
    report.isBreak = true;
    report.balls = toRecords(m.m_Sphere);
    report.firstPocketed = m.m_nFirst_Gone;
    report.cushionBalls = m.m_nNum_TouchDesk;
    judgeReport(seat, report);
}

void CTable::onShotReport(int seat, const CCrash_End_InPlay& m) {
    if (seat != m_referee.ToPlay() || m_stage != Stage::Flight)
        return;
    referee::ReportedShot report;
    report.balls = toRecords(m.m_Sphere);
    report.touchedNothing = m.m_bIsTouch_Nothing;
    report.touchedMyself = m.m_bIsTouch_MySelf;
    report.noCushion = m.m_bIsTouch_No_Desk;
    judgeReport(seat, report);
}

void CTable::judgeReport(int seat, const referee::ReportedShot& report) {
    const int group = report.isBreak ? desk::kOpenTable : m_referee.GroupOf(seat);
    const referee::JudgedReport j = referee::JudgeReport(
        m_host.Engine(), m_position, group, {m_strike.arc, m_strike.speed, m_strike.z}, report);
    CServerStats& stats = m_host.Stats();
    ++stats.shotsJudged;
    if (!j.identical) {
        ++stats.reportDifferences;
        if (j.check.ok())
            log(who(seat) + QStringLiteral(" report differs from the replay; it stands"));
    }
    if (j.replaced()) {
        ++stats.reportsReplaced;
        log(who(seat) + QStringLiteral(" reported an impossible shot (") +
            referee::ReportProblemName(j.check.problem) +
            QStringLiteral(", ball %1): judged from the replay").arg(j.check.ball));
    }
    judge(report.isBreak ? Shot::Break : Shot::Play, j.balls, j.facts);
}

void CTable::judgeWithReplay(const QString& why) {
    const bool isBreak = m_stage == Stage::BreakFlight;
    const int shooter = m_referee.ToPlay();
    const referee::JudgedReport j = referee::JudgeFromReplay(
        m_host.Engine(), m_position, isBreak ? desk::kOpenTable : m_referee.GroupOf(shooter),
        {m_strike.arc, m_strike.speed, m_strike.z});
    ++m_host.Stats().shotsJudged;
    log(who(shooter) + QStringLiteral(": shot judged from the replay: ") + why);
    judge(isBreak ? Shot::Break : Shot::Play, j.balls, j.facts);
}

void CTable::judge(Shot kind, const desk::SphereRecords& balls, const referee::ShotFacts& facts) {
    m_timers.KillTimer(kFlightTimer);
    const referee::Verdict v = kind == Shot::Break ? m_referee.Break(facts) : m_referee.Shot(facts);
    ++m_nShots;
    const int16_t error = v.IsFoul() ? 1 : 0;
    const uint16_t next =
        v.nextSeat < 0 ? static_cast<uint16_t>(v.shooter) : static_cast<uint16_t>(v.nextSeat);
    if (kind == Shot::Break) {
        CCrash_End_InStart_Server m;
        m.m_Sphere = toWire(balls);
        m.m_nSeatNo = next;
        m.gan_num = static_cast<int16_t>(v.chances);
        m.m_nSeatNo_Mono = solidsSeatWire();
        m.m_nSeatNo_Hua = stripesSeatWire();
        m.m_nStatus = v.nextStatus;
        m.iserror = error;
        toAll(m);
    } else {
        CCrash_End_InPlay_Server m;
        m.m_Sphere = toWire(balls);
        m.m_nSeatNo = next;
        m.gan_num = static_cast<int16_t>(v.chances);
        m.m_nStatus = v.nextStatus;
        m.iserror = error;
        toAll(m);
    }
    m_position = referee::CTablePosition::AfterShot(balls);

    QString line =
        who(v.shooter) + (kind == Shot::Break ? QStringLiteral(" break: ")
                                              : QStringLiteral(" shot %1: ").arg(m_nShots));
    line += v.IsFoul() ? QStringLiteral("foul (") + referee::FoulName(v.foul) + QLatin1Char(')')
                       : QStringLiteral("fair");
    if (v.GameOver())
        line += QStringLiteral(", game won by seat %1").arg(v.winner);
    else if (v.rerack)
        line += QStringLiteral(", black on the break: re-rack");
    else
        line += QStringLiteral(", seat %1 to play with %2 chance(s), status %3")
                    .arg(v.nextSeat)
                    .arg(v.chances)
                    .arg(v.nextStatus);
    if (v.groupsDecided)
        line += QStringLiteral(", seat %1 takes the solids").arg(v.solidsSeat);
    log(line);

    if (v.GameOver()) {
        finishGame(v.winner, QStringLiteral("the black"));
        return;
    }
    if (v.rerack) {
        startRack(v.shooter);
        return;
    }
    if (m_config.maxShotsPerGame > 0 && m_nShots >= m_config.maxShotsPerGame) {
        finishGame(shotLimitWinner(), QStringLiteral("shot limit"));
        return;
    }
    m_stage = v.nextStatus == referee::kStatusBallInHand ? Stage::BallInHand : Stage::Aim;
    if (v.groupsDecided && kind == Shot::Play) {
        // The verdict of a shot in play carries no groups: the desks learn
        // theirs from the position message.
        resyncAll();
    }
    armTurnTimer();
}

int CTable::shotLimitWinner() const {
    // Fewer own balls left wins; then fewer fouls; then the player who did
    // not break, who had the harder start.
    const int left0 = m_referee.BallsLeft(0);
    const int left1 = m_referee.BallsLeft(1);
    if (left0 != left1)
        return left0 < left1 ? 0 : 1;
    const int fouls0 = m_referee.Fouls(0);
    const int fouls1 = m_referee.Fouls(1);
    if (fouls0 != fouls1)
        return fouls0 < fouls1 ? 0 : 1;
    return 1 - m_referee.Breaker();
}

void CTable::finishGame(int winner, const QString& why, bool playOn) {
    m_referee.Abandon();
    m_scores.RecordGame(winner);
    ++m_nGames;
    ++m_host.Stats().games;
    for (int s = 0; s < 2; ++s) {
        // The accounts carry the totals into the next table.
        TablePerson& account = m_host.Accounts().Person(m_seats[s].person.id);
        const referee::SeatScore& score = m_scores.Seat(s);
        for (TablePerson* p : {&account, &m_seats[s].person}) {
            p->gamescore = score.total;
            p->winnum = score.wins;
            p->losenum = score.losses;
            p->equalnum = score.draws;
        }
    }
    sendScoreList(winner);
    log(QStringLiteral("game %1 over (").arg(m_nGames) + why + QStringLiteral("): ") + who(winner) +
        QStringLiteral(" wins; totals %1 : %2")
            .arg(m_scores.Seat(0).total)
            .arg(m_scores.Seat(1).total));
    m_nNextBreaker = 1 - m_nNextBreaker;
    m_nShots = 0;
    if (playOn)
        newGame();
}

void CTable::sendScoreList(int winner) {
    CScore_List_Server m;
    m.m_nWinner = static_cast<uint16_t>(winner < 0 ? 0 : winner);
    for (int s = 0; s < 2; ++s) {
        const referee::SeatScore& score = m_scores.Seat(s);
        m.m_nScore[s] = score.game;
        m.m_nTotalScore[s] = score.total;
        m.m_nWin[s] = score.wins;
        m.m_nLose[s] = score.losses;
        m.m_nEqual[s] = score.draws;
    }
    toAll(m);
}

void CTable::onMoving(int seat, const CBall_Moving& m) {
    if (seat != m_referee.ToPlay() || m_stage != Stage::BallInHand)
        return;
    CBall_Moving relay = m;
    relay.m_nSeatNo = static_cast<uint16_t>(seat);
    toAllBut(m_seats[seat].link, relay);
}

void CTable::onMoved(int seat, const CBall_Moved& m) {
    if (seat != m_referee.ToPlay() || m_stage != Stage::BallInHand)
        return;
    const referee::CheckResult check = referee::CheckCuePlacement(m_position.records(), m.x, m.y);
    if (!check.ok()) {
        // The desk only offers legal spots; the placer tries again from the
        // position repeated to everybody.
        log(who(seat) + QStringLiteral(" placed the cue ball illegally (ball %1)").arg(check.ball));
        resyncAll();
        return;
    }
    m_position.PlaceCueBall({m.x, m.y});
    m_referee.CueBallPlaced();
    m_stage = Stage::Aim;
    CBall_Moved relay = m;
    relay.m_nSeatNo = static_cast<uint16_t>(seat);
    relay.m_nStatus = referee::kStatusAim;
    toAll(relay);
    armTurnTimer();
}

void CTable::onTimeOut(int seat, bool placing) {
    if (seat != m_referee.ToPlay())
        return;
    if (placing ? m_stage != Stage::BallInHand : (m_stage != Stage::Aim && m_stage != Stage::Break))
        return;
    applyTimeOut(placing, who(seat) + QStringLiteral(" let the turn clock run out"));
}

void CTable::applyTimeOut(bool placing, const QString& why) {
    const referee::Verdict v = m_referee.TimeOut();
    if (v.shooter < 0)
        return;
    if (placing) {
        CGuo_InMoving_Server m;
        m.m_nSeatNo = static_cast<uint16_t>(v.shooter);
        m.m_nSeatNo_Next = static_cast<uint16_t>(v.nextSeat);
        m.num = static_cast<int16_t>(v.chances);
        toAll(m);
    } else {
        CGuo_InPlay_Server m;
        m.m_nSeatNo = static_cast<uint16_t>(v.shooter);
        m.m_nSeatNo_Next = static_cast<uint16_t>(v.nextSeat);
        m.num = static_cast<int16_t>(v.chances);
        toAll(m);
    }
    log(why + QStringLiteral(": foul (time out), seat %1 to play with %2 chance(s)")
                  .arg(v.nextSeat)
                  .arg(v.chances));
    armTurnTimer();
}

// ---- leaving ------------------------------------------------------------------------

void CTable::onExitGame(int seat, const CExit_Game&) {
    if (!running())
        return;
    const uint32_t id = m_seats[seat].person.id;
    if (rackInProgress()) {
        // Leaving by force in the middle of a game loses it.
        finishGame(1 - seat, who(seat) + QStringLiteral(" left"), false);
        endTable(id, kReasonForced, who(seat) + QStringLiteral(" left in the middle of a game"));
    } else {
        endTable(id, kReasonNormal, who(seat) + QStringLiteral(" left between games"));
    }
}

void CTable::onExitRequest(int seat) {
    if (!running())
        return;
    if (!rackInProgress()) {
        endTable(m_seats[seat].person.id, kReasonAgreed,
                 who(seat) + QStringLiteral(" asked to leave between games"));
        return;
    }
    if (m_nExitAsker >= 0)
        return;
    m_nExitAsker = seat;
    CExit_Request m;
    m.m_nPersonId = m_seats[seat].person.id;
    m.m_nSeatNo = static_cast<uint16_t>(seat);
    toAllBut(m_seats[seat].link, m);
    m_timers.SetTimer(kExitAnswerTimer, m_config.limits.exitAnswerMs);
    log(who(seat) + QStringLiteral(" asks to leave"));
}

void CTable::onExitAnswer(CClientLink& link, const CExit_Answer& m) {
    const int seat = seatOf(link);
    if (seat < 0 || m_nExitAsker < 0 || seat == m_nExitAsker ||
        m.m_nAskerId != m_seats[m_nExitAsker].person.id)
        return;
    CExit_Answer relay = m;
    relay.m_nPersonId = link.personId;
    relay.m_nSeatNo = static_cast<int16_t>(seat);
    toAll(relay);
    const int asker = m_nExitAsker;
    m_nExitAsker = -1;
    m_timers.KillTimer(kExitAnswerTimer);
    if (m.m_nAnswer == 0) {
        endTable(m_seats[asker].person.id, kReasonAgreed,
                 who(asker) + QStringLiteral(" leaves with the other's consent"));
    } else {
        CExit_Refused_Server refused;
        refused.m_nPersonId = m_seats[asker].person.id;
        if (m_seats[asker].link)
            m_seats[asker].link->Send(refused);
        log(who(seat) + QStringLiteral(" refused to let ") + who(asker) + QStringLiteral(" go"));
    }
}

void CTable::onLeaveSeat(int seat) {
    if (m_stage == Stage::Waiting) {
        CClientLink* link = m_seats[seat].link;
        log(who(seat) + QStringLiteral(" leaves the seat"));
        CPerson_Leave_Server leave;
        leave.m_nPersonId = m_seats[seat].person.id;
        toAll(leave);
        m_seats[seat] = Seat{};
        if (link)
            link->Close(QStringLiteral("left the seat"));
        if (!m_seats[0].occupied && !m_seats[1].occupied)
            m_timers.KillTimer(kStartupTimer);
    } else if (m_stage == Stage::Agreeing && m_nGames == 0) {
        abortStartup(-1, m_seats[seat].person.id,
                     who(seat) + QStringLiteral(" left before the first game"));
    } else if (running() && !rackInProgress()) {
        endTable(m_seats[seat].person.id, kReasonNormal,
                 who(seat) + QStringLiteral(" left between games"));
    }
}

void CTable::onExitWatch(CClientLink& link) {
    const int w = watcherOf(link);
    if (w >= 0) {
        removeWatcher(static_cast<std::size_t>(w), true);
        return;
    }
    const int seat = seatOf(link);
    if (seat < 0)
        return;
    if (running())
        onExitGame(seat, CExit_Game{});
    else
        onLeaveSeat(seat);
}

void CTable::onChat(CClientLink& link, CChat_Line m) {
    // Who speaks is the connection's business, not the line's.
    m.m_nPersonId = link.personId;
    const int seat = seatOf(link);
    if (seat >= 0) {
        m.m_nSeatNo = static_cast<int16_t>(seat);
        m.m_nWatchNo = -1;
    }
    m.SetText(m.m_sText);
    toAll(m);
}

void CTable::onMagic(CClientLink& link, CMagic_Action m) {
    const int seat = seatOf(link);
    const int w = watcherOf(link);
    int64_t* last = seat >= 0 ? &m_seats[seat].lastMagicMs
                              : &m_watchers[static_cast<std::size_t>(w)].lastMagicMs;
    const auto refuse = [&](int16_t kind) {
        CMagic_Action_Failed_Server failed;
        failed.m_nPersonId = link.personId;
        failed.m_nKind = kind;
        link.Send(failed);
    };
    if (seat < 0) {
        refuse(1); // watchers have no seat to act from
        return;
    }
    const int64_t now = m_clock.elapsed();
    if (*last >= 0 && now - *last < m_config.limits.magicIntervalMs) {
        refuse(3);
        return;
    }
    *last = now;
    m.m_nSenderId = link.personId;
    m.m_nSeatNo = static_cast<uint16_t>(seat);
    m.m_nToAll = m.m_nTargetId == -1 ? 1 : 0;
    toAll(m);
}

} // namespace server
