#include "desk/physics/ShotEngine.h"

#include "desk/model/Units.h"
#include "desk/physics/VelocityRule.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace desk {

namespace {

// Any fixed value will do: what matters is that every strike starts the
// engine's constraint shuffling from the same point.
constexpr unsigned long kStrikeSeed = 0x5EED;

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kStraightAhead = 0.5235988; // 30°

// An angle brought into (−2π, 0].
double intoMinusTwoPiZero(double a) {
    a = std::fmod(a, kTwoPi);
    if (a > 0)
        a -= kTwoPi;
    return a;
}

} // namespace

CShotEngine::CShotEngine(const CViewGeometry& view)
    : m_view(view), m_world(m_layout, m_params.ballDensity()) {
    m_statuses.fill(kOnTable);
    m_report.events.reserve(32);
}

CShotEngine::~CShotEngine() = default;

void CShotEngine::setMyGroup(int group) {
    m_nMyGroup = (group == kSolids || group == kStripes) ? group : kOpenTable;
}

bool CShotEngine::isLegalTarget(int index) const {
    return desk::isLegalTarget(index, m_nMyGroup, m_statuses);
}

void CShotEngine::addEvent(ShotEvent::Kind kind, int value) {
    m_report.events.push_back({kind, value});
}

void CShotEngine::putAt(int i, double x, double y) {
    m_world.setPosition(i, x, y, kBallRadius);
    m_world.setLinearVelocity(i, {});
    m_world.setAngularVelocity(i, {});
}

// ---- placements ------------------------------------------------------------

void CShotEngine::placeRack(const SphereRecords& records) {
    ode::ensureReady();
    m_bRunning = false;
    m_nStepCount = 0;
    for (int i = 0; i < kBallCount; ++i) {
        const BallPlacement p = placementFrom(records[static_cast<std::size_t>(i)]);
        m_inPlay[static_cast<std::size_t>(i)] = true;
        m_statuses[static_cast<std::size_t>(i)] = p.status;
        m_touchedCushion[static_cast<std::size_t>(i)] = false;
        putAt(i, p.x, p.y);
        m_world.setRotation(i, startOrientation());
    }
    m_world.rebuild(m_params.ballDensity());
}

void CShotEngine::placeFromRecords(const SphereRecords& records) {
    ode::ensureReady();
    for (int i = 0; i < kBallCount; ++i) {
        const BallPlacement p = placementFrom(records[static_cast<std::size_t>(i)]);
        m_inPlay[static_cast<std::size_t>(i)] = true;
        m_statuses[static_cast<std::size_t>(i)] = p.status;
        putAt(i, p.x, p.y);
        m_world.setRotation(i, p.rotation);
    }
    if (m_statuses[kCueBall] != kPocketedThisShot)
        m_world.enable(kCueBall);
}

void CShotEngine::removeAllFromPlay() {
    m_inPlay.fill(false);
}

void CShotEngine::placeCueBall(double x, double y, bool onTable) {
    ode::ensureReady();
    m_world.enable(kCueBall);
    putAt(kCueBall, x, y);
    m_inPlay[kCueBall] = true;
    if (onTable)
        m_statuses[kCueBall] = kOnTable;
}

void CShotEngine::gatherAtCentre() {
    ode::ensureReady();
    for (int i = 0; i < kBallCount; ++i) {
        putAt(i, 0, 0);
        m_inPlay[static_cast<std::size_t>(i)] = true;
    }
}

void CShotEngine::rebuild() {
    ode::ensureReady();
    m_world.rebuild(m_params.ballDensity());
}

// ---- the shot ----------------------------------------------------------------

bool CShotEngine::strike(const Strike& s) {
    ode::ensureReady();
    m_bCueBallFree = true;
    const bool strong = s.speed > kStrongShotPower;
    const double speed = std::clamp<int32_t>(s.speed, 0, kMaxPower);
    for (auto& status : m_statuses)
        if (status == kPocketedThisShot)
            status = kPocketedEarlier;
    m_statuses[kCueBall] = kOnTable;
    m_judge.reset();
    m_touchedCushion.fill(false);
    m_cueAngle = fromInterface(s.arc);
    m_tipOffset = fromInterface(s.tip);

    // Put the balls at the head of the top space in index order, so the pair
    // walk of this shot does not depend on which ball happened to move last,
    // and restart the constraint shuffling from the same seed.
    for (int i = 0; i < kBallCount; ++i) {
        const Vec3 p = m_world.position(i);
        m_world.setPosition(i, p.x, p.y, p.z);
    }
    dRandSetSeed(kStrikeSeed);

    // The cue ball on the table is always enabled by its placement; a host
    // that strikes without placing it again must not lose the shot.
    if (m_inPlay[kCueBall] && !m_world.isEnabled(kCueBall))
        m_world.enable(kCueBall);
    // The force acts during the next world step only: an impulse of
    // speed × 0.05 in the direction of the cue.
    dBodyAddForce(m_world.body(kCueBall), std::cos(m_cueAngle) * speed,
                  std::sin(m_cueAngle) * speed, 0);

    m_nStepCount = 0;
    m_bRunning = true;
    return strong;
}

void CShotEngine::onCushionContact(int ball) {
    if (ball >= 0 && ball < kBallCount)
        m_touchedCushion[static_cast<std::size_t>(ball)] = true;
}

void CShotEngine::onBallContact(int first, int second) {
    if (first != kCueBall && second != kCueBall)
        return;
    m_bCueBallFree = false;
    m_judge.cueTouched(first == kCueBall ? second : first, m_nMyGroup, m_statuses);
    addEvent(ShotEvent::Kind::PlaySound, static_cast<int>(Sound::CueContact));
}

bool CShotEngine::followDrawApplies(bool touchedNothingBefore) const {
    if (m_tipOffset == 0 || !touchedNothingBefore || m_judge.cueTouchedNothing())
        return false;
    const int first = m_judge.record().m_nFirst_Touch;
    if (first < 0 || first >= kBallCount)
        return false;
    // Measured on whole screen pixels, as the desk sees the balls.
    const ScreenPoint ballPx = screenPosition(first);
    const ScreenPoint cuePx = screenPosition(kCueBall);
    const double dxPx = std::floor(cuePx.x) - std::floor(ballPx.x);
    const double dyPx = std::floor(cuePx.y) - std::floor(ballPx.y);
    const double dx = dxPx * CViewGeometry::visibleWidth() / m_view.width();
    const double dy = -dyPx * CViewGeometry::visibleHeight() / m_view.height();
    const double back = intoMinusTwoPiZero(std::atan2(dy, dx));
    const double expected = intoMinusTwoPiZero(m_cueAngle - std::numbers::pi);
    return std::fabs(back - expected) <= kStraightAhead;
}

void CShotEngine::processBall(int i, bool followDraw, LoopKind kind) {
    const auto k = static_cast<std::size_t>(i);
    const bool processed =
        m_inPlay[k] && (kind == LoopKind::Synchronous || m_statuses[k] == kOnTable);
    if (!processed) {
        m_world.disable(i);
        return;
    }

    const Vec3 p = m_world.position(i);
    const int pocket = m_layout.pocketAt(p.x, p.y);
    if (pocket >= 0) {
        m_judge.pocketed(i);
        if (i == kCueBall) {
            m_inPlay[k] = false;
            addEvent(ShotEvent::Kind::CueBallGone);
            addEvent(ShotEvent::Kind::PlaySound, static_cast<int>(Sound::CuePocketed));
        } else {
            const WorldPoint tray = m_view.traySlot(i);
            m_world.setPosition(i, tray.x, tray.y, kBallRadius);
            m_world.setRotation(i, startOrientation());
            addEvent(ShotEvent::Kind::PlaySound, static_cast<int>(Sound::BallPocketed));
        }
        addEvent(ShotEvent::Kind::PocketLight, pocket);
        m_world.setLinearVelocity(i, {});
        m_world.setAngularVelocity(i, {});
        m_world.disable(i);
    } else {
        m_world.setPosition(i, p.x, p.y, kBallRadius);
    }

    VelocityContext ctx;
    ctx.cueBall = i == kCueBall;
    ctx.cueBallFree = m_bCueBallFree;
    ctx.touchedCushion = m_touchedCushion[k];
    ctx.followDraw = followDraw;
    ctx.tipOffset = m_tipOffset;
    if (followDraw && ctx.cueBall)
        ctx.firstBallVelocity = m_world.linearVelocity(m_judge.record().m_nFirst_Touch);
    const BallMotion next =
        nextMotion({m_world.linearVelocity(i), m_world.angularVelocity(i)}, ctx);
    m_world.setLinearVelocity(i, next.linear);
    m_world.setAngularVelocity(i, next.angular);
}

const StepReport& CShotEngine::step(LoopKind kind) {
    ode::ensureReady();
    m_report.events.clear();
    m_report.finished = false;
    if (!m_bRunning) {
        m_report.step = 0;
        m_report.moving = false;
        m_report.finished = true;
        return m_report;
    }

    if (kind == LoopKind::Synchronous && m_nStepCount == kDetectStep - 1)
        addEvent(ShotEvent::Kind::DetectRequest);

    const bool touchedNothingBefore = m_judge.cueTouchedNothing();
    m_world.collide(*this);
    const bool followDraw = followDrawApplies(touchedNothingBefore);
    m_world.step();

    ++m_nStepCount;
    if (kind == LoopKind::Worker && m_nStepCount == kDetectStep)
        addEvent(ShotEvent::Kind::DetectRequest);

    for (int i = 0; i < kBallCount; ++i)
        processBall(i, followDraw, kind);

    m_report.step = m_nStepCount;
    m_report.moving = m_world.anyBodyEnabled();
    if (!m_report.moving || m_nStepCount >= kMaxShotSteps) {
        m_report.finished = true;
        m_nStepCount = 0;
        m_bRunning = false;
    }
    return m_report;
}

void CShotEngine::finishShot() {
    ode::ensureReady();
    m_bRunning = false;
    m_nStepCount = 0;
    m_world.rebuild(m_params.ballDensity());
    m_judge.complete(m_nMyGroup, m_touchedCushion, m_statuses);
    for (int i = 0; i < kBallCount; ++i) {
        m_world.disableBody(i);
        m_touchedCushion[static_cast<std::size_t>(i)] = false;
        const Vec3 p = m_world.position(i);
        m_world.setPosition(i, p.x, p.y, kBallRadius);
    }
}

ShotOutcome CShotEngine::runShot(const Strike& s, const StepObserver& onStep) {
    strike(s);
    ShotOutcome out;
    for (;;) {
        const StepReport& r = step(LoopKind::Worker);
        if (onStep)
            onStep(r);
        if (r.finished) {
            out.steps = r.step;
            break;
        }
    }
    finishShot();
    out.balls = records();
    out.judge = judge();
    return out;
}

// ---- state -------------------------------------------------------------------

BallView CShotEngine::ball(int index) const {
    const auto k = static_cast<std::size_t>(index);
    BallView v;
    v.position = m_world.position(index);
    v.rotation = m_world.rotation(index);
    v.inPlay = m_inPlay.at(k);
    v.status = m_statuses.at(k);
    v.touchedCushion = m_touchedCushion.at(k);
    return v;
}

ScreenPoint CShotEngine::screenPosition(int index) const {
    const Vec3 p = m_world.position(index);
    return m_view.worldToScreen(p.x, p.y);
}

SphereRecords CShotEngine::records() const {
    SphereRecords out{};
    for (int i = 0; i < kBallCount; ++i) {
        const Vec3 p = m_world.position(i);
        out[static_cast<std::size_t>(i)] = makeSphereRecord(
            i, p.x, p.y, m_statuses[static_cast<std::size_t>(i)], m_world.rotation(i));
    }
    return out;
}

} // namespace desk
