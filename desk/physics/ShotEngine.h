#pragma once
// The simulation core of one desk: table, balls, physics world and the shot
// loop, with no window, thread or clock of its own.
//
// A host places balls (from the ball records it is given), strikes, and then
// calls step() until a report says the shot is finished, acting on each
// report's events in order; finishShot() then does the end-of-shot handling
// and records()/judge() give what the shooter reports. The desk control runs
// the steps on its shot worker (see ShotRunner.h for the pacing); the table
// server, bots and tools call runShot(), which does all of it at once.
//
// The same placements and strike give bit-identical results on every run and
// in every process of the same build: the engine's random generator is
// re-seeded at each strike and the world is always built in one order.

#include "desk/model/Balls.h"
#include "desk/model/SphereRecords.h"
#include "desk/model/TableLayout.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/PhysicsParams.h"
#include "desk/physics/PhysicsWorld.h"
#include "desk/physics/ShotReport.h"
#include "desk/rules/ShotJudge.h"

#include <array>
#include <functional>

namespace desk {

inline constexpr int kDetectStep = 250;
inline constexpr int kMaxShotSteps = 1001;
inline constexpr int32_t kMaxPower = 2000;
inline constexpr int32_t kStrongShotPower = 500;

struct BallView {
    Vec3 position;
    Rotation rotation{};
    bool inPlay = false;
    int16_t status = kOnTable;
    bool touchedCushion = false;
};

struct ShotOutcome {
    SphereRecords balls{};
    JudgeRecord judge{};
    int steps = 0;
};

class CShotEngine final : private IContactListener {
public:
    explicit CShotEngine(const CViewGeometry& view = CViewGeometry());
    ~CShotEngine();
    CShotEngine(const CShotEngine&) = delete;
    CShotEngine& operator=(const CShotEngine&) = delete;

    // --- settings -------------------------------------------------------
    // The local player's group (−1 open table, 0 solids, 1 stripes); the
    // shot record is evaluated with it. Other values count as an open table.
    void setMyGroup(int group);
    int myGroup() const { return m_nMyGroup; }
    CPhysicsParams& params() { return m_params; }
    const CPhysicsParams& params() const { return m_params; }
    const CViewGeometry& view() const { return m_view; }
    const CTableLayout& layout() const { return m_layout; }

    // --- placements (window thread, no shot running) ---------------------
    // A new rack or a rebuilt table (StartOneHand, StartOneHandInRecover):
    // every ball in play with its record's position and status and the start
    // orientation; the world is rebuilt, so every body starts enabled.
    void placeRack(const SphereRecords& records);
    // The authoritative state after a shot (EndCrash): positions, statuses and
    // the transmitted orientations; the cue ball's body is enabled unless it
    // was pocketed (status 2).
    void placeFromRecords(const SphereRecords& records);
    // Every ball leaves play (StartGame).
    void removeAllFromPlay();
    // The cue ball in hand at (x, y), in play and enabled (BallMoving); with
    // `onTable` its status becomes 0 as well (BallMoved).
    void placeCueBall(double x, double y, bool onTable);
    // Every ball at the table centre, in play (end of a game).
    void gatherAtCentre();
    // Rebuilds the physics world; every ball keeps its pose.
    void rebuild();

    // --- the shot -------------------------------------------------------
    // Strikes the cue ball (speed clamped to 0 … 2000) and starts the shot.
    // Returns true when the strong-shot sound is due (speed above 500).
    bool strike(const Strike& strike);
    // One step of the running shot. The report lives until the next call.
    // Without a running shot nothing is stepped and the report is finished.
    const StepReport& step(LoopKind kind = LoopKind::Worker);
    // The end-of-shot handling: rebuild, complete the shot record and the
    // statuses (pocketed balls become 2), put every ball to rest on the bed.
    void finishShot();
    bool running() const { return m_bRunning; }
    int stepCount() const { return m_nStepCount; }
    double cueAngle() const { return m_cueAngle; }
    double tipOffset() const { return m_tipOffset; }

    // Strike, every step of the shot loop and the end-of-shot handling on the
    // calling thread, without pacing. `onStep` sees each report.
    using StepObserver = std::function<void(const StepReport&)>;
    ShotOutcome runShot(const Strike& strike, const StepObserver& onStep = {});

    // --- state ------------------------------------------------------------
    BallView ball(int index) const;
    ScreenPoint screenPosition(int index) const;
    const BallStatuses& statuses() const { return m_statuses; }
    const JudgeRecord& judge() const { return m_judge.record(); }
    // The sixteen records of the current state (what End_On* report).
    SphereRecords records() const;
    bool isLegalTarget(int index) const;

    // For tests and tools that need the engine's own view of the world.
    const CPhysicsWorld& world() const { return m_world; }
    CPhysicsWorld& world() { return m_world; }

private:
    void onCushionContact(int ball) override;
    void onBallContact(int first, int second) override;
    bool followDrawApplies(bool touchedNothingBefore) const;
    void processBall(int i, bool followDraw, LoopKind kind);
    void putAt(int i, double x, double y);
    void addEvent(ShotEvent::Kind kind, int value = 0);

    CTableLayout m_layout;
    CViewGeometry m_view;
    CPhysicsParams m_params;
    CPhysicsWorld m_world;
    CShotJudge m_judge;

    std::array<bool, kBallCount> m_inPlay{};
    std::array<bool, kBallCount> m_touchedCushion{};
    BallStatuses m_statuses{};
    int m_nMyGroup = kOpenTable;
    bool m_bRunning = false;
    bool m_bCueBallFree = true;
    int m_nStepCount = 0;
    double m_cueAngle = 0;
    double m_tipOffset = 0;
    StepReport m_report;
};

} // namespace desk
