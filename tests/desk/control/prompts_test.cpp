#include "desk/control/Prompts.h"

#include "platform/text/Gbk.h"

#include <gtest/gtest.h>

namespace desk::control {
namespace {

std::string gbk(const char* utf8) {
    return platform::gbk::fromUtf8(utf8);
}

TEST(Prompts, TextsAreGbkWithNamesAndNumbersFilledIn) {
    const std::string a = gbk("张三");
    const std::string b = gbk("李四");
    EXPECT_EQ(prompts::placeCueBall(a), gbk("请张三开始摆放白球"));
    EXPECT_EQ(prompts::playShot(b), gbk("请李四开始击球"));
    EXPECT_EQ(prompts::playWithChances(a, 2), gbk("请张三开始击球,获得2次机会"));
    EXPECT_EQ(prompts::foulThenPlay(a, b, 2), gbk("张三犯规,李四开始击球,获得2次机会"));
    EXPECT_EQ(prompts::gaveUp(a, b, 1), gbk("张三放弃击球,李四获得1次机会"));
    EXPECT_EQ(prompts::timedOut(b, a, 1), gbk("李四超时,张三获得1次机会"));
    EXPECT_EQ(prompts::myGroup(1), gbk("本局您的目标是花球"));
    EXPECT_EQ(prompts::myGroup(0), gbk("本局您的目标是单色球"));
    EXPECT_EQ(prompts::myGroup(-1), gbk("本局您的目标是花球"));
}

TEST(Prompts, NamesAreCopiedNotInterpreted) {
    EXPECT_EQ(prompts::playShot("%s%d"), gbk("请%s%d开始击球"));
    EXPECT_EQ(prompts::playShot(""), gbk("请开始击球"));
}

} // namespace
} // namespace desk::control
