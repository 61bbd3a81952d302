#include "tools/server/Accounts.h"

#include "platform/text/Gbk.h"
#include "platform/text/GbkBytes.h"

#include <gtest/gtest.h>

namespace server {
namespace {

std::string utf8(const char* field, std::size_t n) {
    return platform::gbk::toUtf8(platform::gbk::fieldText(field, n));
}

TEST(Accounts, ListedPersonsWithGbkNames) {
    CAccounts accounts;
    QString error;
    ASSERT_TRUE(accounts.LoadJson(R"([{"id": 7, "username": "lee", "nickname": "小李",
                                       "sex": 0, "headpicid": 12, "gamescore": 30,
                                       "winnum": 5, "losenum": 2}])",
                                  error))
        << error.toStdString();
    const TablePerson& p = accounts.Person(7);
    EXPECT_EQ(utf8(p.username, sizeof p.username), "lee");
    EXPECT_EQ(utf8(p.nickname, sizeof p.nickname), "小李");
    EXPECT_EQ(platform::gbk::fieldText(p.nickname).size(), 4u) << "two GBK characters";
    EXPECT_EQ(p.headpicid, 12);
    EXPECT_EQ(p.gamescore, 30);
    EXPECT_EQ(p.winnum, 5);
    EXPECT_EQ(p.losenum, 2);
}

TEST(Accounts, UnknownIdsGetGeneratedNames) {
    CAccounts accounts;
    EXPECT_FALSE(accounts.Known(42));
    TablePerson& p = accounts.Person(42);
    EXPECT_EQ(p.id, 42u);
    EXPECT_EQ(utf8(p.username, sizeof p.username), "player42");
    EXPECT_EQ(utf8(p.nickname, sizeof p.nickname), "球手42");
    p.gamescore = 3;
    EXPECT_EQ(accounts.Person(42).gamescore, 3) << "kept from then on";
}

TEST(Accounts, MalformedFilesAreRefusedWhole) {
    for (const char* bad : {"{}", "[{\"username\": \"x\"}]", "[{\"id\": -1}]", "[{\"id\": 1.5}]",
                            "[1]", "not json"}) {
        CAccounts accounts;
        accounts.Person(3);
        QString error;
        EXPECT_FALSE(accounts.LoadJson(bad, error)) << bad;
        EXPECT_TRUE(accounts.Known(3)) << "nothing replaced on a refused file";
    }
    CAccounts accounts;
    QString error;
    EXPECT_FALSE(accounts.Load("/nonexistent/accounts.json", error));
}

TEST(Accounts, LongNamesAreCutToWholeCharacters) {
    CAccounts accounts;
    QString error;
    ASSERT_TRUE(accounts.LoadJson(
        R"([{"id": 1, "nickname": "一二三四五六七八九十一二三四五六七八九十"}])", error));
    const TablePerson& p = accounts.Person(1);
    EXPECT_EQ(platform::gbk::fieldText(p.nickname).size(), 32u);
}

} // namespace
} // namespace server
