// The control's own state: construction, services, what a frame shows, the
// banner and pocket-light timers, the turn clock and the events.
#include "desk/control/CDesk.h"

#include "desk/model/Units.h"
#include "platform/msgbox/MessageBox.h"

#include <QPointer>
#include <algorithm>

namespace desk::control {

CDesk::CDesk(Services services, QWidget* parent)
    : QWidget(parent), m_rendererFactory(std::move(services.renderers)),
      m_sounds(std::move(services.sounds)), m_clock(std::move(services.clock)),
      m_timers(static_cast<platform::ITimerOwner&>(*this)) {
    setObjectName(QString::fromLatin1(kDeskWindowName));
    setMouseTracking(true);
    if (!m_clock)
        m_clock = std::make_shared<CSystemClock>();
    m_spinMark = m_regions.centredSpinMark();
}

// The worker goes first: its handlers reach into everything below.
CDesk::~CDesk() {
    m_worker.stop();
    m_timers.KillAll();
}

// ---- site ------------------------------------------------------------------

void CDesk::SetRendererFactory(DeskRendererFactory factory) {
    m_rendererFactory = std::move(factory);
}

void CDesk::SetSoundEffects(std::shared_ptr<sound::ISoundEffects> sounds) {
    m_sounds = std::move(sounds);
}

void CDesk::SetShotClock(std::shared_ptr<IShotClock> clock) {
    m_clock = clock ? std::move(clock) : std::make_shared<CSystemClock>();
}

// ---- events and sounds -------------------------------------------------------

void CDesk::Advise(_IDeskEvents* sink) {
    if (sink != nullptr && std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end())
        m_sinks.push_back(sink);
}

void CDesk::Unadvise(_IDeskEvents* sink) {
    std::erase(m_sinks, sink);
}

// Through every sink advised when the event starts and still advised when
// its turn comes, so a sink may unadvise itself or another one meanwhile.
// A host that destroys the control from inside an event stops the firing.
bool CDesk::Fire(const std::function<void(_IDeskEvents&)>& call) {
    const QPointer<CDesk> alive(this);
    const std::vector<_IDeskEvents*> sinks = m_sinks;
    for (_IDeskEvents* sink : sinks) {
        if (std::find(m_sinks.begin(), m_sinks.end(), sink) != m_sinks.end())
            call(*sink);
        if (!alive)
            return false;
    }
    return true;
}

void CDesk::PlaySound(sound::Effect effect) {
    if (m_sounds)
        m_sounds->Play(effect);
}

// ---- the balls as they are now ---------------------------------------------------

BallSnapshot CDesk::CurrentBalls() const {
    // While the worker steps a shot, the engine belongs to it: read the copy
    // of its last step instead.
    if (m_worker.active())
        return m_worker.snapshot();
    BallSnapshot balls{};
    if (m_engine)
        for (int i = 0; i < kBallCount; ++i)
            balls[static_cast<std::size_t>(i)] = m_engine->ball(i);
    return balls;
}

Vec3 CDesk::CueBallPosition() const {
    return CurrentBalls()[kCueBall].position;
}

BallCentres CDesk::ObjectBallCentres() const {
    const BallSnapshot balls = CurrentBalls();
    BallCentres centres{};
    for (int i = 0; i < kObjectBallCount; ++i) {
        const Vec3& p = balls[static_cast<std::size_t>(i)].position;
        centres[static_cast<std::size_t>(i)] = {p.x, p.y};
    }
    return centres;
}

std::string CDesk::NameOf(int loc) const {
    return CPlayers::isLoc(loc) ? m_players.entry(loc).m_sName : std::string();
}

// ---- shown state -------------------------------------------------------------------

void CDesk::ShowAimAidsFor(int loc) {
    m_aimLine.shown = loc == 0;
    m_arrow.shown = loc == 0;
}

void CDesk::HideAimAids() {
    m_aimLine.shown = false;
    m_arrow.shown = false;
}

void CDesk::ReplaceCue() {
    m_cue.shown = true;
    m_cue.ballPoint = CueBallPosition();
    m_cue.angle = fromInterface(m_nCueArc);
}

void CDesk::ResetSpin() {
    m_nTip = 0;
    m_spinMark = m_regions.centredSpinMark();
}

void CDesk::ShowPrompt(std::string text) {
    m_banner.shown = true;
    m_banner.text = std::move(text);
    m_timers.SetTimer(kBannerTimer, kBannerMs);
}

void CDesk::StartPocketLight(int pocket) {
    if (pocket < 0 || pocket >= static_cast<int>(m_pocketLights.size()))
        return;
    m_pocketLights[static_cast<std::size_t>(pocket)] = {true, 0};
    m_timers.SetTimer(kPocketLightTimer + pocket, kPocketLightMs);
}

DeskScene CDesk::CurrentScene() const {
    DeskScene s;
    s.width = m_nWidth;
    s.height = m_nHeight;
    s.status = m_nStatus;
    s.watching = m_bWatching;
    s.shotRunning = m_bShotRunning;
    s.turnLoc = m_turnClock.turnLoc();
    s.clockSeconds = m_turnClock.seconds();
    s.myGroup = m_nMyGroup;
    s.subtype = m_nSubtype;
    s.deskStyle = m_nDeskStyle;

    const BallSnapshot balls = CurrentBalls();
    BallStatuses statuses{};
    for (int i = 0; i < kBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const BallView& v = balls[k];
        SceneBall& b = s.balls[k];
        b.shown = v.inPlay && (i != kCueBall || m_bCueBallShown);
        b.position = v.position;
        b.rotation = v.rotation;
        b.status = v.status;
        b.placedByHand = i == kCueBall && m_bCueBallByHand;
        statuses[k] = v.status;
    }

    s.cue = m_cue;
    s.cue.pullBack = std::clamp(m_power.pullBack, kBallRadius, kFullPullBack);
    s.aimLine = m_aimLine;
    s.arrow = m_arrow;
    s.targetBall = m_nTargetBall;
    s.targetLegal = m_nTargetBall >= 0 && isLegalTarget(m_nTargetBall, m_nMyGroup, statuses);
    s.power = m_power.power;
    s.spinMark = m_spinMark;
    for (int loc = 0; loc < 2; ++loc) {
        const CPlayerEntry& e = m_players.entry(loc);
        s.players[static_cast<std::size_t>(loc)] = {e.m_sName, e.m_nScore, e.m_nChances,
                                                    e.m_nReady != 0};
    }
    s.banner = m_banner;
    s.scoreList = m_scoreList;
    s.pocketLights = m_pocketLights;
    s.background = m_background;
    return s;
}

// A frame asked for by the shot worker is complete when this returns: the
// worker's blocking send waits for it, which is all it needs to know.
void CDesk::Render() {
    if (!m_renderer)
        return;
    // The aim line starts at the cue ball in every frame, and is on whenever
    // the local player may aim.
    const BallView cueBall = CurrentBalls()[kCueBall];
    if (m_bCueBallShown && cueBall.inPlay) {
        m_aimLine.from = {cueBall.position.x, cueBall.position.y};
        if (!m_bWatching && m_turnClock.turnLoc() == 0 &&
            (m_nStatus == DeskStatus::BreakAiming || m_nStatus == DeskStatus::Aiming))
            m_aimLine.shown = true;
    }
    m_renderer->Render(CurrentScene());
}

void CDesk::paintEvent(QPaintEvent*) {
    Render();
}

// ---- turn clock -----------------------------------------------------------------

void CDesk::StartTurn(int loc) {
    if (m_turnClock.start(loc)) {
        m_timers.SetTimer(CTurnClock::kTimerId, CTurnClock::kTickMs);
        return;
    }
    m_timers.KillTimer(CTurnClock::kTimerId);
    platform::MessageBox(this, QStringLiteral("loc=%1").arg(loc));
}

void CDesk::StopTurn() {
    m_turnClock.stop();
    m_timers.KillTimer(CTurnClock::kTimerId);
}

// False when the control went away with the time-out's event.
bool CDesk::OnTurnClockTick() {
    switch (m_turnClock.tick()) {
    case CTurnClock::Tick::Counted:
        break;
    case CTurnClock::Tick::Hurry:
        PlaySound(sound::Effect::Hurry);
        break;
    case CTurnClock::Tick::Stopped:
        m_timers.KillTimer(CTurnClock::kTimerId);
        break;
    case CTurnClock::Tick::Expired:
        m_timers.KillTimer(CTurnClock::kTimerId);
        if (m_nStatus == DeskStatus::BreakAiming || m_nStatus == DeskStatus::Aiming)
            return Fire([](_IDeskEvents& s) { s.Guo(); });
        if (m_nStatus == DeskStatus::BallInHand)
            return Fire([](_IDeskEvents& s) { s.Guo_Moving(); });
        break;
    }
    return true;
}

// ---- timers ------------------------------------------------------------------------

void CDesk::OnTimer(int id) {
    if (id == kChargeTimer) {
        OnChargeTick();
    } else if (id == CTurnClock::kTimerId) {
        if (!OnTurnClockTick())
            return;
    } else if (id == kBannerTimer) {
        m_timers.KillTimer(kBannerTimer);
        m_banner.shown = false;
    } else if (id >= kPocketLightTimer &&
               id < kPocketLightTimer + static_cast<int>(m_pocketLights.size())) {
        ScenePocketLight& light = m_pocketLights[static_cast<std::size_t>(id - kPocketLightTimer)];
        if (++light.frame >= kPocketLightFrames) {
            m_timers.KillTimer(id);
            light = {};
        }
    }
    Render();
}

} // namespace desk::control
