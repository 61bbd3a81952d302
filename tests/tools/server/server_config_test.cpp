#include "tools/server/ServerConfig.h"

#include <gtest/gtest.h>

namespace server {
namespace {

TEST(ServerConfig, DefaultsNeedNoFile) {
    CServerConfig c;
    QString error;
    bool help = true;
    ASSERT_TRUE(ParseCommandLine({}, c, error, help));
    EXPECT_FALSE(help);
    EXPECT_EQ(c.address, QHostAddress(QHostAddress::LocalHost));
    EXPECT_GT(c.port, 0);
    EXPECT_TRUE(c.accountsFile.isEmpty());
}

TEST(ServerConfig, CommandLine) {
    struct Case {
        QStringList args;
        bool ok;
    };
    const Case cases[] = {
        {{"--port", "0"}, true},      {{"--port", "7200", "--address", "0.0.0.0"}, true},
        {{"--port", "65536"}, false}, {{"--port", "x"}, false},
        {{"--port"}, false},          {{"--address", "not an address"}, false},
        {{"--frobnicate"}, false},    {{"--config", "/nonexistent/server.json"}, false},
    };
    for (const Case& c : cases) {
        CServerConfig config;
        QString error;
        bool help = false;
        EXPECT_EQ(ParseCommandLine(c.args, config, error, help), c.ok)
            << c.args.join(' ').toStdString();
        EXPECT_EQ(error.isEmpty(), c.ok);
    }
    CServerConfig config;
    QString error;
    bool help = false;
    ASSERT_TRUE(ParseCommandLine({"--port", "7200", "--help", "--bogus"}, config, error, help));
    EXPECT_TRUE(help);
    EXPECT_FALSE(UsageText().isEmpty());
}

TEST(ServerConfig, ConfigFileValues) {
    CServerConfig c;
    QString error;
    ASSERT_TRUE(ParseConfigJson(R"({"startupMs": 5000, "turnMs": 20000, "maxShotsPerGame": 40,
                                    "playTimeNotice1Ms": 100, "playTimeNotice2Ms": 200,
                                    "seed": 4000000000})",
                                c, error))
        << error.toStdString();
    EXPECT_EQ(c.limits.startupMs, 5000);
    EXPECT_EQ(c.limits.turnMs, 20000);
    EXPECT_EQ(c.limits.watchdogMs, CTimeLimits{}.watchdogMs) << "missing keys keep their value";
    EXPECT_EQ(c.maxShotsPerGame, 40);
    EXPECT_EQ(c.limits.playTimeNotice2Ms, 200);
    EXPECT_EQ(c.seed, 4000000000u);

    for (const char* bad : {"[1, 2]", "{", R"({"turnMs": "fast"})", R"({"turnMs": 0})",
                            R"({"turnMs": 1.5})", R"({"turnMs": 1e300})", R"({"noSuchKey": 1})",
                            R"({"playTimeNotice1Ms": 500, "playTimeNotice2Ms": 100})"}) {
        CServerConfig config;
        EXPECT_FALSE(ParseConfigJson(bad, config, error)) << bad;
    }
}

} // namespace
} // namespace server
