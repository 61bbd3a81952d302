#include "tools/bot/BotOptions.h"

#include <charconv>

namespace bot {

namespace {

bool number(const std::string& text, long long lo, long long hi, long long& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc{} && ptr == end && out >= lo && out <= hi;
}

} // namespace

std::string BotUsage() {
    return "usage: billiards-bot --server HOST:PORT --id N --desk D --seat S [--watch]\n"
           "                     [--level 1-5] [--games N] [--seed N]\n"
           "\n"
           "Plays eight-ball at one table of a billiards-server, or watches it.\n"
           "\n"
           "  --server HOST:PORT  the game server\n"
           "  --id N              own person id (1 or more)\n"
           "  --desk D            desk number (default 0)\n"
           "  --seat S            seat 0 or 1, the watched seat with --watch (default 0)\n"
           "  --watch             watch instead of playing\n"
           "  --level 1-5         playing strength; lower levels aim less exactly (default 5)\n"
           "  --games N           leave the table after N games (default: stay until it ends)\n"
           "  --seed N            seed of the aim noise (default: from the id and seat)\n"
           "  --help              this text\n"
           "\n"
           "One line per shot, game and recovery goes to standard output, and a summary\n"
           "line at the end: games, shots compared, shots whose own simulation differed\n"
           "from the server's verdict, network faults, recovery messages.\n";
}

bool ParseBotOptions(const std::vector<std::string>& args, CBotOptions& o, std::string& error) {
    bool haveServer = false;
    bool haveId = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
            return true;
        }
        if (a == "--watch") {
            o.settings.watcher = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        long long n = 0;
        if (a == "--server") {
            const auto colon = v.rfind(':');
            if (colon == std::string::npos || colon == 0 ||
                !number(v.substr(colon + 1), 1, 65535, n)) {
                error = "bad server address: " + v;
                return false;
            }
            o.settings.host = v.substr(0, colon);
            o.settings.port = static_cast<long>(n);
            haveServer = true;
        } else if (a == "--id") {
            if (!number(v, 1, 0xFFFFFFFFLL, n)) {
                error = "bad id: " + v;
                return false;
            }
            o.settings.id = static_cast<uint32_t>(n);
            haveId = true;
        } else if (a == "--desk") {
            if (!number(v, 0, 65535, n)) {
                error = "bad desk: " + v;
                return false;
            }
            o.settings.desk = static_cast<uint16_t>(n);
        } else if (a == "--seat") {
            if (!number(v, 0, 1, n)) {
                error = "bad seat: " + v;
                return false;
            }
            o.settings.seat = static_cast<uint16_t>(n);
        } else if (a == "--level") {
            if (!number(v, 1, 5, n)) {
                error = "bad level: " + v;
                return false;
            }
            o.level = static_cast<int>(n);
        } else if (a == "--games") {
            if (!number(v, 0, 1000000, n)) {
                error = "bad number of games: " + v;
                return false;
            }
            o.games = static_cast<int>(n);
        } else if (a == "--seed") {
            if (!number(v, 0, 0xFFFFFFFFLL, n)) {
                error = "bad seed: " + v;
                return false;
            }
            o.seed = static_cast<uint32_t>(n);
        } else {
            error = "unknown option: " + a;
            return false;
        }
    }
    if (!haveServer || !haveId) {
        error = "--server and --id are required";
        return false;
    }
    if (o.seed == 0)
        o.seed = o.settings.id * 2654435761u + o.settings.seat;
    return true;
}

} // namespace bot
