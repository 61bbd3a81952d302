// A library that registers a class but makes no control for it, as a library
// of another build that lost the class would.
#include "platform/components/IComponentFactory.h"

#include <QObject>

class CRefusingFactory : public QObject, public platform::IComponentFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BILLIARDS_COMPONENT_FACTORY_IID FILE "refusing.json")
    Q_INTERFACES(platform::IComponentFactory)

public:
    QWidget* CreateControl(const QUuid&, QWidget*) override { return nullptr; }
};

#include "RefusingPlugin.moc"
