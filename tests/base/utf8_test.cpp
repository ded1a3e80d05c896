#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8Test, AcceptsEveryWellFormedLengthAtItsBounds) {
    for (const std::string text :
         {"", "plain ASCII \x7F", "\xC2\x80", "\xDF\xBF", "사운드 설정", "\xE0\xA0\x80",
          "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(text)) << text;
    }
    EXPECT_EQ(Utf8SequenceLength("\xC3\xA9z"), 2u);
    EXPECT_EQ(Utf8SequenceLength("\xEC\x82\xAC"), 3u);
    EXPECT_EQ(Utf8SequenceLength("\xF0\x9F\x98\x80"), 4u);
}

TEST(Utf8Test, RefusesOverlongFormsSurrogatesAndTheOutOfRange) {
    const std::string bad[] = {
        "\xC0\xAF",          // overlong '/'
        "\xC1\xBF",          // overlong DEL
        "\xE0\x9F\xBF",      // overlong three-byte form
        "\xF0\x8F\xBF\xBF",  // overlong four-byte form
        "\xED\xA0\x80",      // a surrogate
        "\xED\xBF\xBF",      // the last surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF5\x80\x80\x80",  // no such lead byte
        "\x80",              // a continuation byte alone
        "\xC3",              // cut short
        "\xE2\x82",          // cut short
        "\xC3\x28",          // not followed by a continuation byte
        "ok\xFF",
    };
    for (const std::string& text : bad) {
        EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(text);
        EXPECT_EQ(Utf8SequenceLength(text.substr(text.starts_with("ok") ? 2 : 0)), 0u)
            << testing::PrintToString(text);
    }
}

// A cut inside a sequence of any length moves back to its start; one between sequences stays.
TEST(Utf8Test, CutNeverSplitsASequence) {
    const std::string text = "a\xC3\xA9\xED\x95\x9C\xF0\x9F\x98\x80";  // a, é, 한, 😀
    const struct {
        std::size_t bytes, kept;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3},   {4, 3},
                 {5, 3}, {6, 6}, {9, 6}, {10, 10}, {99, 10}};
    for (const auto& c : cases) EXPECT_EQ(CutUtf8(text, c.bytes).size(), c.kept) << c.bytes;
}

}  // namespace
