// The local player's mouse: aiming, the spin selector, the power bar and the
// charged release, placing the cue ball by hand and the start button.
#include "desk/control/CDesk.h"

#include "desk/model/Units.h"

#include <QMouseEvent>
#include <cmath>
#include <cstdlib>

namespace desk::control {

namespace {

constexpr int kMovingReportPixels = 20;

// Pointer positions are whole pixels, as the window system reports them.
int pixel(double v) {
    return static_cast<int>(std::floor(v));
}

bool aimingStatus(int16_t status) {
    return status == DeskStatus::BreakAiming || status == DeskStatus::Aiming;
}

} // namespace

bool CDesk::TakesMouse() const {
    return m_engine && !m_bWatching && !m_bShotRunning && m_nStatus != DeskStatus::NoInput;
}

void CDesk::mouseMoveEvent(QMouseEvent* event) {
    const int px = pixel(event->position().x());
    const int py = pixel(event->position().y());
    UpdatePointerPicture(px, py);
    OnMouseMove(px, py);
}

void CDesk::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLeftButtonDown(pixel(event->position().x()), pixel(event->position().y()));
}

void CDesk::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLeftButtonUp();
}

void CDesk::OnMouseMove(int px, int py) {
    if (!TakesMouse() || m_turnClock.turnLoc() != 0)
        return;
    const bool placing = m_nStatus == DeskStatus::BallInHand;
    if (!aimingStatus(m_nStatus) && !placing)
        return;
    if (m_regions.spinSelector().contains(px, py)) {
        m_bOverSelector = true;
        return;
    }
    m_bOverSelector = false;

    const CViewGeometry& view = m_engine->view();
    const WorldPoint pointer = view.screenToWorld(px, py);

    // The aiming aid: the object ball under the pointer and where it would go.
    const BallCentres centres = ObjectBallCentres();
    m_nTargetBall = targetBallAt(centres, pointer);
    if (m_nTargetBall >= 0) {
        const WorldPoint ball = centres[static_cast<std::size_t>(m_nTargetBall)];
        m_arrow.ball = ball;
        m_arrow.tip = arrowTip(ball, pointer);
        m_arrow.shown = arrowShownFor(ball, pointer);
    }

    // The cue turns towards the pointer.
    const Vec3 cue = CueBallPosition();
    const ScreenPoint cueOnScreen = view.worldToScreen(cue.x, cue.y);
    const double phi = pointerAngle(px - cueOnScreen.x, py - cueOnScreen.y);
    m_nCueArc = cueArcFor(phi);
    ReplaceCue();
    m_aimLine.from = {cue.x, cue.y};
    m_aimLine.to = pointer;
    m_aimLine.shown = m_cue.shown &&
                      aimLineReachesPointer({cue.x, cue.y}, m_cue.angle, m_power.pullBack, pointer);

    // The other desks follow the cue in steps of more than 30°.
    if (aimingStatus(m_nStatus) && std::fabs(phi - m_lastReportedAngle) > kReportedTurn) {
        m_lastReportedAngle = phi;
        const int32_t arc = cueArcFor(phi);
        const bool alive = m_nStatus == DeskStatus::BreakAiming
                               ? Fire([arc](_IDeskEvents& s) { s.Turn_OnStart(arc); })
                               : Fire([arc](_IDeskEvents& s) { s.Turn_OnPlay(arc); });
        if (!alive)
            return;
    }

    if (placing) {
        if (std::abs(px - m_lastReportedPoint.x) > kMovingReportPixels ||
            std::abs(py - m_lastReportedPoint.y) > kMovingReportPixels) {
            const int32_t x = toInterface(pointer.x);
            const int32_t y = toInterface(pointer.y);
            if (!Fire([x, y](_IDeskEvents& s) { s.Moving(x, y, 0); }))
                return;
            m_lastReportedPoint = {px, py};
        }
        // The cue ball follows the pointer.
        if (!m_engine || m_bShotRunning)
            return;
        m_engine->placeCueBall(pointer.x, pointer.y, true);
        m_bCueBallShown = true;
        m_bCueBallByHand = true;
        ReplaceCue();
    }
    Render();
}

void CDesk::OnLeftButtonDown(int px, int py) {
    if (!TakesMouse())
        return;
    if (m_regions.spinSelector().contains(px, py)) {
        // Only the height matters; the mark goes where the click was.
        m_nTip = m_regions.tipOffsetAt(py);
        m_spinMark = CInputRegions::spinMarkAt(px, py);
        Render();
        m_bOverSelector = true;
        return;
    }
    m_bOverSelector = false;

    switch (m_nStatus) {
    case DeskStatus::BeforeGame:
        if (m_regions.startButton().contains(px, py)) {
            if (Fire([](_IDeskEvents& s) { s.AgreeStart(); }))
                Render();
        }
        break;
    case DeskStatus::BallInHand:
        if (IsLegalPlacement(px, py)) {
            const WorldPoint p = m_engine->view().screenToWorld(px, py);
            const int32_t x = toInterface(p.x);
            const int32_t y = toInterface(p.y);
            // No more input until the host has the placement confirmed.
            m_nStatus = DeskStatus::NoInput;
            Fire([x, y](_IDeskEvents& s) { s.Moved(x, y, 0); });
        }
        break;
    case DeskStatus::BreakAiming:
    case DeskStatus::Aiming:
        if (m_turnClock.turnLoc() != 0)
            break;
        if (m_regions.powerBar().contains(px, py)) {
            powerBarClick(m_power, py - m_regions.powerBar().top, m_regions.powerBarHeight());
            Render();
        } else {
            m_bCharging = true;
            m_timers.SetTimer(kChargeTimer, kChargeTimerMs);
        }
        break;
    default:
        break;
    }
}

void CDesk::OnLeftButtonUp() {
    Release();
}

void CDesk::LButtonUp() {
    Release();
}

void CDesk::Release() {
    if (!m_engine || m_bWatching || m_bShotRunning || m_bOverSelector || m_turnClock.turnLoc() != 0)
        return;
    if (!aimingStatus(m_nStatus) || !m_bCharging)
        return;
    const bool breakShot = m_nStatus == DeskStatus::BreakAiming;
    m_power.power = releasePower(m_power.power);
    const int32_t arc = m_nCueArc;
    const int32_t speed = m_power.power;
    const int32_t z = m_nTip;

    if (!Fire([](_IDeskEvents& s) { s.StartCrash(); }))
        return;
    const bool alive = breakShot
                           ? Fire([&](_IDeskEvents& s) { s.Begin_OnStart(arc, speed, 0, 0, z); })
                           : Fire([&](_IDeskEvents& s) { s.Begin_OnPlay(arc, speed, 0, 0, z); });
    if (!alive)
        return;

    m_timers.KillTimer(kChargeTimer);
    m_nStatus = breakShot ? DeskStatus::BreakInFlight : DeskStatus::InFlight;
    m_bCharging = false;
    Strike(arc, speed);
}

void CDesk::OnChargeTick() {
    if (!m_bCharging) {
        m_timers.KillTimer(kChargeTimer);
        return;
    }
    chargeTick(m_power);
}

bool CDesk::IsLegalPlacement(int px, int py) const {
    if (!m_engine || m_turnClock.turnLoc() != 0 || !m_regions.placementArea().contains(px, py))
        return false;
    return clearOfBalls(ObjectBallCentres(), m_engine->view().screenToWorld(px, py));
}

int CDesk::PointerPictureAt(int px, int py) const {
    if (!m_engine || m_bWatching || m_bShotRunning)
        return 0;
    if (m_nStatus == DeskStatus::BallInHand)
        return IsLegalPlacement(px, py) ? 1 : 2;
    if (m_nStatus != DeskStatus::BeforeGame && !m_regions.spinSelector().contains(px, py))
        return 1;
    return 0;
}

void CDesk::UpdatePointerPicture(int px, int py) {
    const int picture = PointerPictureAt(px, py);
    if (picture == m_nPointerPicture || !m_renderer)
        return;
    m_nPointerPicture = picture;
    m_renderer->SetPointerPicture(picture);
}

} // namespace desk::control
