#include "platform/text/Bounded.h"

#include <gtest/gtest.h>

namespace {

TEST(DecimalValue, ReadsLikeAtoiWithoutOverflow) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {{"", 0},
                          {"  42", 42},
                          {"+7x", 7},
                          {"-0", 0},
                          {"abc", 0},
                          {"- 5", 0},
                          {"\t\n-13", -13},
                          {"2147483647", 2147483647},
                          {"99999999999999999999", 2147483647},
                          {"-2147483648", -2147483647 - 1},
                          {"-99999999999999999999", -2147483647 - 1}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::decimalValue(c.text), c.expected) << '"' << c.text << '"';
}

TEST(BoundedText, KeepsWholeCharactersWithinTheBuffer) {
    const std::string_view text = "ab\xCC\xA8"
                                  "c"; // "ab台c"
    struct Case {
        std::size_t buffer;
        std::string_view expected;
    };
    const Case cases[] = {{0, ""},           {1, ""},   {3, "ab"}, {4, "ab"},
                          {5, "ab\xCC\xA8"}, {6, text}, {60, text}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::boundedText(text, c.buffer), c.expected) << "buffer " << c.buffer;
}

} // namespace
