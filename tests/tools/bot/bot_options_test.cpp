#include "tools/bot/BotOptions.h"

#include <gtest/gtest.h>

namespace bot {
namespace {

TEST(BotOptions, ACompleteCommandLine) {
    CBotOptions o;
    std::string error;
    ASSERT_TRUE(ParseBotOptions({"--server", "127.0.0.1:7100", "--id", "7", "--desk", "3", "--seat",
                                 "1", "--watch", "--level", "2", "--games", "5"},
                                o, error))
        << error;
    EXPECT_EQ(o.settings.host, "127.0.0.1");
    EXPECT_EQ(o.settings.port, 7100);
    EXPECT_EQ(o.settings.id, 7u);
    EXPECT_EQ(o.settings.desk, 3);
    EXPECT_EQ(o.settings.seat, 1);
    EXPECT_TRUE(o.settings.watcher);
    EXPECT_EQ(o.level, 2);
    EXPECT_EQ(o.games, 5);
    EXPECT_NE(o.seed, 0u);
}

TEST(BotOptions, BadCommandLines) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--id", "1"},
        {"--server", "host:1"},
        {"--server", "host", "--id", "1"},
        {"--server", "host:0", "--id", "1"},
        {"--server", ":80", "--id", "1"},
        {"--server", "host:80", "--id", "0"},
        {"--server", "host:80", "--id", "1", "--seat", "2"},
        {"--server", "host:80", "--id", "1", "--level", "6"},
        {"--server", "host:80", "--id", "1", "--games", "-1"},
        {"--server", "host:80", "--id", "1x"},
        {"--server", "host:80", "--id", "1", "--what"},
        {"--server", "host:80", "--id"},
    };
    for (const auto& args : bad) {
        CBotOptions o;
        std::string error;
        EXPECT_FALSE(ParseBotOptions(args, o, error));
        EXPECT_FALSE(error.empty());
    }
    CBotOptions o;
    std::string error;
    EXPECT_TRUE(ParseBotOptions({"--help"}, o, error));
    EXPECT_TRUE(o.help);
}

} // namespace
} // namespace bot
