#include "platform/components/ComponentRegistry.h"

#include "platform/components/IComponentFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QWidget>
#include <optional>
#include <utility>

namespace platform {

namespace {

struct Version {
    int major;
    int minor;
};

std::optional<Version> parseVersion(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})\\.(\\d{1,4})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return Version{m.captured(1).toInt(), m.captured(2).toInt()};
}

// The registration of one plugin file, read from its metadata without
// loading it; nothing when it is not one of ours or its metadata is unusable.
std::optional<ComponentInfo> readRegistration(const QString& filePath) {
    const QJsonObject meta = QPluginLoader(filePath).metaData();
    if (meta.value(QStringLiteral("IID")).toString() !=
        QLatin1String(BILLIARDS_COMPONENT_FACTORY_IID))
        return std::nullopt;
    const QJsonObject data = meta.value(QStringLiteral("MetaData")).toObject();
    const QJsonObject lib = data.value(QStringLiteral("typeLibrary")).toObject();

    ComponentInfo info;
    info.filePath = filePath;
    info.classId = QUuid::fromString(data.value(QStringLiteral("classId")).toString());
    info.typeLibId = QUuid::fromString(lib.value(QStringLiteral("id")).toString());
    const auto version = parseVersion(lib.value(QStringLiteral("version")).toString());
    if (info.classId.isNull() || info.typeLibId.isNull() || !version)
        return std::nullopt;
    info.typeLibMajor = version->major;
    info.typeLibMinor = version->minor;
    info.typeLibName = lib.value(QStringLiteral("name")).toString();
    info.progId = data.value(QStringLiteral("progId")).toString();
    info.versionIndependentProgId =
        data.value(QStringLiteral("versionIndependentProgId")).toString();
    info.windowName = data.value(QStringLiteral("windowName")).toString();
    info.displayName = data.value(QStringLiteral("displayName")).toString();
    return info;
}

} // namespace

const char* describe(ComponentError error) {
    switch (error) {
    case ComponentError::None:
        return "no error";
    case ComponentError::NotRegistered:
        return "no plugin registers this class or type library";
    case ComponentError::WrongVersion:
        return "the type library is registered with another version";
    case ComponentError::LoadFailed:
        return "the plugin cannot be loaded";
    case ComponentError::NoControl:
        return "the plugin made no control for this class";
    }
    return "unknown error";
}

QStringList CComponentRegistry::defaultSearchPath() {
    QStringList path;
    for (const QString& dir :
         qEnvironmentVariable(kPathVariable).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        path << dir;
    if (QCoreApplication::instance() != nullptr)
        path << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                QStringLiteral("/../plugins"));
    return path;
}

CComponentRegistry::CComponentRegistry() : CComponentRegistry(defaultSearchPath()) {}

CComponentRegistry::CComponentRegistry(QStringList searchPath)
    : m_searchPath(std::move(searchPath)) {
    rescan();
}

CComponentRegistry::~CComponentRegistry() = default;

void CComponentRegistry::rescan() {
    m_components.clear();
    for (const QString& dirPath : m_searchPath) {
        const QDir dir(dirPath);
        const QStringList files = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : files) {
            if (!QLibrary::isLibrary(name))
                continue;
            auto info = readRegistration(dir.absoluteFilePath(name));
            if (info && findClass(info->classId) == nullptr)
                m_components.push_back(std::move(*info));
        }
    }
}

const ComponentInfo* CComponentRegistry::findClass(const QUuid& classId) const {
    for (const ComponentInfo& info : m_components)
        if (info.classId == classId)
            return &info;
    return nullptr;
}

const ComponentInfo* CComponentRegistry::findProgId(QStringView progId) const {
    if (progId.isEmpty())
        return nullptr;
    for (const ComponentInfo& info : m_components)
        if (progId.compare(info.progId, Qt::CaseInsensitive) == 0 ||
            progId.compare(info.versionIndependentProgId, Qt::CaseInsensitive) == 0)
            return &info;
    return nullptr;
}

ComponentError CComponentRegistry::checkTypeLib(const QUuid& libId, int major, int minor) const {
    bool known = false;
    for (const ComponentInfo& info : m_components) {
        if (info.typeLibId != libId)
            continue;
        known = true;
        if (info.typeLibMajor == major && info.typeLibMinor >= minor)
            return ComponentError::None;
    }
    return known ? ComponentError::WrongVersion : ComponentError::NotRegistered;
}

CComponentRegistry::Created CComponentRegistry::createControl(const QUuid& classId,
                                                              QWidget* parent) {
    const ComponentInfo* info = findClass(classId);
    if (info == nullptr)
        return {nullptr, ComponentError::NotRegistered};

    auto& loader = m_loaders[info->filePath];
    if (!loader)
        loader = std::make_unique<QPluginLoader>(info->filePath);
    auto* factory = qobject_cast<IComponentFactory*>(loader->instance());
    if (factory == nullptr)
        return {nullptr, ComponentError::LoadFailed};

    QWidget* control = factory->CreateControl(classId, parent);
    if (control == nullptr)
        return {nullptr, ComponentError::NoControl};
    if (control->parentWidget() != parent)
        control->setParent(parent);
    return {control, ComponentError::None};
}

} // namespace platform
