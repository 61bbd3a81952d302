// The Bexlo control library: makes the desk control for its class id, with
// the real sound effects and the system clock.
#include "desk/control/CDesk.h"
#include "desk/msgbox/DeskMessageBox.h"
#include "desk/sound/CSoundEffects.h"
#include "platform/components/IComponentFactory.h"

#include <QObject>

namespace desk::control {

namespace {

// The effects report a missing audio system in a box of their own; the box
// lives as long as the effects.
struct CPluginSounds {
    CQtDeskMessageBox messages;
    sound::CSoundEffects effects{messages, sound::makeQtAudioSystem()};
};

std::shared_ptr<sound::ISoundEffects> makeSounds() {
    auto holder = std::make_shared<CPluginSounds>();
    return {holder, &holder->effects};
}

} // namespace

class CBexloFactory : public QObject, public platform::IComponentFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BILLIARDS_COMPONENT_FACTORY_IID FILE "Bexlo.json")
    Q_INTERFACES(platform::IComponentFactory)

public:
    QWidget* CreateControl(const QUuid& classId, QWidget* parent) override {
        if (classId != kDeskClassId)
            return nullptr;
        CDesk::Services services;
        services.renderers = [] { return std::make_unique<CNullDeskRenderer>(); };
        services.sounds = makeSounds();
        services.clock = std::make_shared<CSystemClock>();
        return new CDesk(std::move(services), parent);
    }
};

} // namespace desk::control

#include "DeskPlugin.moc"
