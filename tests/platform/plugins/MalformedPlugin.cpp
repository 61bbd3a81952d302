// A plugin of the right interface whose metadata has no usable class id:
// the registry must pass over it.
#include "platform/components/IComponentFactory.h"

#include <QObject>

class CMalformedFactory : public QObject, public platform::IComponentFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BILLIARDS_COMPONENT_FACTORY_IID FILE "malformed.json")
    Q_INTERFACES(platform::IComponentFactory)

public:
    QWidget* CreateControl(const QUuid&, QWidget*) override { return nullptr; }
};

#include "MalformedPlugin.moc"
