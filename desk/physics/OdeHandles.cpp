#include "desk/physics/OdeHandles.h"

#include <mutex>

namespace desk::ode {

void ensureReady() {
    static std::once_flag once;
    std::call_once(once, [] { dInitODE2(0); });
    thread_local bool threadReady = false;
    if (!threadReady) {
        dAllocateODEDataForThread(dAllocateMaskAll);
        threadReady = true;
    }
}

SpaceHandle makeSimpleSpace(dSpaceID parent) {
    SpaceHandle space(dSimpleSpaceCreate(parent));
    dSpaceSetCleanup(space.get(), 0);
    return space;
}

} // namespace desk::ode
