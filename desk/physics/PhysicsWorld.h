#pragma once
// The ODE world of one desk: global settings, a top space with five
// sub-spaces (left, right, top and bottom cushions, the bed), the 24 cushion
// boxes, the bed box, one contact group and the sixteen ball bodies.
//
// Everything is created in one fixed order, at construction and at every
// rebuild alike: the engine's pair walk and its constraint order depend on the
// order of insertion, and two desks must step the same shot identically.

#include "desk/model/Balls.h"
#include "desk/model/TableLayout.h"
#include "desk/physics/CushionBoxes.h"
#include "desk/physics/OdeHandles.h"

#include <array>

namespace desk {

inline constexpr double kStepSeconds = 0.05;

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const Vec3&) const = default;
};

// Told about the contacts of a collision pass, one call per contact point.
class IContactListener {
public:
    virtual void onCushionContact(int ball) = 0;
    virtual void onBallContact(int first, int second) = 0;

protected:
    ~IContactListener() = default;
};

enum class SubSpace { Left, Right, Top, Bottom, Bed };
inline constexpr int kSubSpaceCount = 5;

class CPhysicsWorld {
public:
    // Balls start at their rest placement with the start orientation.
    CPhysicsWorld(const CTableLayout& layout, double ballDensity);
    ~CPhysicsWorld();
    CPhysicsWorld(const CPhysicsWorld&) = delete;
    CPhysicsWorld& operator=(const CPhysicsWorld&) = delete;

    // Destroys the contact group and all spaces with their contents and the
    // ball bodies, then creates everything again as at construction. Each
    // ball keeps its position and orientation; the fresh bodies are enabled
    // and at rest, their mass from `ballDensity`.
    void rebuild(double ballDensity);

    // One collision pass over the top space, creating this step's contact joints.
    void collide(IContactListener& listener);
    // One fixed step of the world, then the contact joints are dropped.
    void step();

    dBodyID body(int ball) const { return m_bodies.at(static_cast<std::size_t>(ball)).get(); }
    dGeomID sphere(int ball) const { return m_spheres.at(static_cast<std::size_t>(ball)).get(); }

    Vec3 position(int ball) const;
    Rotation rotation(int ball) const;
    Vec3 linearVelocity(int ball) const;
    Vec3 angularVelocity(int ball) const;
    // Puts the ball at (x, y, z) without touching its velocity or state.
    void setPosition(int ball, double x, double y, double z);
    void setRotation(int ball, const Rotation& r);
    void setLinearVelocity(int ball, const Vec3& v);
    void setAngularVelocity(int ball, const Vec3& w);
    bool isEnabled(int ball) const;
    void enable(int ball);
    // Switches both the body and its sphere off, so the ball neither moves
    // nor collides until it is enabled again.
    void disable(int ball);
    void disableBody(int ball);
    void enableGeometry(int ball);
    bool anyBodyEnabled() const;

    double ballMass(int ball) const;

    // For tests: the geometry as built.
    dSpaceID topSpace() const { return m_top.get(); }
    dSpaceID subSpace(SubSpace s) const { return m_sub.at(static_cast<std::size_t>(s)).get(); }
    dWorldID world() const { return m_world.get(); }
    const std::array<BoxSpec, kCushionBoxCount>& cushions() const { return m_cushionSpecs; }

private:
    struct Pose {
        Vec3 position;
        Rotation rotation{};
    };

    void applyWorldSettings();
    void buildStatic();
    void buildBalls(const std::array<Pose, kBallCount>& poses, double ballDensity);
    void destroyAll();
    void contact(dGeomID o1, dGeomID o2, IContactListener& listener);
    int ballOf(dGeomID g) const;
    static void nearCallback(void* data, dGeomID o1, dGeomID o2);

    std::array<BoxSpec, kCushionBoxCount> m_cushionSpecs;

    // Declared so that destruction runs balls, boxes, contact group,
    // sub-spaces, top space, world.
    ode::WorldHandle m_world;
    ode::SpaceHandle m_top;
    std::array<ode::SpaceHandle, kSubSpaceCount> m_sub;
    ode::JointGroupHandle m_contacts;
    std::array<ode::GeomHandle, kCushionBoxCount> m_boxes;
    ode::GeomHandle m_bed;
    std::array<ode::BodyHandle, kBallCount> m_bodies;
    std::array<ode::GeomHandle, kBallCount> m_spheres;

    IContactListener* m_listener = nullptr; // during collide() only
};

} // namespace desk
