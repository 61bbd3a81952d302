#include "platform/components/ComponentRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using platform::CComponentRegistry;
using platform::ComponentError;

const QUuid kWidgetClass =
    QUuid::fromString(QStringLiteral("{7E57C0DE-0001-4A11-8A11-000000000001}"));
const QUuid kWidgetLib =
    QUuid::fromString(QStringLiteral("{7e57c0de-1111-4a11-8a11-000000000001}"));
const QUuid kRefusingClass =
    QUuid::fromString(QStringLiteral("{7E57C0DE-0002-4A11-8A11-000000000002}"));
const QUuid kRefusingLib =
    QUuid::fromString(QStringLiteral("{7E57C0DE-2222-4A11-8A11-000000000002}"));

QString builtPlugin(const char* name) {
    return QStringLiteral(TEST_PLUGIN_DIR "/libtest_plugin_%1.so").arg(QLatin1String(name));
}

// A plugin folder of its own for each test: a library is loaded once per
// file path, so copies keep the tests from seeing each other's loads.
class PluginFolder {
public:
    explicit PluginFolder(std::initializer_list<const char*> plugins) {
        EXPECT_TRUE(m_dir.isValid());
        for (const char* name : plugins)
            EXPECT_TRUE(QFile::copy(builtPlugin(name), path(name))) << name;
    }
    QString path(const char* name) const {
        return m_dir.filePath(QStringLiteral("libtest_plugin_%1.so").arg(QLatin1String(name)));
    }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

TEST(ComponentRegistry, RegistersPluginsFromTheirMetadata) {
    PluginFolder folder{"TestWidget", "Refusing", "Malformed", "Foreign"};
    {
        // Something that only looks like a library.
        QFile junk(folder.dir() + "/libjunk.so");
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("\x7f"
                   "ELF but not really");
    }
    const CComponentRegistry registry({folder.dir(), "/nonexistent/plugins"});
    ASSERT_EQ(registry.components().size(), 2u);

    const platform::ComponentInfo* info = registry.findClass(kWidgetClass);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->filePath, folder.path("TestWidget"));
    EXPECT_EQ(info->progId, "Test.Widget.1");
    EXPECT_EQ(info->versionIndependentProgId, "Test.Widget");
    EXPECT_EQ(info->windowName, "Test.Widget");
    EXPECT_EQ(info->displayName, "Widget Class");
    EXPECT_EQ(info->typeLibId, kWidgetLib);
    EXPECT_EQ(info->typeLibName, "TESTWIDGETLib");
    EXPECT_EQ(info->typeLibMajor, 1);
    EXPECT_EQ(info->typeLibMinor, 6);

    EXPECT_EQ(registry.findProgId(u"test.widget"), info);
    EXPECT_EQ(registry.findProgId(u"TEST.WIDGET.1"), info);
    EXPECT_EQ(registry.findProgId(u"Test.Refusing")->classId, kRefusingClass);
    EXPECT_EQ(registry.findProgId(u"Test.Malformed.1"), nullptr);
    EXPECT_EQ(registry.findProgId(u""), nullptr);
    EXPECT_EQ(registry.findClass(QUuid::createUuid()), nullptr);
}

TEST(ComponentRegistry, TypeLibraryVersionsFollowMajorAndMinimumMinor) {
    PluginFolder folder{"TestWidget", "Refusing"};
    const CComponentRegistry registry({folder.dir()});
    struct Case {
        QUuid lib;
        int major;
        int minor;
        ComponentError expected;
    };
    const Case cases[] = {
        {kWidgetLib, 1, 6, ComponentError::None},
        {kWidgetLib, 1, 0, ComponentError::None}, // an older minor is served by 1.6
        {kWidgetLib, 1, 7, ComponentError::WrongVersion},
        {kWidgetLib, 2, 0, ComponentError::WrongVersion},
        {kWidgetLib, 0, 6, ComponentError::WrongVersion},
        {kRefusingLib, 2, 0, ComponentError::None},
        {kRefusingLib, 1, 6, ComponentError::WrongVersion},
        {QUuid::createUuid(), 1, 6, ComponentError::NotRegistered},
        {QUuid(), 1, 0, ComponentError::NotRegistered},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registry.checkTypeLib(c.lib, c.major, c.minor), c.expected)
            << c.lib.toString().toStdString() << ' ' << c.major << '.' << c.minor;
        EXPECT_EQ(registry.isTypeLibRegistered(c.lib, c.major, c.minor),
                  c.expected == ComponentError::None);
    }
    // Answering needed none of the libraries.
    EXPECT_FALSE(QPluginLoader(folder.path("TestWidget")).isLoaded());
    EXPECT_FALSE(QPluginLoader(folder.path("Refusing")).isLoaded());
}

TEST(ComponentRegistry, CreatesTheControlInsideItsParent) {
    PluginFolder folder{"TestWidget"};
    CComponentRegistry registry({folder.dir()});
    QWidget host;
    const auto created = registry.createControl(kWidgetClass, &host);
    ASSERT_TRUE(created) << platform::describe(created.error);
    EXPECT_EQ(created.error, ComponentError::None);
    EXPECT_EQ(created.control->objectName(), "TestWidget");
    EXPECT_EQ(created.control->parentWidget(), &host);
    EXPECT_TRUE(QPluginLoader(folder.path("TestWidget")).isLoaded());

    // A second control comes from the library already loaded.
    const auto second = registry.createControl(kWidgetClass, &host);
    ASSERT_TRUE(second);
    EXPECT_NE(second.control, created.control);
    EXPECT_EQ(host.findChildren<QWidget*>().size(), 2);
}

TEST(ComponentRegistry, ReportsEachWayCreationFails) {
    PluginFolder folder{"TestWidget", "Refusing"};
    CComponentRegistry registry({folder.dir()});
    QWidget host;

    auto created = registry.createControl(QUuid::createUuid(), &host);
    EXPECT_FALSE(created);
    EXPECT_EQ(created.error, ComponentError::NotRegistered);

    created = registry.createControl(kRefusingClass, &host);
    EXPECT_FALSE(created);
    EXPECT_EQ(created.error, ComponentError::NoControl);

    // The library was registered but is gone when the control is wanted.
    ASSERT_TRUE(QFile::remove(folder.path("TestWidget")));
    created = registry.createControl(kWidgetClass, &host);
    EXPECT_FALSE(created);
    EXPECT_EQ(created.error, ComponentError::LoadFailed);
    EXPECT_TRUE(host.findChildren<QWidget*>().isEmpty());

    // A rescan forgets it.
    registry.rescan();
    EXPECT_EQ(registry.findClass(kWidgetClass), nullptr);
    EXPECT_EQ(registry.checkTypeLib(kWidgetLib, 1, 6), ComponentError::NotRegistered);
}

TEST(ComponentRegistry, EarlierFoldersInThePathWin) {
    PluginFolder first{"TestWidget"};
    PluginFolder second{"TestWidget", "Refusing"};
    const CComponentRegistry registry({first.dir(), second.dir()});
    ASSERT_EQ(registry.components().size(), 2u);
    EXPECT_EQ(registry.findClass(kWidgetClass)->filePath, first.path("TestWidget"));
    EXPECT_EQ(registry.findClass(kRefusingClass)->filePath, second.path("Refusing"));
}

TEST(ComponentRegistry, EnvironmentFoldersComeBeforeThePluginsBesideTheProgram) {
    const QByteArray saved = qgetenv(CComponentRegistry::kPathVariable);
    qputenv(CComponentRegistry::kPathVariable, "/opt/a::/opt/b");
    const QStringList path = CComponentRegistry::defaultSearchPath();
    qputenv(CComponentRegistry::kPathVariable, saved);

    ASSERT_EQ(path.size(), 3);
    EXPECT_EQ(path[0], "/opt/a");
    EXPECT_EQ(path[1], "/opt/b");
    EXPECT_EQ(path[2], QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../plugins"));
}

TEST(ComponentRegistry, MismatchTextIsTheOneThePlayerSees) {
    EXPECT_EQ(QString::fromUtf8(platform::kComponentMismatchText),
              QStringLiteral("组件版本不符,请重新下载游戏"));
}

} // namespace
