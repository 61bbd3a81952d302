#pragma once
// Per-user settings kept where a Linux user expects them: a QSettings file in
// the native format under $XDG_CONFIG_HOME/<organisation>/<application>.conf.
// A settings key holds one unnamed value (stored under the name "Default",
// which is also the name QSettings gives a registry key's default value), as
// the program has always kept its per-user switches.
//
// The sound switch lives in organisation "vorlan", application "insound": the
// text "%d" of 0 or 1; a missing or unreadable value means sound on.

#include <QString>
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

inline constexpr const char* kSoundOrganisation = "vorlan";
inline constexpr const char* kSoundApplication = "insound";
// The sound value is read into a buffer of this many bytes; a longer value
// counts as unreadable.
inline constexpr std::size_t kSoundValueBuffer = 20;

class CUserSettingsKey {
public:
    CUserSettingsKey(QString organisation, QString application);

    // The unnamed value as text when it exists, is text and fits a buffer of
    // `bufferSize` bytes with its terminator; otherwise nothing.
    std::optional<std::string> queryDefault(std::size_t bufferSize) const;
    // Writes the unnamed value, creating the file and its folder as needed.
    // False when it cannot be stored.
    bool setDefault(const QString& text) const;

private:
    QString m_organisation;
    QString m_application;
};

// The player's sound switch: the stored text as a decimal number, 1 when the
// value is missing or cannot be read.
int readSoundSetting();
// Stores "%d" of value. False when it cannot be stored.
bool writeSoundSetting(int value);

} // namespace platform
