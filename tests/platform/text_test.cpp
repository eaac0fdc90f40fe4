#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(Text, TrimBlanksRemovesOnlyBlanks) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

std::vector<std::string> Parts(std::string_view text, std::string_view separators) {
    std::vector<std::string> parts;
    for (std::string_view part : SplitAt(text, separators)) parts.emplace_back(part);
    return parts;
}

// n separators make n + 1 parts: the callers count on the empty ones (an empty field, a trailing line).
TEST(Text, SplitAtKeepsEveryPart) {
    using Strings = std::vector<std::string>;
    EXPECT_EQ(Parts("a\nb\nc", "\n"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(Parts("", "\n"), (Strings{""}));
    EXPECT_EQ(Parts("a\n", "\n"), (Strings{"a", ""}));
    EXPECT_EQ(Parts("\n\n", "\n"), (Strings{"", "", ""}));
    EXPECT_EQ(Parts("a,,b", ","), (Strings{"a", "", "b"}));
    EXPECT_EQ(Parts("a\r\nb\rc", "\r\n"), (Strings{"a", "", "b", "c"}));  // any one of the separators
    EXPECT_EQ(Parts(std::string_view("a\0b|c", 5), "|"), (Strings{std::string("a\0b", 3), "c"}));
}

TEST(Text, ReplaceAllLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("a|b|c", "|", ", "), "a, b, c");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(Text, ToLowerSimpleMapsEachCharacter) {
    EXPECT_EQ(ToLowerSimple("/Users/ANN/Doc.TXT"), "/users/ann/doc.txt");
    EXPECT_EQ(ToLowerSimple("\xC3\x84\xC3\x96\xC3\x9C"), "\xC3\xA4\xC3\xB6\xC3\xBC");  // ÄÖÜ
    EXPECT_EQ(ToLowerSimple("\xCE\xA3"), "\xCF\x83");                                  // Σ → σ
    EXPECT_EQ(ToLowerSimple("\xE2\x9C\x85"), "\xE2\x9C\x85");                          // no case
    EXPECT_EQ(ToLowerSimple(std::string("a\xFF") + "B"), std::string("a\xFF") + "b");  // invalid byte kept
}

// Bytes that are not well-formed UTF-8 are never decoded to a character: an overlong "/" or "A" must not
// turn into one (a name could then fall inside an excluded folder).
TEST(Text, ToLowerSimpleKeepsIllFormedSequencesAsBytes) {
    EXPECT_EQ(ToLowerSimple("/Library\xC0\xAFx"), "/library\xC0\xAFx");
    EXPECT_EQ(ToLowerSimple(std::string("\xE0\x80\xAF") + "B"), std::string("\xE0\x80\xAF") + "b");
    EXPECT_EQ(ToLowerSimple("\xF0\x80\x80\xAF"), "\xF0\x80\x80\xAF");
    EXPECT_EQ(ToLowerSimple("\xC1\x81"), "\xC1\x81");  // an overlong "A"
}

// Characters are code points: a multi-byte one counts once and is never cut in two.
TEST(Text, CharactersAreCodePoints) {
    const std::string text = "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80x";  // ä € 😀 x
    EXPECT_EQ(CharacterCount(text), 4u);
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(FirstCharacters(text, 3), text.substr(0, 9));
    EXPECT_EQ(FirstCharacters(text, 1), text.substr(0, 2));
    EXPECT_EQ(FirstCharacters(text, 0), "");
    EXPECT_EQ(FirstCharacters(text, 9), text);
}

// A character beyond the BMP takes two UTF-16 units; the cut falls before a character that does not fit.
TEST(Text, Utf16LimitKeepsWholeCharacters) {
    const std::string umlaut = "\xC3\xA4";
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        std::string text;
        size_t maxUnits;
        size_t bytes;
    } cases[] = {
        {"abc", 3, 3},       {"abcd", 3, 3},       {"a" + emoji, 3, 5},
        {"a" + emoji, 2, 1}, {umlaut + "b", 1, 2}, {"", 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(BytesWithinUtf16Units(c.text, c.maxUnits), c.bytes) << c.text;
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const Utf8Case& c, std::ostream* out) {
    *out << c.name;
}

class ValidUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(ValidUtf8Test, IllFormedPartsBecomeOneReplacementCharacterEach) {
    EXPECT_EQ(ValidUtf8(GetParam().bytes), GetParam().text);
}

const std::string kReplacement = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Sequences, ValidUtf8Test,
    ::testing::Values(
        Utf8Case{"Ascii", "/tmp/a b.txt", "/tmp/a b.txt"},
        Utf8Case{"WellFormedKept", "caf\xC3\xA9 \xE2\x9C\x85 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF",
                 "caf\xC3\xA9 \xE2\x9C\x85 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"},
        Utf8Case{"Latin1Byte", "caf\xE9.txt", "caf" + kReplacement + ".txt"},
        Utf8Case{"TwoBadBytes", "inv\xFF\xFE.txt", "inv" + kReplacement + kReplacement + ".txt"},
        Utf8Case{"OverlongSlash", "a\xC0\xAF/", "a" + kReplacement + kReplacement + "/"},
        Utf8Case{"OverlongThreeBytes", "\xE0\x80\xAF", kReplacement + kReplacement + kReplacement},
        Utf8Case{"Surrogate", "\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
        Utf8Case{"AboveMaximum", "\xF4\x90\x80\x80",
                 kReplacement + kReplacement + kReplacement + kReplacement},
        Utf8Case{"LeadF5", "\xF5\x80", kReplacement + kReplacement},
        Utf8Case{"TruncatedAtEnd", "x\xE2\x9C", "x" + kReplacement},
        Utf8Case{"TruncatedBeforeAscii", "\xE2\x9C.", kReplacement + "."},
        Utf8Case{"LoneContinuation", "\x80.", kReplacement + "."}),
    [](const ::testing::TestParamInfo<Utf8Case>& paramInfo) { return paramInfo.param.name; });

}  // namespace
}  // namespace corvane
