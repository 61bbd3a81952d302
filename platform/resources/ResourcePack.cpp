#include "platform/resources/ResourcePack.h"

#include "platform/text/Bounded.h"
#include "platform/text/Gbk.h"

#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QResource>
#include <atomic>
#include <utility>

namespace platform {

namespace {

// Every pack gets a root of its own so that two packs with the same entries
// (two skins, several head-icon packs) never shadow each other.
QString nextRoot() {
    static std::atomic<int> counter{0};
    return QStringLiteral("/pack%1").arg(++counter);
}

// A name may not leave its folder: names come from code and from the packs'
// own string tables.
bool isPlainName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String("..") &&
           name != QLatin1String(".");
}

std::map<int, QByteArray> readStrings(const QString& path) {
    std::map<int, QByteArray> strings;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return strings;
    const QJsonObject table = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = table.begin(); it != table.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (!ok || id < 0)
            continue;
        if (it.value().isString())
            strings[id] = gbk::fromUnicode(it.value().toString());
        else if (it.value().isDouble())
            strings[id] = QByteArray::number(it.value().toDouble(), 'g', 17);
    }
    return strings;
}

} // namespace

CResourcePack::~CResourcePack() {
    close();
}

CResourcePack::CResourcePack(CResourcePack&& other) noexcept
    : m_filePath(std::exchange(other.m_filePath, {})), m_root(std::exchange(other.m_root, {})),
      m_strings(std::exchange(other.m_strings, {})) {}

CResourcePack& CResourcePack::operator=(CResourcePack&& other) noexcept {
    if (this != &other) {
        close();
        m_filePath = std::exchange(other.m_filePath, {});
        m_root = std::exchange(other.m_root, {});
        m_strings = std::exchange(other.m_strings, {});
    }
    return *this;
}

void CResourcePack::close() {
    if (!m_root.isEmpty())
        QResource::unregisterResource(m_filePath, m_root);
    m_root.clear();
    m_filePath.clear();
    m_strings.clear();
}

CResourcePack CResourcePack::openFile(const QString& path) {
    CResourcePack pack;
    if (!QFile::exists(path))
        return pack;
    const QString root = nextRoot();
    if (!QResource::registerResource(path, root))
        return pack;
    pack.m_filePath = path;
    pack.m_root = root;
    pack.m_strings = readStrings(QLatin1Char(':') + root + QStringLiteral("/strings.json"));
    return pack;
}

CResourcePack CResourcePack::open(const QString& fileName, const QStringList& dirs) {
    for (const QString& dir : dirs) {
        CResourcePack pack = openFile(dir + QLatin1Char('/') + fileName);
        if (pack.isLoaded())
            return pack;
    }
    return {};
}

QByteArray CResourcePack::LoadString(int id) const {
    const auto it = m_strings.find(id);
    return it == m_strings.end() ? QByteArray() : it->second;
}

QByteArray CResourcePack::LoadString(int id, std::size_t bufferSize) const {
    const QByteArray text = LoadString(id);
    const std::string_view cut =
        boundedText(std::string_view(text.constData(), std::size_t(text.size())), bufferSize);
    return QByteArray(cut.data(), qsizetype(cut.size()));
}

int CResourcePack::LoadNumber(int id, std::size_t bufferSize) const {
    const QByteArray text = LoadString(id, bufferSize);
    return decimalValue(std::string_view(text.constData(), std::size_t(text.size())));
}

QString CResourcePack::entryPath(const char* folder, const QString& name,
                                 std::initializer_list<const char*> extensions) const {
    if (m_root.isEmpty() || !isPlainName(name))
        return {};
    const QString base =
        QLatin1Char(':') + m_root + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/');
    for (const QString& candidate : {name, name.toUpper()}) {
        for (const char* ext : extensions) {
            const QString path = base + candidate + QLatin1Char('.') + QLatin1String(ext);
            if (QFile::exists(path))
                return path;
        }
    }
    return {};
}

QImage CResourcePack::LoadBitmap(const QString& name) const {
    const QString path = entryPath("bitmap", name, {"bmp", "png"});
    return path.isEmpty() ? QImage() : QImage(path);
}

QIcon CResourcePack::LoadIcon(const QString& name) const {
    const QString path = entryPath("icon", name, {"ico", "png"});
    if (path.isEmpty())
        return {};
    // Read every image now: a QIcon made from the path would read the file
    // lazily, after the pack may be gone.
    QIcon icon;
    QImageReader reader(path);
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon;
}

QByteArray CResourcePack::LoadWave(const QString& name) const {
    const QString path = entryPath("wave", name, {"wav"});
    if (path.isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QUrl CResourcePack::WaveUrl(const QString& name) const {
    const QString path = entryPath("wave", name, {"wav"});
    return path.isEmpty() ? QUrl() : QUrl(QStringLiteral("qrc") + path);
}

} // namespace platform
