#pragma once
// Owning handles for the ODE objects of a desk. Spaces are created with
// their clean-up mode off, so each geometry and each sub-space is destroyed
// by its own handle and nothing is freed twice.

#include <memory>
#include <ode/ode.h>

namespace desk::ode {

// Initialises ODE once per process and gives the calling thread the data the
// collision code keeps per thread. Call it on every thread before touching a
// world: the shot worker steps the world on a thread of its own.
void ensureReady();

struct WorldDeleter {
    void operator()(dxWorld* w) const { dWorldDestroy(w); }
};
struct SpaceDeleter {
    void operator()(dxSpace* s) const { dSpaceDestroy(s); }
};
struct GeomDeleter {
    void operator()(dxGeom* g) const { dGeomDestroy(g); }
};
struct BodyDeleter {
    void operator()(dxBody* b) const { dBodyDestroy(b); }
};
struct JointGroupDeleter {
    void operator()(dxJointGroup* g) const { dJointGroupDestroy(g); }
};

using WorldHandle = std::unique_ptr<dxWorld, WorldDeleter>;
using SpaceHandle = std::unique_ptr<dxSpace, SpaceDeleter>;
using GeomHandle = std::unique_ptr<dxGeom, GeomDeleter>;
using BodyHandle = std::unique_ptr<dxBody, BodyDeleter>;
using JointGroupHandle = std::unique_ptr<dxJointGroup, JointGroupDeleter>;

// A simple space inside `parent` (or at the top when null) that leaves its
// contents to their own handles.
SpaceHandle makeSimpleSpace(dSpaceID parent);

} // namespace desk::ode
