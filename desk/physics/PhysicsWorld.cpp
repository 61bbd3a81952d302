#include "desk/physics/PhysicsWorld.h"

#include <cstdint>

namespace desk {

namespace {

constexpr int kMaxContactsPerPair = 4;

// A ball is switched off after one idle step. This engine counts the idle
// checks it makes at the start of each step and disables on the N-th, where
// the interface the desk was designed on disabled on the (N+1)-th; 2 here is
// that 1. It matters at the strike: the cue ball is at rest when the check
// runs, and with 1 it would be switched off before its force ever acted.
constexpr int kIdleStepsBeforeDisable = 2;

SubSpace subSpaceOf(Rail rail) {
    switch (rail) {
    case Rail::Left:
        return SubSpace::Left;
    case Rail::Right:
        return SubSpace::Right;
    case Rail::TopLeft:
    case Rail::TopRight:
        return SubSpace::Top;
    case Rail::BottomLeft:
    case Rail::BottomRight:
        return SubSpace::Bottom;
    }
    return SubSpace::Bed;
}

void ballBallSurface(dSurfaceParameters& s) {
    s.mode = dContactBounce;
    s.mu = 1.0;
    s.bounce = 0.96;
    s.bounce_vel = 0.001;
}

void ballCushionSurface(dSurfaceParameters& s) {
    s.mode = dContactBounce;
    s.mu = 1.0;
    s.bounce = 0.8;
    s.bounce_vel = 0.001;
}

// Infinite friction makes the balls roll on the bed without sliding; the
// rolling resistance is applied by the shot loop, not by the engine.
void ballBedSurface(dSurfaceParameters& s) {
    s.mode = dContactBounce | dContactSoftERP | dContactSoftCFM;
    s.mu = dInfinity;
    s.bounce = 0.1;
    s.bounce_vel = 0.001;
    s.soft_erp = 0.08;
    s.soft_cfm = 0.001;
}

} // namespace

CPhysicsWorld::CPhysicsWorld(const CTableLayout& layout, double ballDensity)
    : m_cushionSpecs(cushionBoxes(layout)) {
    ode::ensureReady();
    m_world.reset(dWorldCreate());
    applyWorldSettings();
    buildStatic();
    std::array<Pose, kBallCount> poses{};
    for (int i = 0; i < kBallCount; ++i) {
        const BallPosition rest = restPosition(i);
        poses[static_cast<std::size_t>(i)] = {{rest.x, rest.y, kBallRadius}, startOrientation()};
    }
    buildBalls(poses, ballDensity);
}

CPhysicsWorld::~CPhysicsWorld() {
    destroyAll();
}

void CPhysicsWorld::applyWorldSettings() {
    dWorldID w = m_world.get();
    dWorldSetGravity(w, 0, 0, -9.81);
    dWorldSetERP(w, 0.08);
    dWorldSetCFM(w, 0.00001);
    dWorldSetAutoDisableFlag(w, 1);
    dWorldSetAutoDisableLinearThreshold(w, 0.01);
    dWorldSetAutoDisableAngularThreshold(w, 0.01);
    dWorldSetAutoDisableSteps(w, kIdleStepsBeforeDisable);
    dWorldSetContactMaxCorrectingVel(w, 100);
}

void CPhysicsWorld::buildStatic() {
    m_top = ode::makeSimpleSpace(nullptr);
    for (auto& sub : m_sub)
        sub = ode::makeSimpleSpace(m_top.get());
    m_contacts.reset(dJointGroupCreate(0));
    for (std::size_t k = 0; k < m_cushionSpecs.size(); ++k) {
        const BoxSpec& b = m_cushionSpecs[k];
        m_boxes[k].reset(dCreateBox(subSpace(subSpaceOf(b.rail)), b.sx, b.sy, b.sz));
        dGeomSetPosition(m_boxes[k].get(), b.cx, b.cy, b.cz);
    }
    const BoxSpec bed = bedBox();
    m_bed.reset(dCreateBox(subSpace(SubSpace::Bed), bed.sx, bed.sy, bed.sz));
    dGeomSetPosition(m_bed.get(), bed.cx, bed.cy, bed.cz);
}

void CPhysicsWorld::buildBalls(const std::array<Pose, kBallCount>& poses, double ballDensity) {
    for (int i = 0; i < kBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        dBodyID b = dBodyCreate(m_world.get());
        m_bodies[k].reset(b);
        dBodySetAutoDisableFlag(b, 1);
        dBodySetGravityMode(b, 1);
        dBodySetAutoDisableLinearThreshold(b, 0.01);
        dBodySetAutoDisableAngularThreshold(b, 0.01);
        dBodySetAutoDisableSteps(b, kIdleStepsBeforeDisable);
        dBodySetFiniteRotationMode(b, 1);
        dBodySetData(b, reinterpret_cast<void*>(static_cast<intptr_t>(i)));
        dMass mass;
        dMassSetZero(&mass);
        dMassSetSphere(&mass, ballDensity, kBallRadius);
        dBodySetMass(b, &mass);

        dGeomID g = dCreateSphere(m_top.get(), kBallRadius);
        m_spheres[k].reset(g);
        dGeomSetBody(g, b);
        const Pose& p = poses[k];
        dGeomSetPosition(g, p.position.x, p.position.y, p.position.z);
        setRotation(i, p.rotation);
    }
}

void CPhysicsWorld::destroyAll() {
    for (auto& s : m_spheres)
        s.reset();
    for (auto& b : m_bodies)
        b.reset();
    m_bed.reset();
    for (auto& b : m_boxes)
        b.reset();
    m_contacts.reset();
    for (auto& s : m_sub)
        s.reset();
    m_top.reset();
}

void CPhysicsWorld::rebuild(double ballDensity) {
    ode::ensureReady();
    std::array<Pose, kBallCount> poses{};
    for (int i = 0; i < kBallCount; ++i)
        poses[static_cast<std::size_t>(i)] = {position(i), rotation(i)};
    destroyAll();
    applyWorldSettings();
    buildStatic();
    buildBalls(poses, ballDensity);
}

int CPhysicsWorld::ballOf(dGeomID g) const {
    if (dGeomGetClass(g) != dSphereClass)
        return -1;
    dBodyID b = dGeomGetBody(g);
    return b ? static_cast<int>(reinterpret_cast<intptr_t>(dBodyGetData(b))) : -1;
}

void CPhysicsWorld::nearCallback(void* data, dGeomID o1, dGeomID o2) {
    auto* self = static_cast<CPhysicsWorld*>(data);
    const bool space1 = dGeomIsSpace(o1) != 0;
    const bool space2 = dGeomIsSpace(o2) != 0;
    if (space1 && space2)
        return; // two sub-spaces hold only static boxes: nothing can move there
    if (space1 || space2) {
        // A ball against a sub-space: test it against the boxes inside,
        // whichever of the two comes first in the engine's pair.
        dSpaceCollide2(o1, o2, data, &CPhysicsWorld::nearCallback);
        return;
    }
    self->contact(o1, o2, *self->m_listener);
}

void CPhysicsWorld::contact(dGeomID o1, dGeomID o2, IContactListener& listener) {
    const int ball1 = ballOf(o1);
    const int ball2 = ballOf(o2);
    if (ball1 < 0 && ball2 < 0)
        return;
    std::array<dContact, kMaxContactsPerPair> contacts{};
    const int n = dCollide(o1, o2, kMaxContactsPerPair, &contacts[0].geom, sizeof(dContact));
    for (int c = 0; c < n; ++c) {
        dContact& ct = contacts[static_cast<std::size_t>(c)];
        if (ball1 < 0 || ball2 < 0) {
            const dGeomID box = ball1 < 0 ? o1 : o2;
            if (dGeomGetSpace(box) == subSpace(SubSpace::Bed)) {
                ballBedSurface(ct.surface);
            } else {
                listener.onCushionContact(ball1 < 0 ? ball2 : ball1);
                ballCushionSurface(ct.surface);
            }
        } else {
            ballBallSurface(ct.surface);
            listener.onBallContact(ball1, ball2);
        }
        dJointID j = dJointCreateContact(m_world.get(), m_contacts.get(), &ct);
        dJointAttach(j, dGeomGetBody(o1), dGeomGetBody(o2));
    }
}

void CPhysicsWorld::collide(IContactListener& listener) {
    m_listener = &listener;
    dSpaceCollide(m_top.get(), this, &CPhysicsWorld::nearCallback);
    m_listener = nullptr;
}

void CPhysicsWorld::step() {
    dWorldQuickStep(m_world.get(), kStepSeconds);
    dJointGroupEmpty(m_contacts.get());
}

Vec3 CPhysicsWorld::position(int ball) const {
    const dReal* p = dBodyGetPosition(body(ball));
    return {p[0], p[1], p[2]};
}

Rotation CPhysicsWorld::rotation(int ball) const {
    const dReal* r = dBodyGetRotation(body(ball));
    Rotation out{};
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = r[k];
    return out;
}

Vec3 CPhysicsWorld::linearVelocity(int ball) const {
    const dReal* v = dBodyGetLinearVel(body(ball));
    return {v[0], v[1], v[2]};
}

Vec3 CPhysicsWorld::angularVelocity(int ball) const {
    const dReal* w = dBodyGetAngularVel(body(ball));
    return {w[0], w[1], w[2]};
}

void CPhysicsWorld::setPosition(int ball, double x, double y, double z) {
    dBodySetPosition(body(ball), x, y, z);
}

void CPhysicsWorld::setRotation(int ball, const Rotation& r) {
    dMatrix3 m;
    for (std::size_t k = 0; k < r.size(); ++k)
        m[k] = r[k];
    // The engine turns the matrix into a unit quaternion, so a rotation read
    // from a record (quantised, or simply wrong) still leaves a proper one.
    dBodySetRotation(body(ball), m);
}

void CPhysicsWorld::setLinearVelocity(int ball, const Vec3& v) {
    dBodySetLinearVel(body(ball), v.x, v.y, v.z);
}

void CPhysicsWorld::setAngularVelocity(int ball, const Vec3& w) {
    dBodySetAngularVel(body(ball), w.x, w.y, w.z);
}

bool CPhysicsWorld::isEnabled(int ball) const {
    return dBodyIsEnabled(body(ball)) != 0;
}

void CPhysicsWorld::enable(int ball) {
    dBodyEnable(body(ball));
    dGeomEnable(sphere(ball));
}

void CPhysicsWorld::disable(int ball) {
    dBodyDisable(body(ball));
    dGeomDisable(sphere(ball));
}

void CPhysicsWorld::disableBody(int ball) {
    dBodyDisable(body(ball));
}

void CPhysicsWorld::enableGeometry(int ball) {
    dGeomEnable(sphere(ball));
}

bool CPhysicsWorld::anyBodyEnabled() const {
    for (const auto& b : m_bodies)
        if (dBodyIsEnabled(b.get()))
            return true;
    return false;
}

double CPhysicsWorld::ballMass(int ball) const {
    dMass m;
    dBodyGetMass(body(ball), &m);
    return m.mass;
}

} // namespace desk
