#pragma once
// The command line of billiards-bot.

#include "tools/bot/client/BotClient.h"

#include <string>
#include <vector>

namespace bot {

struct CBotOptions {
    CBotSettings settings;
    int level = 5;
    int games = 0; // leave after this many games; 0: stay until the table ends
    uint32_t seed = 0;
    bool help = false;
};

// Reads the arguments after the program name; false with `error` set on bad
// input.
bool ParseBotOptions(const std::vector<std::string>& args, CBotOptions& options,
                     std::string& error);
std::string BotUsage();

} // namespace bot
