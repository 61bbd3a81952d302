#pragma once
// A resource pack: a binary Qt resource file (.rcc) holding what a resource
// library held: numbered string resources, bitmaps, icons and WAVE sounds.
// Opening registers the pack under a root of its own; destroying it
// unregisters it. A pack that is not there behaves like one without the entry
// asked for: empty strings (so numbers read 0), null images and icons, no
// sound.
//
// Layout inside a pack:
//   strings.json       {"101": "16777215", "147": "image", ...}: string n
//                      under the key "n" (a JSON number is taken as its
//                      decimal text); UTF-8 in the file, GBK for the callers
//   bitmap/<NAME>.bmp  or .png
//   icon/<NAME>.ico    or .png
//   wave/<NAME>.wav
// Names are looked up as given and then in upper case, the case resource
// names are stored in.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstddef>
#include <map>

namespace platform {

class CResourcePack {
public:
    // No pack: every lookup finds nothing.
    CResourcePack() = default;
    ~CResourcePack();
    CResourcePack(CResourcePack&& other) noexcept;
    CResourcePack& operator=(CResourcePack&& other) noexcept;
    CResourcePack(const CResourcePack&) = delete;
    CResourcePack& operator=(const CResourcePack&) = delete;

    // Opens "<dir>/<fileName>" for each dir in turn (so an empty dir means
    // "/<fileName>") and keeps the first that is a valid pack; fileName may
    // hold sub-folders ("room/heada.rcc"). No pack when none is.
    static CResourcePack open(const QString& fileName, const QStringList& dirs);
    static CResourcePack openFile(const QString& path);

    bool isLoaded() const { return !m_root.isEmpty(); }
    // The file the pack came from; empty when not loaded.
    const QString& filePath() const { return m_filePath; }

    // String resource `id` as GBK bytes; empty when missing.
    QByteArray LoadString(int id) const;
    // The same read into a buffer of `bufferSize` bytes: at most
    // bufferSize − 1 bytes, whole characters only.
    QByteArray LoadString(int id, std::size_t bufferSize) const;
    // The decimal value of the string read into a buffer of `bufferSize`
    // bytes; 0 when missing or not a number.
    int LoadNumber(int id, std::size_t bufferSize) const;

    QImage LoadBitmap(const QString& name) const;
    // Every size the icon file holds; the icon keeps its pixels after the
    // pack is closed.
    QIcon LoadIcon(const QString& name) const;
    // The whole WAVE file; empty when missing.
    QByteArray LoadWave(const QString& name) const;
    // A "qrc:" URL of the WAVE for players that stream from a URL; valid only
    // while the pack is open. Empty when missing.
    QUrl WaveUrl(const QString& name) const;

private:
    // ":/<root>/<folder>/<name>.<ext>" of the first entry that exists.
    QString entryPath(const char* folder, const QString& name,
                      std::initializer_list<const char*> extensions) const;
    void close();

    QString m_filePath;
    QString m_root; // "/pack<N>", empty when not loaded
    std::map<int, QByteArray> m_strings;
};

} // namespace platform
