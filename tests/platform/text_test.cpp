#include "platform/text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Text, TrimBlanksRemovesOnlyBlanks) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
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
    EXPECT_EQ(ToLowerSimple("a\xFF" "B"), "a\xFF" "b");                                 // invalid byte kept
}

}  // namespace
}  // namespace corvane
