#include "platform/settings/UserSettings.h"

#include "platform/text/Bounded.h"

#include <QSettings>
#include <utility>

namespace platform {

namespace {

constexpr const char* kDefaultValueName = "Default";

} // namespace

CUserSettingsKey::CUserSettingsKey(QString organisation, QString application)
    : m_organisation(std::move(organisation)), m_application(std::move(application)) {}

std::optional<std::string> CUserSettingsKey::queryDefault(std::size_t bufferSize) const {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_organisation,
                             m_application);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = settings.value(kDefaultValueName);
    // Anything but a single text (a list, a stored variant) is not the value
    // the program writes.
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    std::string text = value.toString().toStdString();
    if (text.size() + 1 > bufferSize)
        return std::nullopt;
    return text;
}

bool CUserSettingsKey::setDefault(const QString& text) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_organisation,
                       m_application);
    settings.setValue(kDefaultValueName, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

int readSoundSetting() {
    const auto text =
        CUserSettingsKey(kSoundOrganisation, kSoundApplication).queryDefault(kSoundValueBuffer);
    return text ? decimalValue(*text) : 1;
}

bool writeSoundSetting(int value) {
    return CUserSettingsKey(kSoundOrganisation, kSoundApplication)
        .setDefault(QString::number(value));
}

} // namespace platform
