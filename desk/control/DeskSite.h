#pragma once
// The services a desk control works with, which whoever hosts it may replace
// before InitTable: the renderer, the sound effects and the clock that paces
// shots. The plugin gives every control its real services; tests and tools
// reach a control made by the registry with
//
//   desk::control::IDeskSite* site = qobject_cast<desk::control::IDeskSite*>(widget);
//
// The program itself does not need this header.

#include "desk/control/IDeskRenderer.h"
#include "desk/physics/ShotRunner.h"
#include "desk/sound/ISoundEffects.h"

#include <QtPlugin>
#include <memory>

namespace desk::control {

class IDeskSite {
public:
    virtual ~IDeskSite() = default;

    // Used by the next InitTable.
    virtual void SetRendererFactory(DeskRendererFactory factory) = 0;
    // Takes effect at once; InitTable loads the effects.
    virtual void SetSoundEffects(std::shared_ptr<sound::ISoundEffects> sounds) = 0;
    // Time and pauses of the shot worker's pacing; used from the next shot on.
    // Called on the worker thread.
    virtual void SetShotClock(std::shared_ptr<IShotClock> clock) = 0;

    // The scene as the next frame would show it.
    virtual DeskScene CurrentScene() const = 0;
    // Whether a shot is being simulated (worker or synchronous run).
    virtual bool IsShotRunning() const = 0;
};

} // namespace desk::control

#define BEXLO_IDESKSITE_IID "org.vorlan.Bexlo.IDeskSite/1.0"
Q_DECLARE_INTERFACE(desk::control::IDeskSite, BEXLO_IDESKSITE_IID)
