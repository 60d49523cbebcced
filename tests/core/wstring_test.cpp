#include "core/wstring.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string unitsOf(const WString& text) {
    return std::u16string(text.characters, static_cast<size_t>(text.length));
}

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string expected;
};

class Utf8Conversion : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Conversion, ConvertsLikeThePlatformWithoutFlags) {
    const Utf8Case& c = GetParam();
    WString text(c.utf8.c_str());
    EXPECT_EQ(unitsOf(text), c.expected);
    EXPECT_EQ(text.length, static_cast<int32_t>(c.expected.size()));
    EXPECT_EQ(text.characters[text.length], 0);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormedAndBroken, Utf8Conversion,
    testing::Values(
        Utf8Case{"ascii", "player_background.png", u"player_background.png"},
        Utf8Case{"twoByte", "caf\xC3\xA9", u"caf\u00E9"},
        Utf8Case{"threeByte", "\xE2\x82\xAC", u"\u20AC"},
        Utf8Case{"fourByteBecomesSurrogatePair", "\xF0\x9F\x8E\xB8", u"\U0001F3B8"},
        Utf8Case{"highestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        Utf8Case{"loneContinuation", "a\x80z", u"a\uFFFDz"},
        Utf8Case{"invalidLeadBytes", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"overlongTwoBytes", "\xC0\x80", u"\uFFFD\uFFFD"},
        Utf8Case{"overlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"encodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"beyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"truncatedAtEnd", "ab\xE2\x82", u"ab\uFFFD"},
        Utf8Case{"truncatedBeforeAscii", "\xF0\x9F\x8Ex", u"\uFFFDx"},
        Utf8Case{"truncatedBeforeNewLead", "\xE2\xC3\xA9", u"\uFFFD\u00E9"}),
    [](const testing::TestParamInfo<Utf8Case>& param) { return std::string(param.param.name); });

TEST(WString, EmptyTextHasLengthZeroAndOnlyTheTerminator) {
    WString fromText("");
    WString empty;
    for (const WString* text : {&fromText, &empty}) {
        EXPECT_EQ(text->length, 0);
        ASSERT_NE(text->characters, nullptr);
        EXPECT_EQ(text->characters[0], 0);
    }
    EXPECT_TRUE(fromText == empty);
}

TEST(WString, EqualityIsExactOrdinalComparison) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"guitar", "guitar", true},
        {"guitar", "guitars", false}, // a prefix is not equal
        {"guitars", "guitar", false},
        {"Guitar", "guitar", false},  // no case folding
        {"", "", true},
        {"a", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WString(c.a) == WString(c.b), c.equal) << c.a << " vs " << c.b;
    }
}

TEST(WString, CopiesOwnTheirStorage) {
    auto* original = new WString("stairs");
    WString copied(*original);
    WString assigned("something longer than stairs");
    assigned = *original;
    EXPECT_NE(copied.characters, original->characters);
    EXPECT_NE(assigned.characters, original->characters);
    delete original;
    EXPECT_EQ(unitsOf(copied), u"stairs");
    EXPECT_EQ(unitsOf(assigned), u"stairs");
}

TEST(WString, SelfAssignmentKeepsTheString) {
    WString text("guitar");
    WString& same = text;
    text = same;
    EXPECT_EQ(unitsOf(text), u"guitar");
}

} // namespace
