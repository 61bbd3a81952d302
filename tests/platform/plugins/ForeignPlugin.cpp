// A Qt plugin of some other interface that happens to lie in the same folder.
#include <QObject>
#include <QtPlugin>

class CForeignPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.example.SomethingElse/1.0" FILE "test_widget.json")
};

#include "ForeignPlugin.moc"
