#pragma once
// What a control library exports. Each control library (the desk, the board)
// is a Qt plugin whose root object implements IComponentFactory and whose
// metadata names the control class it makes, so that the program can find the
// library by class id and check its type library version without loading it.
//
// The metadata (the FILE of Q_PLUGIN_METADATA) is one JSON object:
//
//   {
//     "classId": "{3B8D03D5-D47C-493C-BFCD-CCE1A3310D0A}",
//     "progId": "Bexlo.Desk.1",
//     "versionIndependentProgId": "Bexlo.Desk",
//     "windowName": "Bexlo.Desk",
//     "displayName": "Desk Class",
//     "typeLibrary": {
//       "id": "{B101B190-BEF8-4B30-861E-E7EFA8C1E658}",
//       "name": "BEXLOLib",
//       "version": "1.6"
//     }
//   }
//
// classId, typeLibrary.id and typeLibrary.version ("major.minor") are
// required; a plugin without them is not registered.

#include <QUuid>
#include <QtPlugin>

class QWidget;

namespace platform {

class IComponentFactory {
public:
    virtual ~IComponentFactory() = default;
    // Creates the control of class `classId` as a child widget of `parent`
    // (which then owns it). nullptr when the library does not make that class
    // or the control cannot be created.
    virtual QWidget* CreateControl(const QUuid& classId, QWidget* parent) = 0;
};

} // namespace platform

#define BILLIARDS_COMPONENT_FACTORY_IID "org.vorlan.Billiards.IComponentFactory/1.0"
Q_DECLARE_INTERFACE(platform::IComponentFactory, BILLIARDS_COMPONENT_FACTORY_IID)
