#pragma once
// Racks for the engine tests: every ball waits in its tray slot, pocketed
// earlier, unless the test puts it on the table.

#include "desk/model/SphereRecords.h"
#include "desk/model/ViewGeometry.h"

namespace desk::test {

class TableSetup {
public:
    TableSetup() {
        const CViewGeometry view;
        for (int i = 0; i < kBallCount; ++i) {
            const WorldPoint slot = view.traySlot(i);
            records[static_cast<std::size_t>(i)] =
                makeSphereRecord(i, slot.x, slot.y, kPocketedEarlier, startOrientation());
        }
    }
    TableSetup& on(int ball, double x, double y) {
        records[static_cast<std::size_t>(ball)] =
            makeSphereRecord(ball, x, y, kOnTable, startOrientation());
        return *this;
    }
    SphereRecords records{};
};

} // namespace desk::test
