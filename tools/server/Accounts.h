#pragma once
// The persons the server knows: read from a JSON accounts file, or made up
// for any id nobody listed, so that a server started without files admits
// everybody. Names are kept as GBK bytes, ready for the person records.

#include "billiards/protocol/TablePerson.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>

namespace server {

class CAccounts {
public:
    // The file is a JSON array of objects with "id" (required), "username",
    // "nickname", "sex", "headpicid", "gamescore", "winnum", "losenum",
    // "equalnum", "money", "level". Returns false with `error` set when the
    // file cannot be read or an entry is malformed.
    bool Load(const QString& path, QString& error);
    bool LoadJson(const QByteArray& json, QString& error);

    // The person with `id`; an unknown id gets a generated account, kept
    // from then on.
    TablePerson& Person(uint32_t id);
    bool Known(uint32_t id) const { return m_persons.count(id) != 0; }
    std::size_t Size() const { return m_persons.size(); }

    // At most this many accounts are kept, so ids from the wire cannot grow
    // the map without end; beyond it the smallest id is forgotten. Tables
    // keep their own copies of the persons seated at them.
    static constexpr std::size_t kMaxAccounts = 100000;

private:
    std::map<uint32_t, TablePerson> m_persons;
};

// A generated account for `id`: user name "player<id>", nickname "球手<id>".
TablePerson GeneratedPerson(uint32_t id);

} // namespace server
