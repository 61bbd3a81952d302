#pragma once
// The prompts shown in the banner over the table, as GBK bytes. Names are
// the players' names as the host gave them (GBK); numbers are chances.

#include <string>
#include <string_view>

namespace desk::control::prompts {

std::string placeCueBall(std::string_view name);                 // "请%s开始摆放白球"
std::string playShot(std::string_view name);                     // "请%s开始击球"
std::string playWithChances(std::string_view name, int chances); // "请%s开始击球,获得%d次机会"
std::string foulThenPlay(std::string_view fouler, std::string_view name, int chances);
std::string gaveUp(std::string_view quitter, std::string_view next, int chances);
std::string timedOut(std::string_view late, std::string_view next, int chances);
std::string myGroup(int color); // stripes for any colour but 0

} // namespace desk::control::prompts
