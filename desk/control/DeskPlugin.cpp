// The Bexlo control library: makes the desk control for its class id, with
// the table scene, the real sound effects and the system clock.
#include "desk/control/CDesk.h"
#include "desk/scene/CTableScene.h"
#include "desk/sound/CSoundEffects.h"
#include "platform/components/IComponentFactory.h"

#include <QObject>

namespace desk::control {

class CBexloFactory : public QObject, public platform::IComponentFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BILLIARDS_COMPONENT_FACTORY_IID FILE "Bexlo.json")
    Q_INTERFACES(platform::IComponentFactory)

public:
    QWidget* CreateControl(const QUuid& classId, QWidget* parent) override {
        if (classId != kDeskClassId)
            return nullptr;
        CDesk::Services services;
        services.renderers = [] { return std::make_unique<scene::CTableScene>(); };
        services.sounds = std::make_shared<sound::CSoundEffects>(sound::makeQtAudioSystem());
        services.clock = std::make_shared<CSystemClock>();
        return new CDesk(std::move(services), parent);
    }
};

} // namespace desk::control

#include "DeskPlugin.moc"
