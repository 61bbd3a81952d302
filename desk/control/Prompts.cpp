#include "desk/control/Prompts.h"

#include "platform/text/Gbk.h"

#include <initializer_list>
#include <variant>

namespace desk::control::prompts {

namespace {

using Arg = std::variant<std::string_view, int>;

// Fills %s and %d of a format in order. The format is converted to GBK
// first; GBK trail bytes never take the value of '%', so the scan is safe on
// the converted bytes, and names are copied as they are, whatever their length.
std::string format(std::string_view utf8, std::initializer_list<Arg> args) {
    const std::string gbk = platform::gbk::fromUtf8(utf8);
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        if (gbk[i] == '%' && i + 1 < gbk.size() && (gbk[i + 1] == 's' || gbk[i + 1] == 'd') &&
            next != args.end()) {
            if (const auto* s = std::get_if<std::string_view>(&*next))
                out += *s;
            else
                out += std::to_string(std::get<int>(*next));
            ++next;
            ++i;
            continue;
        }
        out += gbk[i];
    }
    return out;
}

} // namespace

std::string placeCueBall(std::string_view name) {
    return format("请%s开始摆放白球", {name});
}

std::string playShot(std::string_view name) {
    return format("请%s开始击球", {name});
}

std::string playWithChances(std::string_view name, int chances) {
    return format("请%s开始击球,获得%d次机会", {name, chances});
}

std::string foulThenPlay(std::string_view fouler, std::string_view name, int chances) {
    return format("%s犯规,%s开始击球,获得%d次机会", {fouler, name, chances});
}

std::string gaveUp(std::string_view quitter, std::string_view next, int chances) {
    return format("%s放弃击球,%s获得%d次机会", {quitter, next, chances});
}

std::string timedOut(std::string_view late, std::string_view next, int chances) {
    return format("%s超时,%s获得%d次机会", {late, next, chances});
}

std::string myGroup(int color) {
    return platform::gbk::fromUtf8(color != 0 ? "本局您的目标是花球" : "本局您的目标是单色球");
}

} // namespace desk::control::prompts
