// The Bexlo library as the program finds it: registered by class id with its
// type library, making a desk control that answers IDesk.
#include "desk/control/Desk.h"
#include "desk/control/DeskSite.h"
#include "platform/components/ComponentRegistry.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace desk {
namespace {

platform::CComponentRegistry registryWithBexlo() {
    return platform::CComponentRegistry(QStringList{QStringLiteral(BEXLO_PLUGIN_DIR)});
}

TEST(BexloPlugin, RegisteredByClassIdWithItsIdentity) {
    const auto registry = registryWithBexlo();
    const platform::ComponentInfo* info = registry.findClass(kDeskClassId);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->classId, QUuid::fromString(u"{3B8D03D5-D47C-493C-BFCD-CCE1A3310D0A}"));
    EXPECT_EQ(info->progId, QLatin1String(kDeskProgId));
    EXPECT_EQ(info->versionIndependentProgId, QLatin1String("Bexlo.Desk"));
    EXPECT_EQ(info->windowName, QLatin1String("Bexlo.Desk"));
    EXPECT_EQ(info->displayName, QLatin1String("Desk Class"));
    EXPECT_EQ(info->typeLibId, QUuid::fromString(u"{B101B190-BEF8-4B30-861E-E7EFA8C1E658}"));
    EXPECT_EQ(info->typeLibName, QLatin1String("BEXLOLib"));
    EXPECT_EQ(registry.findProgId(u"bexlo.desk"), info);
}

TEST(BexloPlugin, TypeLibraryOfAnotherVersionIsRefused) {
    const auto registry = registryWithBexlo();
    EXPECT_EQ(registry.checkTypeLib(kDeskTypeLibId, kDeskTypeLibMajor, kDeskTypeLibMinor),
              platform::ComponentError::None);
    EXPECT_EQ(registry.checkTypeLib(kDeskTypeLibId, 1, 7), platform::ComponentError::WrongVersion);
    EXPECT_EQ(registry.checkTypeLib(kDeskTypeLibId, 2, 0), platform::ComponentError::WrongVersion);
    EXPECT_EQ(registry.checkTypeLib(QUuid::createUuid(), 1, 6),
              platform::ComponentError::NotRegistered);
}

TEST(BexloPlugin, MakesTheDeskAsAChildOfTheHostWindow) {
    auto registry = registryWithBexlo();
    QWidget host;
    const auto created = registry.createControl(kDeskClassId, &host);
    ASSERT_TRUE(created);
    EXPECT_EQ(created.control->parentWidget(), &host);
    EXPECT_EQ(created.control->objectName(), QLatin1String(kDeskWindowName));
    IDesk* desk = deskOf(created.control);
    ASSERT_NE(desk, nullptr);
    EXPECT_NE(qobject_cast<control::IDeskSite*>(created.control), nullptr);

    QWidget plain;
    EXPECT_EQ(deskOf(&plain), nullptr);
    EXPECT_EQ(deskOf(nullptr), nullptr);
    // Another class id gets nothing from this library.
    EXPECT_FALSE(registry.createControl(QUuid::createUuid(), &host));
}

} // namespace
} // namespace desk
