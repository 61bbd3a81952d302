#include "tools/server/Accounts.h"

#include "platform/text/Gbk.h"
#include "platform/text/GbkBytes.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace server {

namespace {

template <std::size_t N> void setText(char (&field)[N], const QString& utf8) {
    platform::gbk::copyToField(field, platform::gbk::fromUtf8(utf8.toStdString()));
}

TablePerson blankPerson(uint32_t id) {
    TablePerson p;
    p.id = id;
    p.sex = 1;
    p.link_num = 1;
    p.is_permit_watch = 1;
    p.status = 4;
    return p;
}

} // namespace

TablePerson GeneratedPerson(uint32_t id) {
    TablePerson p = blankPerson(id);
    setText(p.username, QStringLiteral("player%1").arg(id));
    setText(p.nickname, QStringLiteral("球手%1").arg(id));
    p.headpicid = static_cast<int16_t>(id % 30);
    p.sex = static_cast<int16_t>(id % 2);
    return p;
}

bool CAccounts::Load(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read accounts file ") + path;
        return false;
    }
    const QByteArray bytes = file.read(64 << 20);
    if (!LoadJson(bytes, error)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    return true;
}

bool CAccounts::LoadJson(const QByteArray& json, QString& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isArray()) {
        error = QStringLiteral("not a JSON array");
        return false;
    }
    std::map<uint32_t, TablePerson> loaded;
    int index = 0;
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        const double id = o.value(QStringLiteral("id")).toDouble(-1);
        if (!v.isObject() || !(id >= 1 && id <= 0xFFFFFFFFu) || id != static_cast<uint32_t>(id)) {
            error = QStringLiteral("entry %1 has no valid id").arg(index);
            return false;
        }
        TablePerson p = GeneratedPerson(static_cast<uint32_t>(id));
        if (o.contains(QStringLiteral("username")))
            setText(p.username, o.value(QStringLiteral("username")).toString());
        if (o.contains(QStringLiteral("nickname")))
            setText(p.nickname, o.value(QStringLiteral("nickname")).toString());
        const auto i16 = [&](const char* key, int16_t& out) {
            if (o.contains(QLatin1String(key)))
                out = static_cast<int16_t>(o.value(QLatin1String(key)).toInt(out));
        };
        const auto i32 = [&](const char* key, int32_t& out) {
            if (o.contains(QLatin1String(key)))
                out = static_cast<int32_t>(o.value(QLatin1String(key)).toInteger(out));
        };
        i16("sex", p.sex);
        i16("headpicid", p.headpicid);
        i16("level", p.level);
        i32("gamescore", p.gamescore);
        i32("winnum", p.winnum);
        i32("losenum", p.losenum);
        i32("equalnum", p.equalnum);
        i32("money", p.money);
        loaded[p.id] = p;
        ++index;
        if (loaded.size() > kMaxAccounts) {
            error = QStringLiteral("more than %1 accounts").arg(kMaxAccounts);
            return false;
        }
    }
    m_persons = std::move(loaded);
    return true;
}

TablePerson& CAccounts::Person(uint32_t id) {
    auto it = m_persons.find(id);
    if (it != m_persons.end())
        return it->second;
    if (m_persons.size() >= kMaxAccounts)
        m_persons.erase(m_persons.begin());
    return m_persons.emplace(id, GeneratedPerson(id)).first->second;
}

} // namespace server
