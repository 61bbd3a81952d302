#pragma once
// Finds control libraries (Qt plugins implementing IComponentFactory) by the
// class id in their metadata, answers whether a type library of a given
// version is registered, and creates controls.
//
// Registration is the presence of a plugin in the search path: the
// directories of $BILLIARDS_PLUGIN_PATH (':'-separated, searched first) and
// then the "plugins" folder beside the program's "bin" folder
// (<bin>/../plugins, build/plugins in a build tree). Within the path the first
// plugin that declares a class id wins; files in one folder are taken in name
// order. Scanning reads only the plugins' metadata; a library is loaded the
// first time one of its controls is created and stays loaded.

#include <QString>
#include <QStringList>
#include <QUuid>
#include <map>
#include <memory>
#include <vector>

class QPluginLoader;
class QWidget;

namespace platform {

struct ComponentInfo {
    QString filePath;
    QUuid classId;
    QString progId;
    QString versionIndependentProgId;
    QString windowName;
    QString displayName;
    QUuid typeLibId;
    QString typeLibName;
    int typeLibMajor = 0;
    int typeLibMinor = 0;
};

enum class ComponentError {
    None,
    NotRegistered, // no plugin declares the class or type library
    WrongVersion,  // the type library is there with another version
    LoadFailed,    // the plugin file is gone or cannot be loaded
    NoControl,     // the library loaded but made no control for the class
};

// What the program shows when a control's library is missing, cannot be
// loaded or has another version (UTF-8; the board's message puts
// "CreateBoard " in front of it).
inline constexpr const char* kComponentMismatchText = "组件版本不符,请重新下载游戏";

// A short English description for developers (exceptions, test output).
const char* describe(ComponentError error);

class CComponentRegistry {
public:
    static constexpr const char* kPathVariable = "BILLIARDS_PLUGIN_PATH";

    // The directories of kPathVariable, then <application dir>/../plugins
    // (only when an application object exists).
    static QStringList defaultSearchPath();

    // Scans defaultSearchPath().
    CComponentRegistry();
    explicit CComponentRegistry(QStringList searchPath);
    ~CComponentRegistry();
    CComponentRegistry(const CComponentRegistry&) = delete;
    CComponentRegistry& operator=(const CComponentRegistry&) = delete;

    // Reads the metadata of every plugin in the search path again. Libraries
    // already loaded stay loaded.
    void rescan();

    const QStringList& searchPath() const { return m_searchPath; }
    const std::vector<ComponentInfo>& components() const { return m_components; }

    const ComponentInfo* findClass(const QUuid& classId) const;
    // Either ProgID, without regard to case.
    const ComponentInfo* findProgId(QStringView progId) const;

    // Whether type library `libId` is registered in a version that serves
    // major.minor: the same major version and a minor version at least as
    // high. None when it is, else NotRegistered or WrongVersion.
    ComponentError checkTypeLib(const QUuid& libId, int major, int minor) const;
    bool isTypeLibRegistered(const QUuid& libId, int major, int minor) const {
        return checkTypeLib(libId, major, minor) == ComponentError::None;
    }

    struct Created {
        QWidget* control = nullptr; // owned by the parent given
        ComponentError error = ComponentError::None;
        explicit operator bool() const { return control != nullptr; }
    };
    // Loads the class's library if needed and creates the control as a child
    // of `parent`. With a null parent the caller owns the widget.
    Created createControl(const QUuid& classId, QWidget* parent);

private:
    QStringList m_searchPath;
    std::vector<ComponentInfo> m_components;
    // One loader per library file; kept so the libraries stay loaded.
    std::map<QString, std::unique_ptr<QPluginLoader>> m_loaders;
};

} // namespace platform
