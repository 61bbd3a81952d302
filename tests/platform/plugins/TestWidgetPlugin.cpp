// A control library as the registry tests need it: it makes one control,
// a plain widget named "TestWidget", for the class id in its metadata.
#include "platform/components/IComponentFactory.h"

#include <QObject>
#include <QWidget>

class CTestWidgetFactory : public QObject, public platform::IComponentFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BILLIARDS_COMPONENT_FACTORY_IID FILE "test_widget.json")
    Q_INTERFACES(platform::IComponentFactory)

public:
    QWidget* CreateControl(const QUuid& classId, QWidget* parent) override {
        if (classId != QUuid::fromString(QStringLiteral("{7E57C0DE-0001-4A11-8A11-000000000001}")))
            return nullptr;
        auto* widget = new QWidget(parent);
        widget->setObjectName(QStringLiteral("TestWidget"));
        return widget;
    }
};

#include "TestWidgetPlugin.moc"
